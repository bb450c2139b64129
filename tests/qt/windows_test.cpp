// The windows, the main window, the picker and the Patches window, checked by rules over their
// design tables (every control at its box with its caption whole, on the 96 and the 144 dpi run,
// and the tab order) and driven end to end through their real widgets and boxes, over Varnock laid
// out as a user has it.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/history_window_design.h"
#include "app/main_presenter.h"
#include "app/main_window_design.h"
#include "app/patches_window_design.h"
#include "app/window_texts.h"
#include "picker/picker_design.h"
#include "picker/system_picker_environment.h"
#include "qt/design_controls.h"
#include "qt/patches_dialog.h"
#include "qt/picker_dialog.h"
#include "qt/principale.h"
#include "qt/qt_user_interface.h"
#include "qt/twips.h"
#include "support/files.h"
#include "support/message_catalogue.h"
#include "support/paths.h"
#include "support/translation.h"
#include "support/translation_choice.h"
#include "tests/common/demo_install.h"
#include "tools/demo_engine.h"

namespace varnock::testing {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The caption fits its control whole: no letter cut at the side, no line cut at the bottom.
// The access key's mark is no part of the visible text.
QString ExpectCaptionFits(const QWidget* widget) {
  QString caption;
  QSize room;
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    caption = QString(button->text()).remove(QLatin1Char('&'));
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
  } else if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
    caption = QString(box->text()).remove(QLatin1Char('&'));
    QStyleOptionButton option;
    option.initFrom(box);
    room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).size();
  } else {
    const auto* label = qobject_cast<const QLabel*>(widget);
    caption = label->text();
    const int frame = label->frameWidth();
    room = QSize(label->width() - 2 * frame - std::max(label->indent(), 0),
                 label->height() - 2 * frame);
  }
  const QFontMetrics metrics(widget->font());
  EXPECT_LE(metrics.horizontalAdvance(caption), room.width()) << caption.toStdString();
  EXPECT_LE(metrics.height(), room.height() + 2) << caption.toStdString();
  return caption;
}

// The window has the design's fixed size (the Patches window, which the user sizes, the design's
// size at least); every control of the design is in it at its box, with its caption and its
// weight, and the Tab key goes through the shown controls that take the focus in the design's tab
// order.
void ExpectBuiltFromDesign(QWidget* window, const WindowDesign& design, bool folderMode = false) {
  const int height = folderMode ? kPickerFolderModeHeight : design.height;
  // In English every caption fits the design; a longer language may widen the window.
  if (ActiveCatalogue().Size() == 0) {
    EXPECT_EQ(qt::HorizontalStretch(window), 1.0);
  }
  EXPECT_LE(qt::HorizontalStretch(window), 1.6);
  EXPECT_EQ(window->size(), qt::TwipsRect(0, 0, design.width, height, window).size());
  EXPECT_EQ(window->minimumSize(), window->size());
  if (design.controls.data() != kPatchesWindowControls.data()) {
    EXPECT_EQ(window->maximumSize(), window->size()) << "fixed size";
  }
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
    if (!control.caption.empty()) {
      EXPECT_EQ(ExpectCaptionFits(widget), Utf8(Tr(control.caption.data())));
    }
    if (TakesFocus(control.kind) && shown) {
      tabStops.push_back(control);
    }
  }
  std::ranges::stable_sort(tabStops, {}, &ControlDesign::tabIndex);
  QWidget* widget = qt::DesignControl<QWidget>(window, tabStops.front().name);
  for (std::size_t i = 1; i <= tabStops.size(); ++i) {
    do {
      widget = widget->nextInFocusChain();
    } while (!(widget->focusPolicy() & Qt::TabFocus) || widget->isHidden() ||
             widget->parentWidget() != window);
    EXPECT_EQ(widget->objectName(), Utf8(tabStops[i % tabStops.size()].name));
  }
}

// A value field's whole value, as assistive technology reads it.
std::string ValueRead(const QWidget* window, const char* label) {
  QAccessibleTextInterface* value =
      QAccessible::queryAccessibleInterface(qt::DesignControl<QLabel>(window, label))
          ->textInterface();
  return value->text(0, value->characterCount()).toStdString();
}

