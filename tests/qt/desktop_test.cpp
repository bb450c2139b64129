// The window as a desktop user has it: files dropped onto it, choices remembered between runs,
// access keys.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "qt/qt_settings.h"
#include "tests/common/demo_install.h"
#include "tests/qt/gui_fixture.h"
#include "tools/demo_engine.h"

namespace varnock::testing {
namespace {

std::string Caption(const MainWindowHarness& harness, const char* label) {
  return harness.Find<QLabel>(label)->text().toStdString();
}

// Files dragged from the file manager and let go over the window.
void Drop(QWidget* window, const std::vector<std::string>& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& path : paths) {
    urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
  data.setUrls(urls);
  const QPoint at = window->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
  EXPECT_TRUE(drop.isAccepted());
}

const char* const kWad = "Patch_ExtraWadTextures.ptc";

// A patch and an executable dropped from the file manager are chosen, Alt and a letter press
// a button a moment later (as a click shown on it), and the next run starts with the choices.
TEST(Desktop, DropCloseByAccessKeyAndStartWithTheLastChoices) {
  TempDir kept;
  const QString file = QString::fromStdString(kept.File("varnock.conf"));
  qt::QtSettings settings(file);
  MainWindowHarness harness(false,
                            [&](AppEnvironment& environment) { environment.settings = &settings; });
  const FilesToDrop files = PlaceFilesToDrop(harness.temp, DemoFile(kWad), harness.exe);
  ASSERT_TRUE(harness.Load());
  Drop(harness.window.get(), {files.patch, files.exe});
  EXPECT_EQ(Caption(harness, "Label_DirSrc"), files.patchFolder);
  EXPECT_EQ(harness.Find<QComboBox>("Combo_Patch")->currentText().toStdString(), kWad);
  EXPECT_EQ(Caption(harness, "Label_NomeExe"), files.exe);

  harness.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(harness.window.get()));
  QTest::keyClick(harness.window.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !harness.window->isVisible(); }, 5000));

  qt::QtSettings reread(file);
  MainWindowHarness second(false,
                           [&](AppEnvironment& environment) { environment.settings = &reread; });
  ASSERT_TRUE(second.Load());
  EXPECT_EQ(Caption(second, "Label_DirSrc"), files.patchFolder);
  EXPECT_EQ(Caption(second, "Label_NomeExe"), files.exe);
  EXPECT_EQ(Caption(second, "Label_TombVersionNow"), tools::kDemoEngineVersion);
}

}  // namespace
}  // namespace varnock::testing
