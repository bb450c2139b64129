#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "support/files.h"
#include "support/paths.h"
#include "tests/qt/gui_fixture.h"
#include "tests/qt/modal_driver.h"
#include "tools/demo_engine.h"

namespace varnock::testing {
namespace {

QString Caption(const MainWindowHarness& harness, const char* label) {
  return harness.Find<QLabel>(label)->text();
}

void Click(const MainWindowHarness& harness, const char* button) {
  QTest::mouseClick(harness.Find<QPushButton>(button), Qt::LeftButton);
}

// In the picker: the file with this name clicked in the file list, then OK.
ModalDriver::Step ChooseFile(const QString& name) {
  return [name](QWidget* picker) {
    auto* files = picker->findChild<QListWidget*>(QStringLiteral("List_Files"));
    const auto found = files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    files->setCurrentItem(found.front());
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_Ok")), Qt::LeftButton);
  };
}

// Start-up over a bundle, a program chosen in the picker, apply, apply again, remove, print,
// and the Close button, which deletes the unpacked patches.
TEST(MainWindow, AppliesRemovesAndPrintsThroughTheButtons) {
  MainWindowHarness harness(true);
  ASSERT_TRUE(harness.Load());
  EXPECT_EQ(harness.Find<QComboBox>("Combo_Patch")->count(), 2);
  EXPECT_FALSE(harness.Find<QPlainTextEdit>("Text_Description")->toPlainText().isEmpty());
  const Bytes original = ReadWholeFile(harness.exe);
  ModalDriver driver;

  driver.AnswerMessage();
  Click(harness, "Pul_ApplyPatch");
  driver.Then(QStringLiteral("Dialog_GetFileODir"), ChooseFile(QStringLiteral("tomb4.exe")));
  Click(harness, "Pul_ChangeTomb");
  EXPECT_EQ(Caption(harness, "Label_NomeExe").toStdString(), harness.exe);
  EXPECT_EQ(Caption(harness, "Label_TombVersionNow").toStdString(), tools::kDemoEngineVersion);
  driver.AnswerMessage();
  Click(harness, "Pul_ApplyPatch");
  driver.AnswerMessage();
  Click(harness, "Pul_ApplyPatch");
  const Bytes applied = ReadWholeFile(harness.exe);
  driver.AnswerMessage();
  Click(harness, "Pul_RemovePatch");
  EXPECT_NE(applied, original);
  EXPECT_EQ(applied.size(), original.size());
  EXPECT_EQ(ReadWholeFile(harness.exe), original);

  const std::string pdf = harness.temp.File("printed.pdf");
  harness.window->SetPrintOutputFile(QString::fromStdString(pdf));
  Click(harness, "Pul_StampaDescription");
  EXPECT_TRUE(FileExists(pdf));
  harness.window->SetPrintOutputFile(QString::fromStdString(harness.temp.File("no/printed.pdf")));
  driver.AnswerMessage();
  Click(harness, "Pul_StampaDescription");

  std::vector<std::string> texts;
  for (const auto& message : driver.messages) {
    texts.push_back(message.text.substr(0, message.text.find('\n')));
    EXPECT_FALSE(message.critical) << message.text;
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "You must set path of tomb4 program to apply patch",
                       "Ok: applying patch operation has been performed",
                       "WARNING: applying patch operation was already been performed",
                       "Ok: removing patch operation has been performed",
                       "ERROR trying to print the description"}));

  Click(harness, "Pul_Cancel");
  EXPECT_FALSE(harness.window->isVisible());
  EXPECT_FALSE(FileExists(JoinPath(harness.programFolder, "Patch_ExtraWadTextures.ptc")));
  EXPECT_TRUE(FileExists(JoinPath(harness.programFolder, "varnock")));
}

TEST(MainWindow, ChoosesAnotherPatchFolderAndMakesAFolderInThePicker) {
  MainWindowHarness harness;
  harness.temp.Write("more/Patch_ExtraWadTextures.ptc",
                     ReadWholeFile(DemoFile("Patch_ExtraWadTextures.ptc")));
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  driver.Then(QStringLiteral("Dialog_GetFileODir"), [&](QWidget* picker) {
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select folder with patches"));
    EXPECT_TRUE(picker->findChild<QWidget*>(QStringLiteral("List_Files"))->isHidden());
    // A new folder without a name, then with one.
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_NuovaCartella")),
                      Qt::LeftButton);
  });
  driver.AnswerMessage();
  driver.Then(QStringLiteral("Dialog_GetFileODir"), [&](QWidget* picker) {
    QTest::keyClicks(picker->findChild<QLineEdit*>(QStringLiteral("Text_PathDir")), " Spare ");
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_NuovaCartella")),
                      Qt::LeftButton);
    EXPECT_EQ(picker->findChild<QLineEdit*>(QStringLiteral("Text_Path"))->text().toStdString(),
              harness.temp.File("program/Spare"));
    // Up two levels, into "more", and OK.
    auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    tree->setCurrentItem(tree->currentItem()->parent()->parent());
    QTest::keyClick(tree, Qt::Key_Return);
    tree->setCurrentItem(tree->findItems(QStringLiteral("more"), Qt::MatchRecursive).front());
    QTest::keyClick(tree, Qt::Key_Return);
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_Ok")), Qt::LeftButton);
  });
  Click(harness, "Pul_ChangeDirSrc");

  ASSERT_EQ(driver.messages.size(), 1u);
  EXPECT_EQ(driver.messages[0].text,
            "Before clicking this button you must type name for new folder");
  EXPECT_TRUE(driver.messages[0].critical);
  EXPECT_TRUE(FolderExists(harness.temp.File("program/Spare")));
  EXPECT_EQ(Caption(harness, "Label_DirSrc").toStdString(), harness.temp.File("more"));
  EXPECT_EQ(harness.Find<QComboBox>("Combo_Patch")->count(), 1);
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
