#include "qt/demo_run.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <filesystem>
#include <system_error>

#include "app/app_environment.h"
#include "app/main_presenter.h"
#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "qt/picker_dialog.h"
#include "qt/principale.h"
#include "qt/qt_user_interface.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock::qt {

namespace {

// Messages and questions go to the console; every question takes its proposed answer.
class ConsoleUserInterface : public UserInterface {
 public:
  explicit ConsoleUserInterface(std::ostream& out) : out_(out) {}

  void ShowMessage(const std::string& text, MessageIcon icon) override {
    out_ << (icon == MessageIcon::Critical ? "  [message, critical] " : "  [message] ")
         << ToDisplayText(text).replace(QLatin1Char('\n'), QStringLiteral("\n    ")).toStdString()
         << "\n";
  }
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override {
    out_ << "  [input box] " << title << ": " << prompt << " -> " << proposed << "\n";
    return proposed;
  }

 private:
  std::ostream& out_;
};

// The picker, answered as a user would: the file is clicked in the list of the folder the
// picker opens on, and OK pressed.
class ChoosingPickerHost : public PickerWindowHost {
 public:
  explicit ChoosingPickerHost(std::string name) : name_(std::move(name)) {}

  void RunModal(Dialog_GetFileODir& dialog) override {
    PickerDialog window(dialog, nullptr);
    dialog.AttachView(window);
    const auto& files = dialog.Files();
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (files[i] == name_) {
        dialog.OnFileClicked(static_cast<int>(i));
      }
    }
    dialog.OnOk();
    dialog.DetachView();
  }

 private:
  std::string name_;
};

void ShowCatalogue(const Principale& window, std::ostream& out) {
  const auto* list = window.findChild<QComboBox*>(QStringLiteral("Combo_Patch"));
  out << "Patches listed:\n";
  for (int i = 0; i < list->count(); ++i) {
    out << "  " << (i == list->currentIndex() ? "> " : "  ") << list->itemText(i).toStdString()
        << "\n";
  }
}

void ShowLabel(const Principale& window, const char* title, const char* name, std::ostream& out) {
  // A value field may show a long path cut; its tooltip holds the whole value.
  const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
  const QString whole = label->frameShape() == QFrame::NoFrame ? label->text() : label->toolTip();
  out << title << whole.toStdString() << "\n";
}

}  // namespace

int RunDemo(const std::string& demoExecutable, std::ostream& out) {
  if (!FileExists(demoExecutable)) {
    out << "The demonstration program " << demoExecutable << " is missing.\n";
    return 1;
  }
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path(error) /
      ("varnock-demo-" + std::to_string(QCoreApplication::applicationPid()));
  std::filesystem::create_directories(folder, error);
  const std::string copy = FromFsPath(folder / "tomb4.exe");
  std::filesystem::copy_file(ToFsPath(demoExecutable), ToFsPath(copy),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    out << "Cannot copy the demonstration program: " << error.message() << "\n";
    return 1;
  }

  ConsoleUserInterface ui(out);
  ChoosingPickerHost host("tomb4.exe");
  Principale window;
  SystemPickerEnvironment pickerEnvironment;
  Dialog_GetFileODir picker(pickerEnvironment, ui, host);
  AppEnvironment environment = SystemEnvironment();
  // The pickers open on the folder of the copy.
  std::string copyFolder = FromFsPath(folder);
  environment.currentFolder = [copyFolder] { return copyFolder; };
  MainPresenter presenter(window, picker, ui, environment);
  window.Connect(presenter);

  out << "Starting up (the bundled patches are unpacked into the patch folder: the program's own,\n"
         "or a folder of the user's when the program's cannot be written)\n";
  int result = 0;
  if (!presenter.Load()) {
    out << "Start-up ended the program.\n";
    result = 1;
  } else {
    ShowLabel(window, "Patch folder: ", "Label_DirSrc", out);
    ShowCatalogue(window, out);
    out << "\nChoosing the program to patch: " << copy << "\n";
    presenter.ChangeTargetClicked();
    ShowLabel(window, "  program:  ", "Label_NomeExe", out);
    ShowLabel(window, "  version:  ", "Label_TombVersionNow", out);
    ShowCatalogue(window, out);
    ShowLabel(window, "  chosen patch made for: ", "Label_TombVersion", out);
    out << "\nAPPLY PATCH\n";
    presenter.ApplyClicked();
    out << "APPLY PATCH once more\n";
    presenter.ApplyClicked();
    out << "REMOVE PATCH\n";
    presenter.RemoveClicked();
    const bool restored = ReadWholeFile(copy) == ReadWholeFile(demoExecutable);
    out << "\nThe copy is " << (restored ? "byte for byte the original again" : "NOT the original")
        << ".\n";
    result = restored ? 0 : 1;
    out << "Close (the unpacked patches are deleted)\n";
    presenter.CloseClicked();
  }
  std::filesystem::remove_all(folder, error);
  return result;
}

}  // namespace varnock::qt
