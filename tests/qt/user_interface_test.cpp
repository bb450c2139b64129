#include <gtest/gtest.h>

#include <QInputDialog>
#include <QLabel>

#include "qt/qt_user_interface.h"
#include "tests/qt/modal_driver.h"

namespace varnock::testing {
namespace {

// The argument box: its prompt wrapped in a box narrower than the main window that still shows
// its title whole, the proposal offered, the answer returned, and nothing after Cancel.
TEST(QtBoxes, TheInputBoxWrapsItsPromptAndReturnsTheAnswer) {
  qt::QtUserInterface ui;
  ModalDriver driver;
  const std::string prompt =
      "Set argument value\r\n\r\nNote: to remove correctly the patch you should insert same "
      "argument you used to apply this patch, otherwise the removing operation will fail";
  driver.Then(QStringLiteral("InputBox"), [](QWidget* modal) {
    auto* box = qobject_cast<QInputDialog*>(modal);
    const auto* label = modal->findChild<QLabel*>();
    EXPECT_TRUE(label->wordWrap());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(modal->width(), 8685 * modal->logicalDpiX() / 1440) << "wider than the main window";
    EXPECT_GE(modal->width(), modal->fontMetrics().horizontalAdvance(modal->windowTitle()) * 2);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Input argument"));
    EXPECT_EQ(box->textValue(), QStringLiteral("20"));
    box->setTextValue(QStringLiteral("32"));
    box->accept();
  });
  EXPECT_EQ(ui.AskText(prompt, "Input argument", "20"), std::optional<std::string>("32"));
  driver.Then(QStringLiteral("InputBox"),
              [](QWidget* modal) { qobject_cast<QInputDialog*>(modal)->reject(); });
  EXPECT_EQ(ui.AskText(prompt, "Input argument", "20"), std::nullopt);
  EXPECT_TRUE(driver.Done());
}

}  // namespace
}  // namespace varnock::testing