QString AccessibleName(QObject* control) {
  return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

// What assistive technology reads: the main window is a window; each of its controls has a role
// and a name, and each value field its whole value as text, though a long path shows cut in its
// middle with its file name kept. (The picker's controls are named in the flows that open it.)
TEST(Layout, MainWindowIsBuiltFromItsDesignAndReadWhole) {
  qt::Principale window;
  EXPECT_EQ(window.windowTitle(), Utf8(kMainWindowCaption));
  window.SetDynamicVisible(true);  // the only control hidden at start
  ExpectBuiltFromDesign(&window, kMainWindowDesign);
  // Qt's own buttons speak the language of Varnock's texts (Qt has no pseudo-language).
  const QString yes = QCoreApplication::translate("QPlatformTheme", "&Yes");
  EXPECT_EQ(yes == "&Yes", ActiveLanguage().empty() || ActiveLanguage() == "qps")
      << yes.toStdString();

  // The captions the presenter sets fit for every target program.
  for (const std::string name : {"tomb4", "tom2pc", "winroomedit", "script"}) {
    window.SetCaption(MainLabel::ApplyPatchTo, texts::ApplyPatchToCaption(name));
    ExpectCaptionFits(qt::DesignControl<QWidget>(&window, "Label_ApplyPatchTo"));
    window.SetCaption(MainLabel::CreatedWithVersion, texts::CreatedWithVersionCaption(name));
    ExpectCaptionFits(qt::DesignControl<QWidget>(&window, "Label_CreatedWithVersion"));
    window.SetCaption(MainLabel::CurrentTomb, texts::CurrentTombCaption(name));
    ExpectCaptionFits(qt::DesignControl<QWidget>(&window, "Label_CurrentTomb"));
  }

  const std::string exe = "/games/" + std::string(120, 'x') + "/tomb4.exe";
  window.SetCaption(MainLabel::NomeExe, exe);
  window.SetStatusLine("Status: not applied");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&window)->role(), QAccessible::Window);
  for (const ControlDesign& control : kMainWindowControls) {
    const QAccessibleInterface* shown =
        QAccessible::queryAccessibleInterface(qt::DesignControl<QWidget>(&window, control.name));
    EXPECT_NE(shown->role(), QAccessible::Client) << control.name;
    EXPECT_FALSE(AccessibleName(shown->object()).isEmpty()) << control.name;
  }
  const QString path = qt::DesignControl<QLabel>(&window, "Label_NomeExe")->text();
  EXPECT_TRUE(path.endsWith(QStringLiteral("x\u2026/tomb4.exe"))) << path.toStdString();
  EXPECT_EQ(ValueRead(&window, "Label_NomeExe"), exe);
  EXPECT_EQ(ValueRead(&window, "Label_Status"), "Status: not applied");
}

// The Patches window built from its design, each column's title whole in the list's header.
TEST(Layout, PatchesWindowIsBuiltFromItsDesignWithItsColumnTitlesWhole) {
  qt::PatchesDialog dialog(PatchesRequest{}, nullptr);
  dialog.show();
  ExpectBuiltFromDesign(&dialog, kPatchesWindowDesign);
  const QHeaderView* header =
      qt::DesignControl<QTableView>(&dialog, "List_Patches")->horizontalHeader();
  ASSERT_EQ(header->count(), static_cast<int>(kPatchesColumns.size()));
  for (int column = 0; column < header->count(); ++column) {
    const QString title = header->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(title, Utf8(Tr(kPatchesColumns[static_cast<std::size_t>(column)].caption.data())));
    EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column))
        << "the column title \"" << title.toStdString() << "\" is cut";
  }
}

void Click(const QWidget* window, const char* button) {
  QTest::mouseClick(qt::DesignControl<QPushButton>(window, button), Qt::LeftButton);
}

// Acts on the modal window called `name` that the next click opens, once it runs its loop; one
// that nobody answers fails the test after ten seconds (the watchdog in qt_test_main.cpp).
void OnModal(const QObject* context, const char* name, const std::function<void(QWidget*)>& step) {
  QTimer::singleShot(0, context, [name, step] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_TRUE(modal != nullptr && modal->objectName() == QLatin1String(name)) << name;
    step(modal);
  });
}

// The demonstration patches in the program's folder (loose, or in a bundle appended to a stand-in
// of the program), a copy of the demonstration tomb4.exe in a game folder, and the real main
// window, picker, presenter and boxes over them, loaded and shown; with `openExe`, started with
// the executable named.
AppEnvironment Opening(const DemoInstall& install, bool openExe) {
  AppEnvironment environment = DemoEnvironment(install);
  if (openExe) {
    environment.openedFiles = {install.exe};
  }
  return environment;
}

