#include "qt/patches_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

#include "app/patches_columns.h"
#include "app/patches_texts.h"
#include "app/patches_window_design.h"
#include "engine/patch_status.h"
#include "qt/accessible_value.h"
#include "qt/design_controls.h"
#include "qt/history_dialog.h"
#include "qt/patches_model.h"
#include "qt/twips.h"
#include "support/translation.h"

namespace varnock::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Share of the height the window grows by that the list takes; the description takes the rest.
constexpr int kListShareThirds = 2;
// The room a cell takes around its picture and text.
constexpr int kCellMarginsTwips = 180;

// File names lose their middle, so that the end of the name stays; the other columns lose
// their end.
class ElidingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = index.column() == kPatchColumn ? Qt::ElideMiddle : Qt::ElideRight;
  }
};

// The columns' first widths: the design's, except that the status column is made wide enough
// for every status word beside its picture, and a column for its title in the header.
ColumnWidths FirstColumns(const QTableView* table) {
  int words = 0;
  for (int state = 0; state <= static_cast<int>(PatchState::Broken); ++state) {
    words = std::max(words, table->fontMetrics().horizontalAdvance(
                                QString::fromUtf8(StatusWord(static_cast<PatchState>(state)))));
  }
  ColumnWidths widths{};
  for (std::size_t column = 0; column < kPatchesColumns.size(); ++column) {
    widths[column] = TwipsAcross(kPatchesColumns[column].width, table->window());
  }
  widths[kStatusColumn] = std::max(
      widths[kStatusColumn], table->iconSize().width() + words + Twips(kCellMarginsTwips, table));
  ColumnWidths titles{};
  for (std::size_t column = 0; column < titles.size(); ++column) {
    titles[column] = table->horizontalHeader()->sectionSizeHint(static_cast<int>(column));
  }
  return TitledColumns(widths, titles);
}

}  // namespace

PatchesDialog::PatchesDialog(const PatchesRequest& request, QWidget* parent)
    : QDialog(parent), model_(nullptr) {
  setObjectName(QStringLiteral("PatchesWindow"));
  setWindowTitle(Text(Tr(kPatchesWindowCaption.data())));
  setModal(true);
  ui_.SetMainWindow(this);
  BuildWindow(this, kPatchesWindowDesign);

  QTableView* table = Table();
  model_ = new PatchesModel(fontMetrics().height(), this);
  table->setModel(model_);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setTabKeyNavigation(false);
  table->setShowGrid(false);
  table->setWordWrap(false);
  table->setItemDelegate(new ElidingDelegate(table));
  table->setIconSize(QSize(fontMetrics().height(), fontMetrics().height()));
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + Twips(60, this));
  table->horizontalHeader()->setHighlightSections(false);
  firstColumns_ = FirstColumns(table);
  // Columns too wide together for the list in a longer language widen the window, as a caption
  // that does not fit does.
  const CaptionMeasure columns = ColumnsMeasure(firstColumns_, table->contentsRect().width());
  GrowForCaptions(this, kPatchesWindowDesign, {&columns, 1});
  firstColumns_ = FirstColumns(table);
  firstSize_ = size();
  for (const ControlDesign& control : kPatchesWindowControls) {
    firstPlaces_.push_back(DesignControl<QWidget>(this, control.name)->geometry());
  }
  setMinimumSize(firstSize_);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  FitColumns();
  table->installEventFilter(this);
  MarkAccessibleWindow(this);
  table->viewport()->installEventFilter(this);

  presenter_ = std::make_unique<PatchesPresenter>(*this, ui_, request);
  model_->SetPresenter(presenter_.get());
  Wire();
}

// The presenter stops its work first: nothing wakes the window once it is going.
PatchesDialog::~PatchesDialog() {
  model_->SetPresenter(nullptr);
  presenter_.reset();
}

// The columns fill the rows' width: a scroll bar that comes or goes, a larger window.
void PatchesDialog::FitColumns() {
  QTableView* table = Table();
  const ColumnWidths widths = FitPatchesColumns(firstColumns_, table->viewport()->width());
  for (std::size_t column = 0; column < widths.size(); ++column) {
    table->horizontalHeader()->resizeSection(static_cast<int>(column), widths[column]);
  }
}

