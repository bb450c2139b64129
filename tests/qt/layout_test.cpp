// The windows as their design tables describe them, checked by rules over those tables: every
// control at its box with its caption whole (on the 96 and the 144 dpi run), the tab order.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <algorithm>
#include <vector>

#include "app/main_window_design.h"
#include "picker/picker_design.h"
#include "qt/design_controls.h"
#include "qt/twips.h"
#include "tests/common/recording_ui.h"
#include "tests/qt/gui_fixture.h"

namespace varnock::testing {
namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<int>(text.size()));
}

// The caption fits its control whole: no letter cut at the side, no line cut at the bottom.
// The access key's mark is no part of the visible text.
void ExpectCaptionFits(const QWidget* widget, const QString& expected = {}) {
  QString caption;
  QSize room;
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    caption = QString(button->text()).remove(QLatin1Char('&'));
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
  } else {
    const auto* label = qobject_cast<const QLabel*>(widget);
    caption = label->text();
    const int frame = label->frameWidth();
    room = QSize(label->width() - 2 * frame - std::max(label->indent(), 0),
                 label->height() - 2 * frame);
  }
  if (!expected.isEmpty()) {
    EXPECT_EQ(caption, expected);
  }
  const QFontMetrics metrics(widget->font());
  EXPECT_LE(metrics.horizontalAdvance(caption), room.width()) << caption.toStdString();
  EXPECT_LE(metrics.height(), room.height() + 2) << caption.toStdString();
}

// Every control of the design is in the window at its box, with its caption and its font, and
// the Tab key goes through the shown controls that take the focus in the design's tab order.
void ExpectBuiltFromDesign(QWidget* window, const WindowDesign& design, bool folderMode = false) {
  EXPECT_FALSE(window->windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  std::vector<ControlDesign> tabStops;
  for (const ControlDesign& control : design.controls) {
    SCOPED_TRACE(std::string(control.name));
    const auto* widget = qt::DesignControl<QWidget>(window, control.name);
    ASSERT_NE(widget, nullptr);
    const bool shown = ShownInMode(control, folderMode);
    EXPECT_EQ(widget->isHidden(), !shown);
    const TwipsBox box = BoxInMode(control, folderMode);
    EXPECT_EQ(widget->geometry(), qt::TwipsRect(box.left, box.top, box.width, box.height, window));
    EXPECT_EQ(widget->font().bold(), control.font == ControlFont::Bold);
    if (control.font == ControlFont::Courier) {
      EXPECT_EQ(widget->font().family(), QStringLiteral("Courier"));
    }
    if (!control.caption.empty()) {
      ExpectCaptionFits(widget, Latin1(control.caption));
    }
    if (TakesFocus(control.kind) && shown) {
      tabStops.push_back(control);
    }
  }
  std::stable_sort(tabStops.begin(), tabStops.end(),
                   [](const auto& a, const auto& b) { return a.tabIndex < b.tabIndex; });
  QWidget* widget = qt::DesignControl<QWidget>(window, tabStops.front().name);
  for (std::size_t i = 1; i <= tabStops.size(); ++i) {
    do {
      widget = widget->nextInFocusChain();
    } while (!(widget->focusPolicy() & Qt::TabFocus) || widget->isHidden() ||
             widget->parentWidget() != window);
    EXPECT_EQ(widget->objectName(), Latin1(tabStops[i % tabStops.size()].name));
  }
}

TEST(Layout, MainWindowIsBuiltFromItsDesign) {
  MainWindowHarness harness;
  qt::Principale& window = *harness.window;
  EXPECT_EQ(window.windowTitle(), Latin1(kMainWindowCaption));
  EXPECT_EQ(window.size(),
            qt::TwipsRect(0, 0, kMainWindowDesign.width, kMainWindowDesign.height, &window).size());
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
  harness.Find<QWidget>("Label_Dynamic")->show();  // the only control hidden at start
  ExpectBuiltFromDesign(&window, kMainWindowDesign);

  // The captions the presenter sets fit for every target program.
  for (const std::string name : {"tomb4", "tom2pc", "winroomedit", "script"}) {
    window.SetCaption(MainLabel::ApplyPatchTo, "Apply patch to following " + name + " program");
    window.SetCaption(MainLabel::CreatedWithVersion, "From " + name + " version");
    window.SetCaption(MainLabel::CurrentTomb, "Current " + name + " version");
    for (const char* label :
         {"Label_ApplyPatchTo", "Label_CreatedWithVersion", "Label_CurrentTomb"}) {
      ExpectCaptionFits(harness.Find<QWidget>(label));
    }
  }
}

class NoHost : public PickerWindowHost {
 public:
  void RunModal(Dialog_GetFileODir&) override {}
};

TEST(Layout, PickerIsBuiltFromItsDesignInBothModes) {
  TempDir temp;
  SystemPickerEnvironment environment;
  RecordingUi ui;
  NoHost host;
  Dialog_GetFileODir presenter(environment, ui, host);
  presenter.ImpostaValori(temp.path(), true, "*.exe");
  qt::PickerDialog dialog(presenter, nullptr);
  presenter.AttachView(dialog);
  EXPECT_EQ(dialog.size(),
            qt::TwipsRect(0, 0, kPickerDesign.width, kPickerDesign.height, &dialog).size());
  ExpectBuiltFromDesign(&dialog, kPickerDesign);
  presenter.ImpostaValori(temp.path(), false, "*");
  EXPECT_EQ(dialog.height(), qt::Twips(kPickerFolderModeHeight, &dialog));
  ExpectBuiltFromDesign(&dialog, kPickerDesign, true);
  presenter.DetachView();
}

}  // namespace
}  // namespace varnock::testing
