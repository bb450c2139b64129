#pragma once

#include <QDialog>
#include <QRect>
#include <memory>
#include <vector>

#include "app/patches_columns.h"
#include "app/patches_presenter.h"
#include "app/patches_view.h"
#include "qt/qt_user_interface.h"

class QTableView;

namespace varnock::qt {

class PatchesModel;

// The Patches window: every patch of the folder with its check mark, status and conflicts, built
// from its design and wired to the PatchesPresenter it owns. Modal; it can be made larger, the
// list and the description taking what it grows by.
class PatchesDialog : public QDialog, public PatchesView {
  Q_OBJECT

 public:
  PatchesDialog(const PatchesRequest& request, QWidget* parent);
  ~PatchesDialog() override;

  // Fills the window, shows it and returns when it has closed.
  void Run();
  const PatchesPresenter& Presenter() const { return *presenter_; }

  void ResetRows(std::size_t count, int selected, bool fromTop) override;
  void UpdateRows(std::size_t first, std::size_t last) override;
  void SetDescription(const std::string& text) override;
  void SetProgress(const std::string& text) override;
  void SetApplyEnabled(bool enabled) override;
  void SetKeepHistory(bool keep) override;
  void SetLanguages(const std::vector<std::string>& names, std::size_t chosen) override;
  void ShowHistory(const HistoryListing& listing) override;
  bool Confirm(const std::string& text, const std::string& title) override;
  std::string AskSetPath(SetFileDialog dialog, const std::string& folder) override;
  void WakeUp() override;
  void CloseWindow() override;

  // Escape and the close box ask the presenter, which closes the window.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Wire();
  void FitColumns();
  QTableView* Table() const;

  QtUserInterface ui_;
  PatchesModel* model_;
  std::unique_ptr<PatchesPresenter> presenter_;
  // Each control's place at the first size, in the design's order.
  std::vector<QRect> firstPlaces_;
  QSize firstSize_;
  ColumnWidths firstColumns_{};  // the list's columns at the first size
  QString progress_;             // the progress line whole
  bool selecting_ = false;       // the presenter moves the selection: not the user's choice
  bool closed_ = false;
};

}  // namespace varnock::qt
