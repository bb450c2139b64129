// The window as a desktop user has it: files opened with the program or dropped onto it,
// choices remembered between runs, pickers that start where the user is, access keys.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include "qt/qt_settings.h"
#include "support/files.h"
#include "support/paths.h"
#include "tests/common/demo_install.h"
#include "tests/qt/gui_fixture.h"
#include "tests/qt/modal_driver.h"
#include "tools/demo_engine.h"

namespace varnock::testing {
namespace {

std::string Caption(const MainWindowHarness& harness, const char* label) {
  return harness.Find<QLabel>(label)->text().toStdString();
}

std::string ChosenPatch(const MainWindowHarness& harness) {
  return harness.Find<QComboBox>("Combo_Patch")->currentText().toStdString();
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

TEST(Desktop, OpenWithAPatchAndAnExecutable) {
  // As "varnock PATCH EXE" from the game folder: the executable named relative to it.
  MainWindowHarness harness(false, [](AppEnvironment& environment) {
    environment.openedFiles = {JoinPath(GetParentFolder(environment.ownExecutablePath), kWad),
                               "tomb4.exe"};
  });
  ASSERT_TRUE(harness.Load());
  EXPECT_EQ(Caption(harness, "Label_DirSrc"), harness.programFolder);
  EXPECT_EQ(ChosenPatch(harness), kWad);
  EXPECT_TRUE(harness.Find<QLabel>("Label_Dynamic")->isVisible());
  EXPECT_EQ(Caption(harness, "Label_NomeExe"), harness.exe);
  EXPECT_EQ(Caption(harness, "Label_TombVersionNow"), tools::kDemoEngineVersion);
}

TEST(Desktop, DroppingAPatchAndThenAnExecutable) {
  MainWindowHarness harness;
  const FilesToDrop files = PlaceFilesToDrop(harness.temp, DemoFile(kWad), harness.exe);
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;

  Drop(harness.window.get(), {files.patch});
  EXPECT_EQ(Caption(harness, "Label_DirSrc"), files.patchFolder);
  EXPECT_EQ(harness.Find<QComboBox>("Combo_Patch")->count(), 1);
  EXPECT_EQ(ChosenPatch(harness), kWad);

  Drop(harness.window.get(), {files.exe});
  EXPECT_EQ(Caption(harness, "Label_NomeExe"), files.exe);
  EXPECT_EQ(Caption(harness, "Label_TombVersionNow"), tools::kDemoEngineVersion);
  SaveScreenshot(harness.window.get(), QStringLiteral("main-window-after-drop"));

  // The Change picker now opens in the executable's folder, the Patch Folder picker in the
  // patch folder.
  std::string fileFolder;
  std::string patchFolder;
  driver.Then(QStringLiteral("Dialog_GetFileODir"), [&](QWidget* picker) {
    fileFolder = picker->findChild<QTreeWidget*>(QStringLiteral("Dir1"))
                     ->currentItem()
                     ->text(0)
                     .toStdString();
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_Cancel")),
                      Qt::LeftButton);
  });
  QTest::mouseClick(harness.Find<QPushButton>("Pul_ChangeTomb"), Qt::LeftButton);
  driver.Then(QStringLiteral("Dialog_GetFileODir"), [&](QWidget* picker) {
    patchFolder = picker->findChild<QLineEdit*>(QStringLiteral("Text_Path"))->text().toStdString();
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_Cancel")),
                      Qt::LeftButton);
  });
  QTest::mouseClick(harness.Find<QPushButton>("Pul_ChangeDirSrc"), Qt::LeftButton);
  EXPECT_EQ(fileFolder, "elsewhere");
  EXPECT_EQ(patchFolder, files.patchFolder);
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_TRUE(driver.unexpected.empty());
}

TEST(Desktop, TheNextRunStartsWithTheLastChoices) {
  TempDir kept;
  const QString file = QString::fromStdString(kept.File("varnock.conf"));
  qt::QtSettings settings(file);
  MainWindowHarness first(false,
                          [&](AppEnvironment& environment) { environment.settings = &settings; });
  const FilesToDrop files = PlaceFilesToDrop(first.temp, DemoFile(kWad), first.exe);
  ASSERT_TRUE(first.Load());
  Drop(first.window.get(), {files.patch, files.exe});
  first.window->close();

  qt::QtSettings reread(file);
  MainWindowHarness second(false,
                           [&](AppEnvironment& environment) { environment.settings = &reread; });
  ASSERT_TRUE(second.Load());
  EXPECT_EQ(Caption(second, "Label_DirSrc"), files.patchFolder);
  EXPECT_EQ(Caption(second, "Label_NomeExe"), files.exe);
  EXPECT_EQ(Caption(second, "Label_TombVersionNow"), tools::kDemoEngineVersion);
}

// Each button answers to Alt and a letter of its own; a press clicks it a moment later, as a
// click shown on the button.
TEST(Desktop, AccessKeysPressTheButtons) {
  MainWindowHarness harness;
  ASSERT_TRUE(harness.Load());
  QSet<QKeySequence> keys;
  for (const QPushButton* button : harness.window->findChildren<QPushButton*>()) {
    const QKeySequence key = QKeySequence::mnemonic(button->text());
    EXPECT_FALSE(key.isEmpty()) << button->objectName().toStdString();
    keys.insert(key);
  }
  EXPECT_EQ(keys.size(), 6);
  harness.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(harness.window.get()));
  ModalDriver driver;
  driver.AnswerMessage();
  QTest::keyClick(harness.window.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !driver.messages.empty(); }, 5000));
  QTest::qWait(300);
  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text, "You must set path of tomb4 program to apply patch");
  EXPECT_TRUE(driver.unexpected.empty()) << ::testing::PrintToString(driver.unexpected);
}

}  // namespace
}  // namespace varnock::testing
