#include "qt/principale.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include "app/access_keys.h"
#include "app/main_presenter.h"
#include "qt/app_icon.h"
#include "qt/fit_caption.h"
#include "qt/qt_user_interface.h"
#include "qt/twips.h"
#include "qt/value_look.h"

namespace varnock::qt {

namespace {

constexpr int kClientWidth = 8685;
constexpr int kClientHeight = 4125;
// The dialog font of the design; the face is the platform's own.
constexpr double kDialogPoints = 8.25;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

Principale::Principale(UserInterface& ui, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      pickerHost_(this),
      picker_(pickerEnvironment_, ui, hostSwitch_) {
  setObjectName(QStringLiteral("Principale"));
  setWindowTitle(QStringLiteral(" Varnock"));
  setWindowIcon(AppIcon());
  QFont dialogFont = font();
  dialogFont.setPointSizeF(kDialogPoints);
  setFont(dialogFont);
  CreateControls();
  PlaceControls();
  FitCaptions();
  setFixedSize(Twips(kClientWidth, this), Twips(kClientHeight, this));
  // Files dropped anywhere on the window are opened, also over the description.
  setAcceptDrops(true);
  description_->setAcceptDrops(false);
}

void Principale::FitCaptions() {
  for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (label->frameShape() == QFrame::NoFrame) {
      FitCaption(label, kDialogPoints);
    }
  }
  for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
    FitCaption(button, kDialogPoints);
  }
}

QLabel* Principale::Label(const char* name, const char* caption, bool bold) {
  auto* label = new QLabel(QString::fromLatin1(caption), this);
  label->setObjectName(QString::fromLatin1(name));
  if (bold) {
    QFont boldFont = label->font();
    boldFont.setBold(true);
    label->setFont(boldFont);
  }
  return label;
}

QLabel* Principale::ValueLabel(const char* name) {
  QLabel* label = Label(name, "");
  label->setFrameStyle(QFrame::Box | QFrame::Plain);
  label->setLineWidth(1);
  label->setIndent(Twips(45, this));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ApplyValueColours(label);
  return label;
}

QPushButton* Principale::Button(const char* name, const char* caption, bool bold) {
  auto* button = new QPushButton(QString::fromStdString(WithAccessKey(caption)), this);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  if (bold) {
    QFont boldFont = button->font();
    boldFont.setBold(true);
    button->setFont(boldFont);
  }
  return button;
}

void Principale::CreateControls() {
  // Created from the top of the window down: the reading order and the tab order follow it.
  changeDirSrc_ = Button("Pul_ChangeDirSrc", "Patch Folder :");
  dirSrc_ = ValueLabel("Label_DirSrc");
  dirSrc_->setAccessibleName(QStringLiteral("Patch folder"));

  choosePatch_ = Label("Label1", "Choose patch:", true);
  patches_ = new QComboBox(this);
  patches_->setObjectName(QStringLiteral("Combo_Patch"));
  patches_->setEditable(false);
  choosePatch_->setBuddy(patches_);
  dynamic_ = Label("Label_Dynamic", "Dynamic Patch !", true);
  QPalette red = dynamic_->palette();
  red.setColor(QPalette::WindowText, QColor(255, 0, 0));
  dynamic_->setPalette(red);
  dynamic_->setVisible(false);

  createdWithVersion_ = Label("Label_CreatedWithVersion", "From tomb4 version:");
  tombVersion_ = ValueLabel("Label_TombVersion");
  tombVersion_->setAccessibleName(QStringLiteral("Patch version"));

  descriptionTitle_ = Label("Label3", "Patch description:");
  description_ = new QPlainTextEdit(this);
  description_->setObjectName(QStringLiteral("Text_Description"));
  description_->setReadOnly(true);
  description_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  description_->setFont(CourierFont());
  description_->setFrameStyle(QFrame::Box | QFrame::Plain);
  description_->setAccessibleName(QStringLiteral("Patch description"));
  ApplyValueColours(description_);
  descriptionTitle_->setBuddy(description_);
  print_ = Button("Pul_StampaDescription", "Print description");

  applyPatchTo_ = Label("Label_ApplyPatchTo", "Apply patch over following tomb4 program:");
  nomeExe_ = ValueLabel("Label_NomeExe");
  nomeExe_->setAccessibleName(QStringLiteral("Program to patch"));
  changeTomb_ = Button("Pul_ChangeTomb", "Change");

  currentTomb_ = Label("Label_CurrentTomb", "Current tomb4 Version:");
  tombVersionNow_ = ValueLabel("Label_TombVersionNow");
  tombVersionNow_->setAccessibleName(QStringLiteral("Program version"));

  apply_ = Button("Pul_ApplyPatch", "APPLY PATCH", true);
  remove_ = Button("Pul_RemovePatch", "REMOVE PATCH", true);
  close_ = Button("Pul_Cancel", "Close");

  const std::array<QWidget*, 8> tabOrder = {changeDirSrc_, patches_, description_, print_,
                                            changeTomb_,   apply_,   remove_,      close_};
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
  }
  patches_->setFocus();
}