QTableView* PatchesDialog::Table() const {
  return DesignControl<QTableView>(this, "List_Patches");
}

void PatchesDialog::Wire() {
  PatchesPresenter* presenter = presenter_.get();
  connect(DesignControl<QLineEdit>(this, "Text_Filter"), &QLineEdit::textEdited, this,
          [presenter](const QString& text) { presenter->FilterChanged(text.toStdString()); });
  connect(Table()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this, presenter](const QModelIndex& current) {
            if (!selecting_) {
              presenter->RowSelected(current.isValid() ? current.row() : -1);
            }
          });
  connect(DesignControl<QCheckBox>(this, "Check_History"), &QCheckBox::clicked, this,
          [presenter](bool keep) { presenter->KeepHistoryToggled(keep); });
  connect(DesignControl<QComboBox>(this, "Combo_Language"), &QComboBox::activated, this,
          [presenter](int option) { presenter->LanguageChosen(static_cast<std::size_t>(option)); });
  const struct {
    const char* button;
    void (PatchesPresenter::*handler)();
  } buttons[] = {{"Pul_ApplyChanges", &PatchesPresenter::ApplyChangesClicked},
                 {"Pul_Refresh", &PatchesPresenter::RefreshClicked},
                 {"Pul_Restore", &PatchesPresenter::RestoreClicked},
                 {"Pul_Undo", &PatchesPresenter::UndoClicked},
                 {"Pul_History", &PatchesPresenter::HistoryClicked},
                 {"Pul_SaveSet", &PatchesPresenter::SaveSetClicked},
                 {"Pul_OpenSet", &PatchesPresenter::OpenSetClicked},
                 {"Pul_Close", &PatchesPresenter::CloseClicked}};
  for (const auto& [button, handler] : buttons) {
    connect(DesignControl<QPushButton>(this, button), &QPushButton::clicked, this,
            [presenter, handler = handler] { (presenter->*handler)(); });
  }
  connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this,
          [presenter] { presenter->RefreshClicked(); });
}

void PatchesDialog::Run() {
  presenter_->Open();
  // The keys act on the row selected, the patch the main window showed.
  Table()->setFocus();
  if (!closed_) {
    exec();
  }
}

void PatchesDialog::ResetRows(std::size_t count, int selected, bool fromTop) {
  selecting_ = true;
  model_->ResetRows(count);
  if (fromTop) {
    Table()->scrollToTop();
  }
  if (selected >= 0 && static_cast<std::size_t>(selected) < count) {
    const QModelIndex row = model_->index(selected, 0);
    Table()->setCurrentIndex(row);
    Table()->scrollTo(row);
  }
  selecting_ = false;
}

void PatchesDialog::UpdateRows(std::size_t first, std::size_t last) {
  model_->UpdateRows(first, last);
}

void PatchesDialog::SetDescription(const std::string& text) {
  DesignControl<QPlainTextEdit>(this, "Text_Description")->setPlainText(ToDisplayText(text));
}

void PatchesDialog::SetProgress(const std::string& text) {
  progress_ = QString::fromStdString(text);
  ShowOneLine(DesignControl<QLabel>(this, "Label_Progress"), progress_);
}

// "Apply changes" pressed gives the focus back to the list when it goes grey, as the Win32
// window does, rather than to the next button.
void PatchesDialog::SetApplyEnabled(bool enabled) {
  auto* apply = DesignControl<QPushButton>(this, "Pul_ApplyChanges");
  if (!enabled && apply->hasFocus()) {
    Table()->setFocus();
  }
  apply->setEnabled(enabled);
}

void PatchesDialog::SetLanguages(const std::vector<std::string>& names, std::size_t chosen) {
  auto* languages = DesignControl<QComboBox>(this, "Combo_Language");
  languages->clear();
  for (const std::string& name : names) {
    languages->addItem(QString::fromStdString(name));
  }
  languages->setCurrentIndex(static_cast<int>(chosen));
}

void PatchesDialog::SetKeepHistory(bool keep) {
  DesignControl<QCheckBox>(this, "Check_History")->setChecked(keep);
}

void PatchesDialog::ShowHistory(const HistoryListing& listing) {
  ShowHistoryDialog(listing, this);
}

