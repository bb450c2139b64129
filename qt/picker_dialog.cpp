#include "qt/picker_dialog.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

#include "picker/picker_design.h"
#include "qt/design_controls.h"
#include "qt/twips.h"

namespace varnock::qt {

namespace {

constexpr int kEntryRole = Qt::UserRole;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

PickerDialog::PickerDialog(Dialog_GetFileODir& presenter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      presenter_(presenter) {
  setObjectName(QStringLiteral("Dialog_GetFileODir"));
  BuildWindow(this, kPickerDesign);
  SetUpControls();
  Wire();
}

void PickerDialog::SetUpControls() {
  drives_ = DesignControl<QComboBox>(this, "Drive1");
  newFolderName_ = DesignControl<QLineEdit>(this, "Text_PathDir");
  folderTree_ = DesignControl<QTreeWidget>(this, "Dir1");
  folderTree_->setHeaderHidden(true);
  folderTree_->setRootIsDecorated(false);
  folderTree_->setItemsExpandable(false);
  folderTree_->setIndentation(Twips(180, this));
  folderTree_->setUniformRowHeights(true);
  // The folders cannot be folded: no branch marks.
  folderTree_->setStyleSheet(
      QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
  files_ = DesignControl<QListWidget>(this, "List_Files");
  path_ = DesignControl<QLineEdit>(this, "Text_Path");
  path_->installEventFilter(this);
  // Enter in the name box makes the folder, as the button beside it does.
  connect(newFolderName_, &QLineEdit::returnPressed, this, [this] { presenter_.OnNewFolder(); });
  DesignControl<QWidget>(this, "Pul_Ok")->setFocus();
}

void PickerDialog::PlaceControls() {
  for (const ControlDesign& control : kPickerControls) {
    auto* widget = DesignControl<QWidget>(this, control.name);
    const TwipsBox box = BoxInMode(control, folderMode_);
    PlaceByTwips(widget, box.left, box.top, box.width, box.height);
    widget->setVisible(ShownInMode(control, folderMode_));
  }
  setFixedSize(TwipsAcross(kPickerDesign.width, this),
               Twips(folderMode_ ? kPickerFolderModeHeight : kPickerDesign.height, this));
}

void PickerDialog::Wire() {
  connect(DesignControl<QPushButton>(this, "Pul_Ok"), &QPushButton::clicked, this,
          [this] { presenter_.OnOk(); });
  connect(DesignControl<QPushButton>(this, "Pul_Cancel"), &QPushButton::clicked, this,
          [this] { presenter_.OnCancel(); });
  connect(DesignControl<QPushButton>(this, "Pul_NuovaCartella"), &QPushButton::clicked, this,
          [this] { presenter_.OnNewFolder(); });
  connect(drives_, &QComboBox::currentIndexChanged, this,
          [this](int index) { presenter_.OnDriveChosen(index); });
  connect(folderTree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    presenter_.OnFolderOpened(item->data(0, kEntryRole).toInt());
  });
  connect(files_, &QListWidget::currentRowChanged, this,
          [this](int row) { presenter_.OnFileClicked(row); });
  connect(files_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { presenter_.OnFileDoubleClicked(files_->row(item)); });
}

bool PickerDialog::eventFilter(QObject* watched, QEvent* event) {
  // The path line never keeps the focus: it passes it on in the direction it came from.
  if (watched == path_ && event->type() == QEvent::FocusIn) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* next = reason == Qt::BacktabFocusReason
                        ? static_cast<QWidget*>(drives_)
                        : DesignControl<QWidget>(this, "Pul_NuovaCartella");
    // Once the line's own focus has been told, so that assistive technology ends where the
    // focus is.
    QTimer::singleShot(0, next, [next, reason] { next->setFocus(reason); });
    return false;
  }
  return QDialog::eventFilter(watched, event);
}

void PickerDialog::SetCaption(const std::string& caption) {
  setWindowTitle(Text(caption));
}

void PickerDialog::SetDrives(const std::vector<std::string>& items) {
  const QSignalBlocker blocker(drives_);
  drives_->clear();
  for (const std::string& item : items) {
    drives_->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), Text(item));
  }
}

void PickerDialog::SelectDrive(int index) {
  const QSignalBlocker blocker(drives_);
  drives_->setCurrentIndex(index);
}

void PickerDialog::SetFolders(const std::vector<FolderEntry>& entries, int current) {
  const QSignalBlocker blocker(folderTree_);
  folderTree_->clear();
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  std::vector<QTreeWidgetItem*> parents;  // the last item seen at each depth
  QTreeWidgetItem* currentItem = nullptr;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const FolderEntry& entry = entries[i];
    const std::size_t depth = static_cast<std::size_t>(entry.depth);
    QTreeWidgetItem* item = depth == 0 || depth > parents.size()
                                ? new QTreeWidgetItem(folderTree_)
                                : new QTreeWidgetItem(parents[depth - 1]);
    item->setText(0, Text(entry.name));
    item->setToolTip(0, Text(entry.path));
    item->setIcon(0, entry.open ? openIcon : closedIcon);
    item->setData(0, kEntryRole, static_cast<int>(i));
    parents.resize(depth);
    parents.push_back(item);
    if (static_cast<int>(i) == current) {
      currentItem = item;
    }
  }
  folderTree_->expandAll();
  if (currentItem != nullptr) {
    folderTree_->setCurrentItem(currentItem);
    folderTree_->scrollToItem(currentItem);
  }
}

void PickerDialog::SetFiles(const std::vector<std::string>& names) {
  const QSignalBlocker blocker(files_);
  files_->clear();
  for (const std::string& name : names) {
    files_->addItem(Text(name));
  }
  files_->setCurrentRow(-1);
}

void PickerDialog::SetPathText(const std::string& text) {
  path_->setText(Text(text));
  path_->setCursorPosition(0);
}

std::string PickerDialog::NewFolderName() const {
  return newFolderName_->text().toStdString();
}

void PickerDialog::SetFolderMode(bool folderMode) {
  folderMode_ = folderMode;
  PlaceControls();
}

void PickerDialog::Close() {
  done(QDialog::Accepted);
}

void QtPickerWindowHost::RunModal(Dialog_GetFileODir& dialog) {
  PickerDialog window(dialog, parent_);
  dialog.AttachView(window);
  // Centred on the screen, as the design asks.
  if (const QScreen* screen =
          parent_ != nullptr ? parent_->screen() : QGuiApplication::primaryScreen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
  window.exec();
  dialog.DetachView();
}

}  // namespace varnock::qt
