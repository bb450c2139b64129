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

QString CaptionOf(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    return label->text();
  }
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    // The access key's mark is no part of the visible text.
    return QString(button->text()).remove(QLatin1Char('&'));
  }
  return {};
}

// The room a caption has inside its control, in pixels.
QSize TextRoom(const QWidget* widget) {
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
  }
  const auto* label = qobject_cast<const QLabel*>(widget);
  const int frame = label->frameWidth();
  const int indent = label->indent() > 0 ? label->indent() : 0;
  return QSize(label->width() - 2 * frame - indent, label->height() - 2 * frame);
}

// The caption fits its control whole: no letter cut at the side, no line cut at the bottom.
void ExpectCaptionFits(const QWidget* widget) {
  const QString caption = CaptionOf(widget);
  const QFontMetrics metrics(widget->font());
  const QSize room = TextRoom(widget);
  EXPECT_LE(metrics.horizontalAdvance(caption), room.width())
      << widget->objectName().toStdString() << " cuts \"" << caption.toStdString() << "\"";
  EXPECT_LE(metrics.height(), room.height() + 2)
      << widget->objectName().toStdString() << " cuts the line of \"" << caption.toStdString()
      << "\"";
}

// Every control of the design is in the window at its box, with its caption whole and its font,
// and the Tab key goes through the controls that take the focus in the design's tab order.
void ExpectBuiltFromDesign(QWidget* window, const WindowDesign& design, bool folderMode = false) {
  std::vector<ControlDesign> tabStops;
  for (const ControlDesign& control : design.controls) {
    SCOPED_TRACE(std::string(control.name));
    const auto* widget = qt::DesignControl<QWidget>(window, control.name);
    ASSERT_NE(widget, nullptr);
    const TwipsBox box = folderMode ? BoxInMode(control, true) : control.box;
    EXPECT_EQ(widget->geometry(), qt::TwipsRect(box.left, box.top, box.width, box.height, window));
    EXPECT_EQ(widget->font().bold(), control.font == ControlFont::Bold);
    if (control.font == ControlFont::Courier) {
      EXPECT_EQ(widget->font().family(), QStringLiteral("Courier"));
      EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), 9.75);
    }
    if (!control.caption.empty()) {
      EXPECT_EQ(CaptionOf(widget), Latin1(control.caption));
      ExpectCaptionFits(widget);
    }
    if (TakesFocus(control.kind) && (!folderMode || ShownInMode(control, true))) {
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
    EXPECT_EQ(widget->objectName(), Latin1(tabStops[i % tabStops.size()].name))
        << "after " << tabStops[i - 1].name;
  }
}

TEST(Layout, MainWindowIsBuiltFromItsDesign) {
  MainWindowHarness harness;
  qt::Principale& window = *harness.window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral(" Varnock"));
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.size(), qt::TwipsRect(0, 0, 8685, 4125, &window).size());
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
  EXPECT_FALSE(window.windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  ExpectBuiltFromDesign(&window, kMainWindowDesign);
  EXPECT_TRUE(harness.Find<QWidget>("Label_Dynamic")->isHidden());
  EXPECT_EQ(window.focusWidget(), harness.Find<QWidget>("Combo_Patch"));
}

TEST(Layout, ValuesShowGreenOnDarkGreenAndTheMarkerRed) {
  MainWindowHarness harness;
  for (const ControlDesign& control : kMainWindowControls) {
    const auto* widget = harness.Find<QWidget>(std::string(control.name).c_str());
    if (control.kind == ControlKind::ValueLabel || control.kind == ControlKind::ValueArea) {
      EXPECT_EQ(widget->palette().color(QPalette::Text), QColor(0, 255, 0)) << control.name;
      EXPECT_EQ(widget->palette().color(QPalette::Base), QColor(0, 64, 0)) << control.name;
      EXPECT_TRUE(widget->autoFillBackground()) << control.name;
    }
  }
  EXPECT_EQ(harness.Find<QLabel>("Label_Dynamic")->palette().color(QPalette::WindowText),
            QColor(255, 0, 0));
}

TEST(Layout, CaptionsForEveryTargetProgramAndLongTextsFit) {
  MainWindowHarness harness;
  for (const std::string name : {"tomb4", "tom2pc", "winroomedit", "script"}) {
    harness.window->SetCaption(MainLabel::ApplyPatchTo,
                               "Apply patch to following " + name + " program");
    harness.window->SetCaption(MainLabel::CreatedWithVersion, "From " + name + " version");
    harness.window->SetCaption(MainLabel::CurrentTomb, "Current " + name + " version");
    for (const char* label :
         {"Label_ApplyPatchTo", "Label_CreatedWithVersion", "Label_CurrentTomb"}) {
      ExpectCaptionFits(harness.Find<QWidget>(label));
    }
  }
  // A status longer than the window: cut with an ellipsis, whole in the tooltip.
  const std::string status = "Status: does-not-fit - conflicts with " + std::string(200, 'x');
  harness.window->SetStatusLine(status);
  const auto* line = harness.Find<QLabel>("Label_Status");
  EXPECT_TRUE(line->text().endsWith(QChar(0x2026)));
  ExpectCaptionFits(line);
  EXPECT_EQ(line->toolTip().toStdString(), status);
  harness.window->SetStatusLine("Status: applied");
  EXPECT_EQ(line->text(), QStringLiteral("Status: applied"));
  EXPECT_TRUE(line->toolTip().isEmpty());
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
  EXPECT_EQ(dialog.size(), qt::TwipsRect(0, 0, 5865, 6240, &dialog).size());
  EXPECT_FALSE(dialog.windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  ExpectBuiltFromDesign(&dialog, kPickerDesign);

  presenter.ImpostaValori(temp.path(), false, "*");
  EXPECT_EQ(dialog.height(), qt::Twips(kPickerFolderModeHeight, &dialog));
  for (const ControlDesign& control : kPickerControls) {
    EXPECT_EQ(qt::DesignControl<QWidget>(&dialog, control.name)->isHidden(),
              !ShownInMode(control, true))
        << control.name;
  }
  ExpectBuiltFromDesign(&dialog, kPickerDesign, true);
  presenter.DetachView();
}

}  // namespace
}  // namespace varnock::testing