struct Harness {
  explicit Harness(bool bundled, bool openExe = false)
      : install(InstallDemo(temp, VARNOCK_DEMO_DIR, "varnock", bundled)),
        presenter(window, picker, ui, Opening(install, openExe)) {
    ui.SetMainWindow(&window);
    window.Connect(presenter);
    EXPECT_TRUE(presenter.Load());
    window.ShowCentred();
  }
  std::string Caption(const char* label) const { return ValueRead(&window, label); }
  // The button clicked, and the first line of the plain message box it opens kept and answered.
  void Answered(const char* button) {
    OnModal(&window, "MessageBox", [this](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
      messages.push_back(box->text().section(QLatin1Char('\n'), 0, 0).toStdString());
      box->accept();
    });
    Click(&window, button);
  }

  TempDir temp;
  DemoInstall install;
  qt::QtUserInterface ui;
  qt::Principale window;
  qt::QtPickerWindowHost pickerHost{&window};
  SystemPickerEnvironment pickerEnvironment;
  Dialog_GetFileODir picker{pickerEnvironment, ui, pickerHost};
  MainPresenter presenter;
  std::vector<std::string> messages;
};

// Start-up over a bundle; the patch folder chosen in the picker's folder tree (a new folder
// made, then up two levels, into another folder, and OK; the tree, file list and drive list
// named); the program chosen in the picker's file list; apply, remove, print, and the Close
// button, which deletes the unpacked patches.
TEST(MainWindow, ChoosesAppliesRemovesAndPrintsThroughTheButtons) {
  Harness h(true);
  EXPECT_EQ(qt::DesignControl<QComboBox>(&h.window, "Combo_Patch")->count(), 2);
  EXPECT_FALSE(
      qt::DesignControl<QPlainTextEdit>(&h.window, "Text_Description")->toPlainText().isEmpty());
  const std::string patch = "Patch_ExtraWadTextures.ptc";
  h.temp.Write("more/" + patch, ReadWholeFile(JoinPath(h.install.programFolder, patch)));
  OnModal(&h.window, "Dialog_GetFileODir", [&](QWidget* picker) {
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select folder with patches"));
    ExpectBuiltFromDesign(picker, kPickerDesign, true);
    for (const char* control : {"Dir1", "List_Files", "Drive1"}) {
      EXPECT_FALSE(AccessibleName(qt::DesignControl<QWidget>(picker, control)).isEmpty());
    }
    QTest::keyClicks(qt::DesignControl<QLineEdit>(picker, "Text_PathDir"), " Spare ");
    Click(picker, "Pul_NuovaCartella");
    EXPECT_EQ(qt::DesignControl<QLineEdit>(picker, "Text_Path")->text().toStdString(),
              JoinPath(h.install.programFolder, "Spare"));
    auto* tree = qt::DesignControl<QTreeWidget>(picker, "Dir1");
    tree->setCurrentItem(tree->currentItem()->parent()->parent());
    QTest::keyClick(tree, Qt::Key_Return);
    tree->setCurrentItem(tree->findItems(QStringLiteral("more"), Qt::MatchRecursive).value(0));
    QTest::keyClick(tree, Qt::Key_Return);
    Click(picker, "Pul_Ok");
  });
  Click(&h.window, "Pul_ChangeDirSrc");
  EXPECT_TRUE(FolderExists(JoinPath(h.install.programFolder, "Spare")));
  EXPECT_EQ(h.Caption("Label_DirSrc"), h.temp.File("more"));
  EXPECT_EQ(qt::DesignControl<QComboBox>(&h.window, "Combo_Patch")->count(), 1);
  const Bytes original = ReadWholeFile(h.install.exe);
  OnModal(&h.window, "Dialog_GetFileODir", [](QWidget* picker) {
    ExpectBuiltFromDesign(picker, kPickerDesign);
    qt::DesignControl<QListWidget>(picker, "List_Files")->setCurrentRow(0);
    Click(picker, "Pul_Ok");
  });
  Click(&h.window, "Pul_ChangeTomb");
  EXPECT_EQ(h.Caption("Label_NomeExe"), h.install.exe);
  EXPECT_EQ(h.Caption("Label_TombVersionNow"), tools::kDemoEngineVersion);
  h.Answered("Pul_ApplyPatch");
  const Bytes applied = ReadWholeFile(h.install.exe);
  EXPECT_NE(applied, original);
  h.Answered("Pul_RemovePatch");
  EXPECT_EQ(ReadWholeFile(h.install.exe), original);

  const std::string pdf = h.temp.File("printed.pdf");
  h.window.SetPrintOutputFile(QString::fromStdString(pdf));
  Click(&h.window, "Pul_StampaDescription");
  EXPECT_TRUE(FileExists(pdf));
  h.window.SetPrintOutputFile(QString::fromStdString(h.temp.File("no/printed.pdf")));
  h.Answered("Pul_StampaDescription");
  EXPECT_EQ(h.messages, (std::vector<std::string>{"Ok: applying patch operation has been performed",
                                                  "Ok: removing patch operation has been performed",
                                                  "ERROR trying to print the description"}));

  Click(&h.window, "Pul_Cancel");
  EXPECT_FALSE(h.window.isVisible());
  EXPECT_FALSE(FileExists(JoinPath(h.install.programFolder, "Patch_ExtraWadTextures.ptc")));
  EXPECT_TRUE(FileExists(h.install.program));
}

