// varnock: the window that applies patches to the game engine and its tools, and removes them.

#include <QApplication>
#include <QTimer>
#include <cstring>
#include <iostream>

#include "app/app_environment.h"
#include "app/language_setting.h"
#include "app/main_presenter.h"
#include "picker/system_picker_environment.h"
#include "qt/app_icon.h"
#include "qt/demo_run.h"
#include "qt/picker_dialog.h"
#include "qt/principale.h"
#include "qt/qt_settings.h"
#include "qt/qt_translations.h"
#include "qt/qt_user_interface.h"
#include "support/process_start.h"

int main(int argc, char** argv) {
  using namespace varnock;
  PrepareProcess();
  // "--demo PROGRAM": a run without a screen that shows the main job on the console.
  const bool demo = argc == 3 && std::strcmp(argv[1], "--demo") == 0;
  if (demo && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varnock"));
  QApplication::setWindowIcon(qt::AppIcon());
  if (demo) {
    return qt::RunDemo(argv[2], std::cout);
  }

  // The language chosen in the settings, before the first text is read.
  qt::QtSettings settings;
  UseRememberedLanguage(settings);
  qt::UseQtTranslations(application);
  qt::QtUserInterface ui;
  qt::Principale window;
  ui.SetMainWindow(&window);
  qt::QtPickerWindowHost pickerHost(&window);
  SystemPickerEnvironment pickerEnvironment;
  Dialog_GetFileODir picker(pickerEnvironment, ui, pickerHost);
  AppEnvironment environment = SystemEnvironment();
  // "varnock [PATCH.ptc | SET.ptcset] [EXE]", as the file manager starts it for a patch or a
  // set; Qt has taken its own options out of the arguments.
  for (int i = 1; i < argc; ++i) {
    environment.openedFiles.emplace_back(argv[i]);
  }
  environment.settings = &settings;
  MainPresenter presenter(window, picker, ui, environment);
  window.Connect(presenter);
  if (!presenter.Load()) {
    return 0;
  }
  window.ShowCentred();
  // The window takes the keyboard at once, also where no window manager hands it over (a
  // screen reader's user starts typing in it).
  window.activateWindow();
  // For start-up timing: the window closes, as its Close button would, once it has been shown.
  if (qEnvironmentVariableIsSet("VARNOCK_CLOSE_WHEN_SHOWN")) {
    QTimer::singleShot(0, &window, &QWidget::close);
  }
  return QApplication::exec();
}
