#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTreeWidget>

#include "picker/picker_presenter.h"
#include "picker/system_picker_environment.h"
#include "qt/picker_dialog.h"
#include "qt/twips.h"
#include "tests/common/recording_ui.h"
#include "tests/qt/gui_fixture.h"

namespace varnock::testing {
namespace {

struct Design {
  const char* name;
  const char* caption;  // nullptr: not checked
  int left, top, width, height;
};

// The main window's design, from the top of the window down.
const Design kMainWindow[] = {
    {"Pul_ChangeDirSrc", "Patch Folder :", 45, 45, 1860, 285},
    {"Label_DirSrc", nullptr, 2340, 45, 6045, 285},
    {"Label1", "Choose patch:", 90, 495, 1815, 240},
    {"Combo_Patch", nullptr, 2340, 450, 4605, 315},
    {"Label_Dynamic", "Dynamic Patch !", 7020, 495, 1500, 240},
    {"Label_CreatedWithVersion", "From tomb4 version:", 45, 855, 2175, 240},
    {"Label_TombVersion", nullptr, 2340, 855, 6045, 285},
    {"Label3", "Patch description:", 90, 1350, 1725, 240},
    {"Text_Description", nullptr, 2340, 1305, 6045, 960},
    {"Pul_StampaDescription", "Print description", 90, 1845, 2130, 285},
    {"Label_ApplyPatchTo", "Apply patch over following tomb4 program:", 135, 2430, 6720, 240},
    {"Label_NomeExe", nullptr, 90, 2700, 7125, 285},
    {"Pul_ChangeTomb", "Change", 7335, 2700, 1095, 285},
    {"Label_CurrentTomb", "Current tomb4 Version:", 90, 3105, 2220, 240},
    {"Label_TombVersionNow", nullptr, 2340, 3060, 6090, 285},
    {"Pul_ApplyPatch", "APPLY PATCH", 2340, 3645, 2175, 330},
    {"Pul_RemovePatch", "REMOVE PATCH", 4635, 3645, 2175, 330},
    {"Pul_Cancel", "Close", 7335, 3645, 1185, 285},
};

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

// Every caption fits its control whole: no letter cut at the side, no line cut at the bottom.
void ExpectCaptionFits(const QWidget* widget) {
  const QString caption = CaptionOf(widget);
  if (caption.isEmpty()) {
    return;
  }
  const QFontMetrics metrics(widget->font());
  const QSize room = TextRoom(widget);
  EXPECT_LE(metrics.horizontalAdvance(caption), room.width())
      << widget->objectName().toStdString() << " cuts \"" << caption.toStdString() << "\"";
  EXPECT_LE(metrics.height(), room.height() + 2)
      << widget->objectName().toStdString() << " cuts the line of \"" << caption.toStdString()
      << "\"";
}

TEST(Layout, MainWindowHasEveryControlWhereTheDesignPutsIt) {
  MainWindowHarness harness;
  qt::Principale& window = *harness.window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral(" Varnock"));
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.size(), qt::TwipsRect(0, 0, 8685, 4125, &window).size());
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

  for (const Design& design : kMainWindow) {
    SCOPED_TRACE(design.name);
    const auto* widget = harness.Find<QWidget>(design.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(),
              qt::TwipsRect(design.left, design.top, design.width, design.height, &window));
    if (design.caption != nullptr) {
      EXPECT_EQ(CaptionOf(widget), QString::fromLatin1(design.caption));
      ExpectCaptionFits(widget);
    }
  }
}

TEST(Layout, MainWindowLooks) {
  MainWindowHarness harness;
  for (const char* name :
       {"Label_DirSrc", "Label_TombVersion", "Label_NomeExe", "Label_TombVersionNow"}) {
    SCOPED_TRACE(name);
    const auto* label = harness.Find<QLabel>(name);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(0, 64, 0));
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(label->frameShape(), QFrame::Box);
    EXPECT_EQ(label->lineWidth(), 1);
  }
  const auto* description = harness.Find<QPlainTextEdit>("Text_Description");
  EXPECT_TRUE(description->isReadOnly());
  EXPECT_EQ(description->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(description->font().family(), QStringLiteral("Courier"));
  EXPECT_DOUBLE_EQ(description->font().pointSizeF(), 9.75);
  EXPECT_TRUE(QFontInfo(description->font()).fixedPitch());
  EXPECT_EQ(description->palette().color(QPalette::Text), QColor(0, 255, 0));
  EXPECT_EQ(description->palette().color(QPalette::Base), QColor(0, 64, 0));

  const auto* dynamic = harness.Find<QLabel>("Label_Dynamic");
  EXPECT_EQ(dynamic->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_TRUE(dynamic->font().bold());
  EXPECT_TRUE(dynamic->isHidden());
  for (const char* name : {"Label1", "Pul_ApplyPatch", "Pul_RemovePatch"}) {
    EXPECT_TRUE(harness.Find<QWidget>(name)->font().bold()) << name;
  }
  EXPECT_FALSE(harness.Find<QWidget>("Pul_Cancel")->font().bold());
}

TEST(Layout, MainWindowTabsAndReadsFromTheTop) {
  MainWindowHarness harness;
  const char* const expected[] = {"Pul_ChangeDirSrc",      "Combo_Patch",    "Text_Description",
                                  "Pul_StampaDescription", "Pul_ChangeTomb", "Pul_ApplyPatch",
                                  "Pul_RemovePatch",       "Pul_Cancel"};
  QWidget* widget = harness.Find<QWidget>("Pul_ChangeDirSrc");
  for (const char* name : expected) {
    ASSERT_EQ(widget->objectName().toStdString(), name);
    widget = widget->nextInFocusChain();
    while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(harness.window.get()) ||
           widget->parentWidget() != harness.window.get()) {
      widget = widget->nextInFocusChain();
    }
  }
  EXPECT_EQ(widget->objectName(), QStringLiteral("Pul_ChangeDirSrc")) << "the chain wraps";

  // The children, in the order assistive tools read them, go down the window.
  int lastTop = -1;
  for (const QObject* child : harness.window->children()) {
    const auto* control = qobject_cast<const QWidget*>(child);
    if (control == nullptr || control->isWindow()) {
      continue;
    }
    const int row = control->geometry().center().y();
    EXPECT_GE(row + qt::Twips(60, control), lastTop) << control->objectName().toStdString();
    lastTop = std::max(lastTop, row);
  }
}

