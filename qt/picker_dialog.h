#pragma once

#include <QDialog>

#include "picker/picker_presenter.h"
#include "picker/picker_view.h"
#include "picker/picker_window_host.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace varnock::qt {

// The Dialog_GetFileODir window: the controls and their wiring to the picker presenter.
class PickerDialog : public QDialog, public PickerView {
  Q_OBJECT

 public:
  PickerDialog(Dialog_GetFileODir& presenter, QWidget* parent);

  void SetCaption(const std::string& caption) override;
  void SetDrives(const std::vector<std::string>& items) override;
  void SelectDrive(int index) override;
  void SetFolders(const std::vector<FolderEntry>& entries, int current) override;
  void SetFiles(const std::vector<std::string>& names) override;
  void SetPathText(const std::string& text) override;
  std::string NewFolderName() const override;
  void SetFolderMode(bool folderMode) override;
  void Close() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpControls();
  void Wire();
  void PlaceControls();

  Dialog_GetFileODir& presenter_;
  bool folderMode_ = false;
  QTreeWidget* folderTree_ = nullptr;
  QComboBox* drives_ = nullptr;
  QLineEdit* path_ = nullptr;
  QLineEdit* newFolderName_ = nullptr;
  QListWidget* files_ = nullptr;
};

// Shows a fresh PickerDialog modally over `parent` for each use of the picker.
class QtPickerWindowHost : public PickerWindowHost {
 public:
  explicit QtPickerWindowHost(QWidget* parent) : parent_(parent) {}
  void RunModal(Dialog_GetFileODir& dialog) override;

 private:
  QWidget* parent_;
};

}  // namespace varnock::qt
