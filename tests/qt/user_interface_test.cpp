#include <gtest/gtest.h>

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "qt/qt_user_interface.h"
#include "tests/qt/modal_driver.h"

namespace varnock::testing {
namespace {

TEST(QtBoxes, MessagesShowTheirTextIconAndOneOkButton) {
  qt::QtUserInterface ui;
  ModalDriver driver;
  int buttons = 0;
  driver.Then(QStringLiteral("MessageBox"), [&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    buttons = static_cast<int>(box->buttons().size());
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("first line\nsecond line"));
    box->button(QMessageBox::Ok)->click();
  });
  ui.ShowMessage("first line\r\nsecond line", MessageIcon::Critical);
  driver.Then(QStringLiteral("MessageBox"), [](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    box->button(QMessageBox::Ok)->click();
  });
  ui.ShowMessage("plain", MessageIcon::None);
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(driver.Done());
}

TEST(QtBoxes, TheInputBoxShowsPromptTitleAndProposalAndReturnsTheAnswer) {
  qt::QtUserInterface ui;
  ModalDriver driver;
  driver.Then(QStringLiteral("InputBox"), [](QWidget* modal) {
    auto* box = qobject_cast<QInputDialog*>(modal);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Patch argument"));
    EXPECT_EQ(box->labelText(), QStringLiteral("Type the value"));
    EXPECT_EQ(box->textValue(), QStringLiteral("20"));
    box->setTextValue(QStringLiteral("32"));
    box->accept();
  });
  EXPECT_EQ(ui.AskText("Type the value", "Patch argument", "20"), std::optional<std::string>("32"));
  driver.AnswerInput(QStringLiteral("ignored"), true);
  EXPECT_EQ(ui.AskText("Type the value", "Patch argument", "20"), std::nullopt);
}

TEST(QtBoxes, ALongPromptWrapsInABoxNarrowerThanTheMainWindowThatShowsItsTitle) {
  qt::QtUserInterface ui;
  ModalDriver driver;
  driver.Then(QStringLiteral("InputBox"), [](QWidget* modal) {
    const auto* label = modal->findChild<QLabel*>();
    EXPECT_TRUE(label->wordWrap());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(modal->width(), 8685 * modal->logicalDpiX() / 1440) << "wider than the main window";
    EXPECT_GE(modal->width(), modal->fontMetrics().horizontalAdvance(modal->windowTitle()) * 2);
    qobject_cast<QInputDialog*>(modal)->reject();
  });
  ui.AskText(
      "Set argument value\r\n\r\nNote: to remove correctly the patch you should insert "
      "same argument you used to apply this patch, otherwise the removing operation will "
      "fail",
      "Input argument", "20");
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