TEST(Layout, CaptionsForEveryTargetProgramFit) {
  MainWindowHarness harness;
  for (const char* target : {"tomb4", "tom2pc", "winroomedit", "script"}) {
    const std::string name(target);
    harness.window->SetCaption(MainLabel::ApplyPatchTo,
                               "Apply patch to following " + name + " program");
    harness.window->SetCaption(MainLabel::CreatedWithVersion, "From " + name + " version");
    harness.window->SetCaption(MainLabel::CurrentTomb, "Current " + name + " version");
    for (const char* label :
         {"Label_ApplyPatchTo", "Label_CreatedWithVersion", "Label_CurrentTomb"}) {
      ExpectCaptionFits(harness.Find<QWidget>(label));
    }
  }
}

struct PickerDesign {
  const char* name;
  const char* caption;
  int left, top, width, height;
};

const PickerDesign kPicker[] = {
    {"Pul_Ok", "OK", 180, 5760, 1215, 330},
    {"Pul_Cancel", "Cancel", 4500, 5760, 1215, 330},
    {"Dir1", nullptr, 180, 810, 5505, 1890},
    {"Drive1", nullptr, 225, 135, 1995, 315},
    {"Text_Path", nullptr, 180, 5355, 5505, 285},
    {"Pul_NuovaCartella", "New Folder ->", 2475, 135, 1500, 285},
    {"Text_PathDir", nullptr, 4050, 135, 1635, 285},
    {"List_Files", nullptr, 180, 3060, 5505, 2010},
    {"Label_File", "File:", 225, 2790, 5505, 240},
    {"Label1", "Folder:", 225, 540, 5505, 240},
};

class NoHost : public PickerWindowHost {
 public:
  void RunModal(Dialog_GetFileODir&) override {}
};

TEST(Layout, PickerInFileModeAndInFolderMode) {
  TempDir temp;
  SystemPickerEnvironment environment;
  RecordingUi ui;
  NoHost host;
  Dialog_GetFileODir presenter(environment, ui, host);
  presenter.ImpostaValori(temp.path(), true, "*.exe");
  qt::PickerDialog dialog(presenter, nullptr);
  presenter.AttachView(dialog);

  EXPECT_EQ(dialog.size(), qt::TwipsRect(0, 0, 5865, 6240, &dialog).size());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  for (const PickerDesign& design : kPicker) {
    SCOPED_TRACE(design.name);
    auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(design.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(),
              qt::TwipsRect(design.left, design.top, design.width, design.height, &dialog));
    EXPECT_FALSE(widget->isHidden());
    if (design.caption != nullptr) {
      EXPECT_EQ(CaptionOf(widget), QString::fromLatin1(design.caption));
      ExpectCaptionFits(widget);
    }
  }
  for (const char* name : {"Pul_Ok", "Pul_Cancel", "Pul_NuovaCartella"}) {
    const auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_FALSE(button->isDefault() || button->autoDefault()) << name;
  }
  const auto* path = dialog.findChild<QLineEdit*>(QStringLiteral("Text_Path"));
  EXPECT_TRUE(path->isReadOnly());
  EXPECT_EQ(path->palette().color(QPalette::Text), QColor(0, 255, 0));
  EXPECT_EQ(path->palette().color(QPalette::Base), QColor(0, 64, 0));
  for (const char* name : {"List_Files", "Label_File", "Label1"}) {
    const QFont font = dialog.findChild<QWidget*>(QString::fromLatin1(name))->font();
    EXPECT_EQ(font.family(), QStringLiteral("Courier")) << name;
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75) << name;
  }

  presenter.ImpostaValori(temp.path(), false, "*");
  EXPECT_EQ(dialog.height(), qt::Twips(3690, &dialog)) << "4015 twips with a classic frame";
  EXPECT_TRUE(dialog.findChild<QWidget*>(QStringLiteral("List_Files"))->isHidden());
  EXPECT_TRUE(dialog.findChild<QWidget*>(QStringLiteral("Label_File"))->isHidden());
  EXPECT_EQ(path->geometry(), qt::TwipsRect(180, 2790, 5505, 285, &dialog));
  EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("Pul_Ok"))->geometry(),
            qt::TwipsRect(180, 3210, 1215, 330, &dialog));
  EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("Pul_Cancel"))->geometry(),
            qt::TwipsRect(4500, 3210, 1215, 330, &dialog));
  presenter.DetachView();
}

}  // namespace
}  // namespace varnock::testing
