#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "tests/qt/gui_fixture.h"
#include "tests/qt/modal_driver.h"

namespace varnock::testing {
namespace {

// Pictures of the windows for a person to look at, in the build's screenshots folder. The
// test checks that they were written and are not blank.
void ExpectPicture(const QString& path, const QSize& size) {
  const QImage image(path);
  ASSERT_FALSE(image.isNull()) << path.toStdString();
  EXPECT_EQ(image.size() / image.devicePixelRatio(), size);
  EXPECT_GT(image.pixelColor(image.width() / 2, image.height() / 2).alpha(), 0);
}

TEST(Screenshots, MainWindowAndPickerInBothModes) {
  MainWindowHarness harness;
  harness.temp.WriteText("game/tomb4_backup.exe", "MZ");
  harness.temp.WriteText("game/Levels/readme.txt", "x");
  ASSERT_TRUE(harness.Load());
  ModalDriver driver;
  QString filePicker;
  QString folderPicker;
  QSize filePickerSize;
  QSize folderPickerSize;
  driver.Then(QStringLiteral("Dialog_GetFileODir"), [&](QWidget* picker) {
    auto* files = picker->findChild<QListWidget*>(QStringLiteral("List_Files"));
    files->setCurrentRow(0);
    filePicker = SaveScreenshot(picker, QStringLiteral("picker-file-mode"));
    filePickerSize = picker->size();
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_Ok")), Qt::LeftButton);
  });
  QTest::mouseClick(harness.Find<QPushButton>("Pul_ChangeTomb"), Qt::LeftButton);
  driver.Then(QStringLiteral("Dialog_GetFileODir"), [&](QWidget* picker) {
    folderPicker = SaveScreenshot(picker, QStringLiteral("picker-folder-mode"));
    folderPickerSize = picker->size();
    QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("Pul_Cancel")),
                      Qt::LeftButton);
  });
  QTest::mouseClick(harness.Find<QPushButton>("Pul_ChangeDirSrc"), Qt::LeftButton);
  harness.window->SetStatusLine(
      "Status: applied \xE2\x80\x94 conflicts with Patch_ExtraWadTextures.ptc");
  const QString main = SaveScreenshot(harness.window.get(), QStringLiteral("main-window"));

  ExpectPicture(main, harness.window->size());
  ExpectPicture(filePicker, filePickerSize);
  ExpectPicture(folderPicker, folderPickerSize);
  EXPECT_LT(folderPickerSize.height(), filePickerSize.height());
  EXPECT_TRUE(driver.unexpected.empty());
}

}  // namespace
}  // namespace varnock::testing
