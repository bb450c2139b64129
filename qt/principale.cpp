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
#include <QTimer>
#include <algorithm>

#include "app/access_keys.h"
#include "app/main_presenter.h"
#include "app/main_window_design.h"
#include "qt/accessible_value.h"
#include "qt/app_icon.h"
#include "qt/design_controls.h"
#include "qt/elide_path.h"
#include "qt/fit_caption.h"
#include "qt/patches_dialog.h"
#include "qt/qt_user_interface.h"

namespace varnock::qt {

namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

Principale::Principale(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Principale"));
  setWindowTitle(
      QString::fromLatin1(kMainWindowCaption.data(), static_cast<int>(kMainWindowCaption.size())));
  setWindowIcon(AppIcon());
  BuildWindow(this, kMainWindowDesign);
  MarkAccessibleWindow(this);
  Find<QWidget>("Combo_Patch")->setFocus();
  // Files dropped anywhere on the window are opened, also over the description.
  setAcceptDrops(true);
  Find<QWidget>("Text_Description")->setAcceptDrops(false);
}

template <typename Widget>
Widget* Principale::Find(std::string_view name) const {
  return DesignControl<Widget>(this, name);
}

void Principale::OnClick(std::string_view button, void (MainPresenter::*handler)()) {
  connect(Find<QPushButton>(button), &QPushButton::clicked, this,
          [this, handler] { (presenter_->*handler)(); });
}

void Principale::Connect(MainPresenter& presenter) {
  presenter_ = &presenter;
  connect(Find<QComboBox>("Combo_Patch"), &QComboBox::activated, this,
          [this] { presenter_->PatchClicked(); });
  OnClick("Pul_ApplyPatch", &MainPresenter::ApplyClicked);
  OnClick("Pul_RemovePatch", &MainPresenter::RemoveClicked);
  OnClick("Pul_ChangeDirSrc", &MainPresenter::ChangePatchFolderClicked);
  OnClick("Pul_ChangeTomb", &MainPresenter::ChangeTargetClicked);
  OnClick("Pul_StampaDescription", &MainPresenter::PrintClicked);
  OnClick("Pul_Cancel", &MainPresenter::CloseClicked);
  OnClick("Pul_AllPatches", &MainPresenter::AllPatchesClicked);
}

void Principale::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  show();
}

void Principale::ClearPatchList() {
  auto* patches = Find<QComboBox>("Combo_Patch");
  const QSignalBlocker blocker(patches);
  patches->clear();
}

void Principale::AddPatchItem(const std::string& text) {
  auto* patches = Find<QComboBox>("Combo_Patch");
  const QSignalBlocker blocker(patches);
  patches->addItem(Text(text));
}

void Principale::SelectPatchItem(int index) {
  auto* patches = Find<QComboBox>("Combo_Patch");
  const QSignalBlocker blocker(patches);
  patches->setCurrentIndex(index);
}

int Principale::SelectedPatchIndex() const {
  return Find<QComboBox>("Combo_Patch")->currentIndex();
}

std::string Principale::SelectedPatchText() const {
  const auto* patches = Find<QComboBox>("Combo_Patch");
  return patches->currentIndex() < 0 ? std::string() : patches->currentText().toStdString();
}

void Principale::SetCaption(MainLabel label, const std::string& text) {
  auto* shown = Find<QLabel>(ControlNameOf(label));
  if (shown->frameShape() == QFrame::NoFrame) {
    shown->setText(Text(text));
    FitCaption(shown, kDialogPoints);
    NameLabelledControls(this, kMainWindowDesign);
    return;
  }
  // A path longer than its field keeps its file name, and can still be read whole.
  const QString whole = Text(text);
  shown->setText(ElidePath(whole, shown->fontMetrics(),
                           shown->contentsRect().width() - std::max(shown->indent(), 0)));
  shown->setToolTip(whole);
  SetAccessibleValue(shown, whole);
}

void Principale::SetDescription(const std::string& text) {
  Find<QPlainTextEdit>("Text_Description")->setPlainText(ToDisplayText(text));
}

void Principale::SetDynamicVisible(bool visible) {
  Find<QLabel>("Label_Dynamic")->setVisible(visible);
}

void Principale::SetStatusLine(const std::string& text) {
  ShowOneLine(Find<QLabel>("Label_Status"), Text(text));
}

MainWindowView::PatchesOutcome Principale::ShowPatchesWindow(const PatchesRequest& request) {
  PatchesDialog dialog(request, this);
  dialog.Run();
  return {dialog.Presenter().ChangedExecutable(), dialog.Presenter().Status()};
}

bool Principale::PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                           std::string& error) {
  return printer_.Print(text, fontFace, pointSize, error);
}

void Principale::CloseWindow() {
  close();
}

void Principale::closeEvent(QCloseEvent* event) {
  // Closing is never refused; the unload handler runs once, whichever way the window closes.
  if (presenter_ != nullptr) {
    presenter_->Unload();
  }
  event->accept();
}

void Principale::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && presenter_ != nullptr) {
    presenter_->WindowActivated();
  }
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
  // Opened once the drop has ended: a message it shows must not hold the drag's source.
  QTimer::singleShot(0, this, [this, paths] { presenter_->FilesDropped(paths); });
}

}  // namespace varnock::qt