// A refused drop tells why once the drop has ended, so that the box does not hold the drag's
// source.
TEST(MainWindow, ARefusedDropIsToldAfterTheDrop) {
  Harness h(false);
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(h.temp.Write("notes.txt", Bytes(4))))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  bool dropping = true;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      h.messages.push_back(dropping ? "told while dropping" : "told after the drop");
      box->accept();
    }
  });
  answer.start(5);
  QApplication::sendEvent(&h.window, &enter);
  QApplication::sendEvent(&h.window, &drop);
  dropping = false;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !h.messages.empty(); }));
  EXPECT_EQ(h.messages, std::vector<std::string>{"told after the drop"});
}

// One column of the Patches window's list, top to bottom.
using Cells = std::vector<std::string>;
Cells Column(const QAbstractItemModel* rows, int column, int role = Qt::DisplayRole) {
  Cells cells;
  for (int row = 0; row < rows->rowCount(); ++row) {
    cells.push_back(rows->index(row, column).data(role).toString().toStdString());
  }
  return cells;
}

// The Patches window opened from the main window on the patch it shows (built from its design in
// the layout test): its controls named; the keys on the chosen row; a mark set on a filtered row
// by Space and one by Enter; the list, the description and Close keeping
// to their places as the window grows, the columns sharing the width. Apply changes, asking
// nothing, leaves both patches applied and the keys on the list; F5 and Refresh see the file
// changed by another program; a set saved and opened again through Qt's dialogs marks the rows
// of the executable put back, telling what is missing; History lists the change; the main
// window shows the status once the window has closed.
TEST(PatchesWindow, AppliesTheMarkedPatchesAndKeepsThemAsASet) {
  TempDir data;
  ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);  // the history of this test alone
  Harness h(false, true);
  auto* combo = qt::DesignControl<QComboBox>(&h.window, "Combo_Patch");
  ASSERT_EQ(combo->count(), 2);
  const Cells listed{combo->itemText(0).toStdString(), combo->itemText(1).toStdString()};
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  const QString shown =
      qt::DesignControl<QPlainTextEdit>(&h.window, "Text_Description")->toPlainText();
  const Bytes original = ReadWholeFile(h.install.exe);
  const std::string set = h.temp.File("chosen.ptcset");
  const auto chooseFile = [&set](QWidget* dialog) {
    qobject_cast<QFileDialog*>(dialog)->selectFile(QString::fromStdString(set));
    static_cast<QDialog*>(dialog)->accept();  // through the base, where it is public
  };
  OnModal(&h.window, "PatchesWindow", [&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), Utf8(kPatchesWindowCaption));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog)->role(), QAccessible::Window);
    for (const ControlDesign& control : kPatchesWindowControls) {
      EXPECT_FALSE(AccessibleName(qt::DesignControl<QWidget>(dialog, control.name)).isEmpty())
          << control.name;
    }
    auto* table = qt::DesignControl<QTableView>(dialog, "List_Patches");
    auto* description = qt::DesignControl<QPlainTextEdit>(dialog, "Text_Description");
    const QAbstractItemModel* rows = table->model();
    const auto statuses = [&](const char* state) {
      return QTest::qWaitFor([&] { return Column(rows, 1) == Cells(2, state); });
    };
    EXPECT_EQ(dialog->focusWidget(), table);
    EXPECT_EQ(table->currentIndex().row(), 1);
    EXPECT_EQ(description->toPlainText(), shown);
    EXPECT_EQ(Column(rows, 0), listed);
    EXPECT_TRUE(statuses("not applied"));

    auto* filter = qt::DesignControl<QLineEdit>(dialog, "Text_Filter");
    QTest::keyClicks(filter, "VIDEO");
    EXPECT_EQ(Column(rows, 0), Cells{listed[0]});
    table->setFocus();
    table->setCurrentIndex(rows->index(0, 1));
    EXPECT_TRUE(description->toPlainText().startsWith(QStringLiteral("Extra video memory")));
    QTest::keyClick(table, Qt::Key_Space);
    QTest::keyClick(filter, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(filter, Qt::Key_Backspace);
    EXPECT_EQ(Column(rows, 0, Qt::CheckStateRole), Cells({"2", "0"}));  // 2: checked
    table->setCurrentIndex(rows->index(1, 0));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(Column(rows, 0, Qt::CheckStateRole), Cells({"2", "2"}));

    const QRect list = table->geometry();
    const QRect text = description->geometry();
    auto* close = qt::DesignControl<QWidget>(dialog, "Pul_Close");
    const QRect corner = close->geometry();
    QHeaderView* header = table->horizontalHeader();
    const int patch = header->sectionSize(0);
    const int conflicts = header->sectionSize(2);
    dialog->resize(dialog->size() + QSize(150, 90));
    EXPECT_EQ(table->geometry(), list.adjusted(0, 0, 150, 60));
    EXPECT_EQ(description->geometry(), text.adjusted(0, 60, 150, 90));
    EXPECT_EQ(close->geometry(), corner.translated(150, 90));
    EXPECT_GT(header->sectionSize(0), patch);
    EXPECT_GT(header->sectionSize(2), conflicts);
    EXPECT_EQ(header->length(), table->viewport()->width());

    Click(dialog, "Pul_ApplyChanges");
    EXPECT_TRUE(statuses("applied"));
    EXPECT_EQ(dialog->focusWidget(), table);
    const Bytes applied = ReadWholeFile(h.install.exe);
    EXPECT_NE(applied, original);
    // The executable put back and patched again by another program, seen by F5 and Refresh.
    h.temp.Write("game/tomb4.exe", original);
    QTest::keyClick(table, Qt::Key_F5);
    EXPECT_TRUE(statuses("not applied"));
    EXPECT_EQ(Column(rows, 0, Qt::CheckStateRole), Cells({"0", "0"}));
    h.temp.Write("game/tomb4.exe", applied);
    Click(dialog, "Pul_Refresh");
    EXPECT_TRUE(statuses("applied"));

    OnModal(dialog, "SetFileDialog", chooseFile);
    Click(dialog, "Pul_SaveSet");
    ASSERT_TRUE(FileExists(set));
    h.temp.Write("game/tomb4.exe", original);
    Click(dialog, "Pul_Refresh");
    EXPECT_TRUE(statuses("not applied"));
    std::string told;
    OnModal(dialog, "SetFileDialog", [&](QWidget* files) {
      OnModal(dialog, "MessageBox", [&](QWidget* box) {
        told = qobject_cast<QMessageBox*>(box)->text().toStdString();
        qobject_cast<QMessageBox*>(box)->accept();
      });
      chooseFile(files);
    });
    Click(dialog, "Pul_OpenSet");
    EXPECT_NE(told.find("Missing or changed:"), std::string::npos) << told;
    EXPECT_EQ(Column(rows, 0, Qt::CheckStateRole), Cells({"2", "2"}));
    OnModal(dialog, "HistoryWindow", [&](QWidget* history) {
      ExpectBuiltFromDesign(history, kHistoryWindowDesign);
      EXPECT_EQ(history->windowTitle(), "History of " + Utf8(h.install.exe));
      auto* changes = qt::DesignControl<QListWidget>(history, "List_History");
      ASSERT_EQ(changes->count(), 1);
      EXPECT_TRUE(changes->item(0)->text().contains(
          QString::fromStdString("  batch  " + listed[0] + ", " + listed[1])))
          << changes->item(0)->text().toStdString();
      EXPECT_EQ(changes->currentRow(), 0);
      Click(history, "Pul_CloseHistory");
    });
    Click(dialog, "Pul_History");
    h.temp.Write("game/tomb4.exe", applied);  // as the main window finds it when this closes
    QTest::keyClick(table, Qt::Key_Escape);
  });
  Click(&h.window, "Pul_AllPatches");
  EXPECT_EQ(h.Caption("Label_Status"), "Status: applied");
}

}  // namespace
}  // namespace varnock::testing
