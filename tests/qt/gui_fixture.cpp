#include "tests/qt/gui_fixture.h"

#include <gtest/gtest.h>
#include <QDir>

#include "support/files.h"
#include "support/paths.h"
#include "tools/bundle_writer.h"

namespace varnock::testing {

namespace {

const char* const kPatches[] = {"Patch_ExtraVideoMemory20MB.ptc", "Patch_ExtraWadTextures.ptc"};

}  // namespace

std::string DemoFile(const std::string& name) {
  return JoinPath(VARNOCK_DEMO_DIR, name);
}

MainWindowHarness::MainWindowHarness(bool bundled) {
  programFolder = temp.File("program");
  gameFolder = temp.File("game");
  exe = temp.Write("game/tomb4.exe", ReadWholeFile(DemoFile("tomb4.exe")));
  const std::string program = JoinPath(programFolder, "varnock");
  if (bundled) {
    temp.WriteText("program/varnock", "stand-in for the program's own code");
    std::vector<tools::BundleFile> files;
    for (const char* name : kPatches) {
      files.push_back({name, ReadWholeFile(DemoFile(name))});
    }
    std::string error;
    EXPECT_TRUE(tools::AppendBundle(program, files, error)) << error;
  } else {
    for (const char* name : kPatches) {
      temp.Write(std::string("program/") + name, ReadWholeFile(DemoFile(name)));
    }
  }

  window = std::make_unique<qt::Principale>(ui);
  ui.SetMainWindow(window.get());
  AppEnvironment environment;
  environment.ownExecutablePath = program;
  environment.findInstalledProgram = [](const std::string&) { return std::string(); };
  const std::string start = gameFolder;
  environment.currentFolder = [start] { return start; };
  presenter = std::make_unique<MainPresenter>(*window, ui, environment);
  window->Connect(*presenter);
}

MainWindowHarness::~MainWindowHarness() {
  window->hide();
}

bool MainWindowHarness::Load() {
  if (!presenter->Load()) {
    return false;
  }
  window->ShowCentred();
  return true;
}

QString SaveScreenshot(QWidget* widget, const QString& name) {
  QDir().mkpath(QStringLiteral(VARNOCK_SCREENSHOT_DIR));
  const QString path = QStringLiteral(VARNOCK_SCREENSHOT_DIR) + QLatin1Char('/') + name +
                       qEnvironmentVariable("VARNOCK_SCREENSHOT_SUFFIX") + QStringLiteral(".png");
  EXPECT_TRUE(widget->grab().save(path)) << path.toStdString();
  return path;
}

}  // namespace varnock::testing