void Principale::PlaceControls() {
  PlaceByTwips(choosePatch_, 90, 495, 1815, 240);
  PlaceByTwips(patches_, 2340, 450, 4605, 315);
  PlaceByTwips(createdWithVersion_, 45, 855, 2175, 240);
  PlaceByTwips(tombVersion_, 2340, 855, 6045, 285);
  PlaceByTwips(dynamic_, 7020, 495, 1500, 240);
  PlaceByTwips(descriptionTitle_, 90, 1350, 1725, 240);
  PlaceByTwips(description_, 2340, 1305, 6045, 960);
  PlaceByTwips(applyPatchTo_, 135, 2430, 6720, 240);
  PlaceByTwips(nomeExe_, 90, 2700, 7125, 285);
  PlaceByTwips(changeTomb_, 7335, 2700, 1095, 285);
  PlaceByTwips(apply_, 2340, 3645, 2175, 330);
  PlaceByTwips(remove_, 4635, 3645, 2175, 330);
  PlaceByTwips(close_, 7335, 3645, 1185, 285);
  PlaceByTwips(tombVersionNow_, 2340, 3060, 6090, 285);
  PlaceByTwips(currentTomb_, 90, 3105, 2220, 240);
  PlaceByTwips(changeDirSrc_, 45, 45, 1860, 285);
  PlaceByTwips(dirSrc_, 2340, 45, 6045, 285);
  PlaceByTwips(print_, 90, 1845, 2130, 285);
}

void Principale::Connect(MainPresenter& presenter) {
  presenter_ = &presenter;
  connect(patches_, &QComboBox::activated, this, [this] { presenter_->PatchClicked(); });
  connect(apply_, &QPushButton::clicked, this, [this] { presenter_->ApplyClicked(); });
  connect(remove_, &QPushButton::clicked, this, [this] { presenter_->RemoveClicked(); });
  connect(changeDirSrc_, &QPushButton::clicked, this,
          [this] { presenter_->ChangePatchFolderClicked(); });
  connect(changeTomb_, &QPushButton::clicked, this, [this] { presenter_->ChangeTargetClicked(); });
  connect(print_, &QPushButton::clicked, this, [this] { presenter_->PrintClicked(); });
  connect(close_, &QPushButton::clicked, this, [this] { presenter_->CloseClicked(); });
}

void Principale::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  show();
}

void Principale::ClearPatchList() {
  const QSignalBlocker blocker(patches_);
  patches_->clear();
}

void Principale::AddPatchItem(const std::string& text) {
  const QSignalBlocker blocker(patches_);
  patches_->addItem(Text(text));
}

void Principale::SelectPatchItem(int index) {
  const QSignalBlocker blocker(patches_);
  patches_->setCurrentIndex(index);
}

int Principale::SelectedPatchIndex() const {
  return patches_->currentIndex();
}

std::string Principale::SelectedPatchText() const {
  return patches_->currentIndex() < 0 ? std::string() : patches_->currentText().toStdString();
}

QLabel* Principale::LabelFor(MainLabel label) const {
  switch (label) {
    case MainLabel::NomeExe:
      return nomeExe_;
    case MainLabel::TombVersionNow:
      return tombVersionNow_;
    case MainLabel::TombVersion:
      return tombVersion_;
    case MainLabel::DirSrc:
      return dirSrc_;
    case MainLabel::ApplyPatchTo:
      return applyPatchTo_;
    case MainLabel::CreatedWithVersion:
      return createdWithVersion_;
    case MainLabel::CurrentTomb:
      return currentTomb_;
  }
  return nullptr;
}

void Principale::SetCaption(MainLabel label, const std::string& text) {
  QLabel* shown = LabelFor(label);
  shown->setText(Text(text));
  if (shown->frameShape() == QFrame::NoFrame) {
    FitCaption(shown, kDialogPoints);
  } else {
    // A path longer than its field can still be read whole.
    shown->setToolTip(Text(text));
  }
}

void Principale::SetDescription(const std::string& text) {
  description_->setPlainText(ToDisplayText(text));
}

void Principale::SetDynamicVisible(bool visible) {
  dynamic_->setVisible(visible);
}

bool Principale::RunPicker(const std::string& caption, const std::string& startFolder,
                           bool testFile, const std::string& mask, std::string& pathDir) {
  picker_.SetCaption(caption);
  picker_.ImpostaValori(startFolder, testFile, mask);
  picker_.ShowModal();
  if (!picker_.ExitValue()) {
    return false;
  }
  pathDir = picker_.PathDir();
  return true;
}

bool Principale::PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                           std::string& error) {
  return printer_.Print(text, fontFace, pointSize, error);
}

void Principale::HostSwitch::RunModal(Dialog_GetFileODir& dialog) {
  PickerWindowHost* host = window_.pickerHostOverride_;
  (host != nullptr ? *host : static_cast<PickerWindowHost&>(window_.pickerHost_)).RunModal(dialog);
}

void Principale::CloseWindow() {
  close();
}

void Principale::closeEvent(QCloseEvent* event) {
  // Closing is never refused; the unload handler runs once, whichever way the window closes.
  picker_.Unload();
  if (presenter_ != nullptr) {
    presenter_->Unload();
  }
  event->accept();
}

namespace {

// The local files a drag carries; empty when it carries anything else.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) {
      return {};
    }
    paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return paths;
}

}  // namespace

void Principale::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).empty()) {
    event->acceptProposedAction();
  }
}

void Principale::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = DroppedFiles(event->mimeData());
  if (paths.empty() || presenter_ == nullptr) {
    return;
  }
  event->acceptProposedAction();
  presenter_->FilesDropped(paths);
}

}  // namespace varnock::qt
