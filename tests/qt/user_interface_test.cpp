#include "qt/qt_user_interface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "app/main_window_design.h"
#include "qt/twips.h"

namespace varnock::testing {
namespace {

// The argument box: its prompt wrapped in a box narrower than the main window that still shows
// its title whole, the proposal offered, the answer returned, and nothing after Cancel; a
// critical message with its lines as Qt shows them.
TEST(QtBoxes, TheInputBoxWrapsItsPromptAndReturnsTheAnswer) {
  qt::QtUserInterface ui;
  const QObject context;
  const std::string prompt =
      "Set argument value\r\n\r\nNote: to remove correctly the patch you should insert same "
      "argument you used to apply this patch, otherwise the removing operation will fail";
  // Each box is answered once it runs its loop.
  QTimer::singleShot(0, &context, [] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    const auto* label = box->findChild<QLabel*>();
    EXPECT_TRUE(label->wordWrap());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(box->width(), qt::Twips(kMainWindowDesign.width, box));
    EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->windowTitle()) * 2);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Input argument"));
    EXPECT_EQ(box->textValue(), QStringLiteral("20"));
    box->setTextValue(QStringLiteral("32"));
    box->accept();
  });
  EXPECT_EQ(ui.AskText(prompt, "Input argument", "20"), std::optional<std::string>("32"));
  QTimer::singleShot(0, &context, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(ui.AskText(prompt, "Input argument", "20"), std::nullopt);
  QTimer::singleShot(0, &context, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("Unit not ready\nsecond line"));
    box->accept();
  });
  ui.ShowMessage("Unit not ready\r\nsecond line", MessageIcon::Critical);
}

}  // namespace
}  // namespace varnock::testing
