#pragma once

#include <QWidget>

#include "app/main_window_view.h"
#include "qt/description_printer.h"

class QLabel;

namespace varnock {
class MainPresenter;
}

namespace varnock::qt {

// The main window: its controls, built from the window's design, and the wiring of their
// signals to the main presenter.
class Principale : public QWidget, public MainWindowView {
  Q_OBJECT

 public:
  explicit Principale(QWidget* parent = nullptr);

  // Wires the controls to the presenter's handlers; the presenter must outlive the window's
  // events.
  void Connect(MainPresenter& presenter);
  void ShowCentred();
  // Prints into this PDF file instead of on the default printer (empty: the printer again).
  void SetPrintOutputFile(const QString& pdfPath) { printer_.SetOutputFile(pdfPath); }

  void ClearPatchList() override;
  void AddPatchItem(const std::string& text) override;
  void SelectPatchItem(int index) override;
  int SelectedPatchIndex() const override;
  std::string SelectedPatchText() const override;
  void SetCaption(MainLabel label, const std::string& text) override;
  void SetDescription(const std::string& text) override;
  void SetDynamicVisible(bool visible) override;
  void SetStatusLine(const std::string& text) override;
  PatchesOutcome ShowPatchesWindow(const PatchesRequest& request) override;
  bool PrintText(const std::string& text, const std::string& fontFace, int pointSize,
                 std::string& error) override;
  void CloseWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Back from another program: the files on disk may have changed meanwhile.
  void changeEvent(QEvent* event) override;
  // Files dropped onto the window are opened: patches and the executable to patch.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  template <typename Widget>
  Widget* Find(std::string_view name) const;
  void OnClick(std::string_view button, void (MainPresenter::*handler)());

  MainPresenter* presenter_ = nullptr;
  DescriptionPrinter printer_;
};

}  // namespace varnock::qt
