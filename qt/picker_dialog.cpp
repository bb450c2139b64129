#include "qt/picker_dialog.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>

#include "app/access_keys.h"
#include "qt/fit_caption.h"
#include "qt/twips.h"
#include "qt/value_look.h"

namespace varnock::qt {

namespace {

// The client area in twips; folder mode ends below its moved buttons, with the same margin.
constexpr int kWidth = 5865;
constexpr int kFileModeHeight = 6240;
constexpr int kFolderModeHeight = 3690;
constexpr int kFolderModePathTop = 2790;
constexpr int kFolderModeButtonsTop = 3210;

constexpr int kEntryRole = Qt::UserRole;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromStdString(WithAccessKey(caption)), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

PickerDialog::PickerDialog(Dialog_GetFileODir& presenter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      presenter_(presenter) {
  setObjectName(QStringLiteral("Dialog_GetFileODir"));
  CreateControls();
  PlaceControls();
  for (QPushButton* button : {ok_, cancel_, newFolder_}) {
    FitCaption(button, button->font().pointSizeF());
  }
  Wire();
}

void PickerDialog::CreateControls() {
  // Created from the top down, so that the reading order follows the window.
  drives_ = new QComboBox(this);
  drives_->setObjectName(QStringLiteral("Drive1"));
  drives_->setAccessibleName(QStringLiteral("Drive"));
  newFolder_ = Button("Pul_NuovaCartella", "New Folder ->", this);
  newFolderName_ = new QLineEdit(this);
  newFolderName_->setObjectName(QStringLiteral("Text_PathDir"));
  newFolderName_->setAccessibleName(QStringLiteral("New folder name"));

  folderLabel_ = new QLabel(QStringLiteral("Folder:"), this);
  folderLabel_->setObjectName(QStringLiteral("Label1"));
  folderLabel_->setFont(CourierFont());
  auto* tree = new QTreeWidget(this);
  tree->setObjectName(QStringLiteral("Dir1"));
  tree->setHeaderHidden(true);
  tree->setRootIsDecorated(false);
  tree->setItemsExpandable(false);
  tree->setIndentation(Twips(180, this));
  tree->setUniformRowHeights(true);
  // The folders cannot be folded: no branch marks.
  tree->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
  folderTree_ = tree;
  folderLabel_->setBuddy(tree);

  fileLabel_ = new QLabel(QStringLiteral("File:"), this);
  fileLabel_->setObjectName(QStringLiteral("Label_File"));
  fileLabel_->setFont(CourierFont());
  files_ = new QListWidget(this);
  files_->setObjectName(QStringLiteral("List_Files"));
  files_->setFont(CourierFont());
  fileLabel_->setBuddy(files_);

  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("Text_Path"));
  path_->setReadOnly(true);
  path_->setAccessibleName(QStringLiteral("Chosen path"));
  ApplyValueColours(path_);

  ok_ = Button("Pul_Ok", "OK", this);
  cancel_ = Button("Pul_Cancel", "Cancel", this);

  // The design's tab order.
  QWidget::setTabOrder(ok_, cancel_);
  QWidget::setTabOrder(cancel_, folderTree_);
  QWidget::setTabOrder(folderTree_, drives_);
  QWidget::setTabOrder(drives_, path_);
  QWidget::setTabOrder(path_, newFolder_);
  QWidget::setTabOrder(newFolder_, newFolderName_);
  QWidget::setTabOrder(newFolderName_, files_);
  ok_->setFocus();
  path_->installEventFilter(this);
}

void PickerDialog::PlaceControls() {
  const int buttonsTop = folderMode_ ? kFolderModeButtonsTop : 5760;
  PlaceByTwips(ok_, 180, buttonsTop, 1215, 330);
  PlaceByTwips(cancel_, 4500, buttonsTop, 1215, 330);
  PlaceByTwips(folderTree_, 180, 810, 5505, 1890);
  PlaceByTwips(drives_, 225, 135, 1995, 315);
  PlaceByTwips(path_, 180, folderMode_ ? kFolderModePathTop : 5355, 5505, 285);
  PlaceByTwips(newFolder_, 2475, 135, 1500, 285);
  PlaceByTwips(newFolderName_, 4050, 135, 1635, 285);
  PlaceByTwips(files_, 180, 3060, 5505, 2010);
  PlaceByTwips(fileLabel_, 225, 2790, 5505, 240);
  PlaceByTwips(folderLabel_, 225, 540, 5505, 240);
  fileLabel_->setVisible(!folderMode_);
  files_->setVisible(!folderMode_);
  setFixedSize(Twips(kWidth, this), Twips(folderMode_ ? kFolderModeHeight : kFileModeHeight, this));
}

void PickerDialog::Wire() {
  connect(ok_, &QPushButton::clicked, this, [this] { presenter_.OnOk(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { presenter_.OnCancel(); });
  connect(newFolder_, &QPushButton::clicked, this, [this] { presenter_.OnNewFolder(); });
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
    const auto* focus = static_cast<QFocusEvent*>(event);
    QWidget* next =
        focus->reason() == Qt::BacktabFocusReason ? static_cast<QWidget*>(drives_) : newFolder_;
    next->setFocus(focus->reason());
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
