#pragma once

#include <QWidget>
#include <array>

#include "app/main_window_view.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "qt/description_printer.h"
#include "qt/picker_dialog.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varnock {
class MainPresenter;
}

namespace varnock::qt {

// The main window: its controls, and the wiring of their signals to the main presenter. It owns
// the picker, which lives as long as the window.
class Principale : public QWidget, public MainWindowView {
  Q_OBJECT

 public:
  explicit Principale(UserInterface& ui, QWidget* parent = nullptr);

  // Wires the controls to the presenter's handlers; the presenter must outlive the window's
  // events.
  void Connect(MainPresenter& presenter);
  void ShowCentred();
  // Prints into this PDF file instead of on the default printer (empty: the printer again).
  void SetPrintOutputFile(const QString& pdfPath) { printer_.SetOutputFile(pdfPath); }
  // Shows the picker through `host` instead of a modal dialog (null: the dialog again).
  void SetPickerHost(PickerWindowHost* host) { pickerHostOverride_ = host; }

  void ClearPatchList() override;
  void AddPatchItem(const std::string& text) override;
  void SelectPatchItem(int index) override;
  int SelectedPatchIndex() const override;
  std::string SelectedPatchText() const override;
  void SetCaption(MainLabel label, const std::string& text) override;
  void SetDescription(const std::string& text) override;
  void SetDynamicVisible(bool visible) override;
  bool RunPicker(const std::string& caption, const std::string& startFolder, bool testFile,
                 const std::string& mask, std::string& pathDir) override;
  bool PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                 std::string& error) override;
  void CloseWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dropped onto the window are opened: patches and the executable to patch.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  QLabel* Label(const char* name, const char* caption, bool bold = false);
  QLabel* ValueLabel(const char* name);
  QPushButton* Button(const char* name, const char* caption, bool bold = false);
  void PlaceControls();
  void FitCaptions();
  QLabel* LabelFor(MainLabel label) const;

  MainPresenter* presenter_ = nullptr;
  DescriptionPrinter printer_;
  SystemPickerEnvironment pickerEnvironment_;
  QtPickerWindowHost pickerHost_;
  PickerWindowHost* pickerHostOverride_ = nullptr;
  // Passes each use of the picker on to the host that is in force.
  class HostSwitch : public PickerWindowHost {
   public:
    explicit HostSwitch(Principale& window) : window_(window) {}
    void RunModal(Dialog_GetFileODir& dialog) override;

   private:
    Principale& window_;
  } hostSwitch_{*this};
  Dialog_GetFileODir picker_;

  QPushButton* changeDirSrc_ = nullptr;
  QLabel* dirSrc_ = nullptr;
  QLabel* choosePatch_ = nullptr;
  QComboBox* patches_ = nullptr;
  QLabel* dynamic_ = nullptr;
  QLabel* createdWithVersion_ = nullptr;
  QLabel* tombVersion_ = nullptr;
  QLabel* descriptionTitle_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QPushButton* print_ = nullptr;
  QLabel* applyPatchTo_ = nullptr;
  QLabel* nomeExe_ = nullptr;
  QPushButton* changeTomb_ = nullptr;
  QLabel* currentTomb_ = nullptr;
  QLabel* tombVersionNow_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace varnock::qt