bool PatchesDialog::Confirm(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title), ToDisplayText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName(QStringLiteral("ConfirmBox"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

// Qt's own file dialog; the save dialog adds the extension and asks before a file is replaced.
std::string PatchesDialog::AskSetPath(SetFileDialog dialog, const std::string& folder) {
  const bool save = dialog == SetFileDialog::Save;
  QFileDialog box(this, QString::fromUtf8(Tr(save ? kSaveSetTitle : kOpenSetTitle)),
                  QString::fromStdString(folder),
                  QStringLiteral("%1 (*.%2)")
                      .arg(QString::fromUtf8(Tr(kSetFilesName)), QString::fromUtf8(kSetExtension)));
  box.setObjectName(QStringLiteral("SetFileDialog"));
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  box.setDefaultSuffix(QString::fromUtf8(kSetExtension));
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
    return {};
  }
  return box.selectedFiles().front().toStdString();
}

void PatchesDialog::WakeUp() {
  // Queued to the window's thread; dropped with the window when it is gone by then.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (presenter_ != nullptr) {
          presenter_->TakeResults();
        }
      },
      Qt::QueuedConnection);
}

void PatchesDialog::CloseWindow() {
  closed_ = true;
  done(QDialog::Rejected);
}

void PatchesDialog::reject() {
  presenter_->CloseClicked();
}

bool PatchesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == Table()->viewport()) {
    FitColumns();
  }
  // In the list, Space and Enter toggle the mark of the current row, whichever column has the
  // focus.
  if (watched == Table() && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool toggles =
        key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const QModelIndex current = Table()->currentIndex();
    if (toggles && key->modifiers() == Qt::NoModifier && current.isValid()) {
      presenter_->MarkToggled(static_cast<std::size_t>(current.row()));
      model_->UpdateRows(static_cast<std::size_t>(current.row()),
                         static_cast<std::size_t>(current.row()));
      return true;
    }
    // Home and End go to the first and the last row, as in a list (a table's own go to the
    // first and the last column of the row).
    const bool ends = key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
    if (ends && key->modifiers() == Qt::NoModifier && model_->rowCount(QModelIndex()) > 0) {
      const int row = key->key() == Qt::Key_Home ? 0 : model_->rowCount(QModelIndex()) - 1;
      const QModelIndex target = model_->index(row, current.isValid() ? current.column() : 0);
      Table()->setCurrentIndex(target);
      Table()->scrollTo(target);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void PatchesDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (firstPlaces_.empty()) {
    return;
  }
  // Controls as wide as the list widen with the window, those that end where it ends (Close)
  // move with its right edge; the list and the description share its growth in height, what is
  // below them moves down.
  const auto listIndex = static_cast<std::size_t>(IndexOf(kPatchesWindowControls, "List_Patches"));
  const auto descriptionIndex =
      static_cast<std::size_t>(IndexOf(kPatchesWindowControls, "Text_Description"));
  const QRect list = firstPlaces_[listIndex];
  const QRect description = firstPlaces_[descriptionIndex];
  const int dx = width() - firstSize_.width();
  const int dy = height() - firstSize_.height();
  const int listGrowth = dy * kListShareThirds / 3;
  for (std::size_t i = 0; i < firstPlaces_.size(); ++i) {
    QRect place = firstPlaces_[i];
    if (place.right() == list.right() && place.left() == list.left()) {
      place.setRight(place.right() + dx);
    } else if (place.right() == list.right()) {
      place.translate(dx, 0);
    }
    if (place.top() > description.bottom()) {
      place.translate(0, dy);
    } else if (place.top() > list.bottom()) {
      place.translate(0, listGrowth);
    }
    if (i == listIndex) {
      place.setBottom(place.bottom() + listGrowth);
    } else if (i == descriptionIndex) {
      place.setBottom(place.bottom() + dy - listGrowth);
    }
    DesignControl<QWidget>(this, kPatchesWindowControls[i].name)->setGeometry(place);
  }
  // The progress line cut anew for its new width.
  ShowOneLine(DesignControl<QLabel>(this, "Label_Progress"), progress_);
}

}  // namespace varnock::qt
