#include "app/patches_presenter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>

#include "app/history_keeping.h"
#include "app/language_setting.h"
#include "support/files.h"
#include "support/translation_choice.h"
#include "tests/app/patches_fixture.h"
#include "tests/support/scoped_variable.h"

namespace varnock::testing {
namespace {

class KeptSettings : public SettingsStore {
 public:
  std::string Read(const std::string& name) const override {
    const auto found = kept.find(name);
    return found == kept.end() ? std::string() : found->second;
  }
  void Write(const std::string& name, const std::string& value) override { kept[name] = value; }
  std::map<std::string, std::string> kept;
};

// The languages offered, each in itself, the remembered one chosen; a new choice is kept and
// told once, for the next start, and start-up makes the remembered one the process's.
TEST_F(PatchesPresenterTest, TheLanguageChosenIsKeptForTheNextStart) {
  KeptSettings kept;
  kept.Write(kRememberedLanguage, "de");
  settings = &kept;
  Write("a.ptc", 100, {1, 2});
  Open();
  EXPECT_EQ(view.languages,
            (std::vector<std::string>{"System language", "English", "Deutsch", "Español"}));
  EXPECT_EQ(view.language, 2U);
  presenter->LanguageChosen(2);
  presenter->LanguageChosen(LanguageOptions().size());
  EXPECT_TRUE(ui.messages.empty());
  presenter->LanguageChosen(0);
  EXPECT_EQ(kept.Read(kRememberedLanguage), "");
  presenter->LanguageChosen(3);
  EXPECT_EQ(kept.Read(kRememberedLanguage), "es");
  EXPECT_EQ(ui.messages.size(), 2U);

  const ScopedVariable before("VARNOCK_LANGUAGE", std::nullopt);
  UseRememberedLanguage(kept);
  EXPECT_EQ(ProcessLanguageVariables().chosen, "es");
  kept.Write(kRememberedLanguage, "xx");
  EXPECT_EQ(RememberedLanguageOption(&kept), 0U);
}

// Rows in the order given, statuses in a person's words, conflicts named; the filter narrows by
// name or description, case ignored (the marks of hidden rows are kept in the windows' tests).
TEST_F(PatchesPresenterTest, RowsAndTheFilter) {
  Write("b.ptc", 100, {1, 2}, "Wide SCREEN");
  Write("a.ptc", 200, {3, 4}, "sound");
  Write("c.ptc", 201, {5, 6}, "other sound");
  Put(image, 100, {1, 2});
  dir.Write("tomb4.exe", image);
  Open();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"+b.ptc applied", "a.ptc not applied / c.ptc",
                                              "c.ptc not applied / a.ptc"}));
  const struct {
    std::string filter;
    std::vector<std::string> shown;
  } cases[] = {{"SOUND", {"a.ptc", "c.ptc"}}, {"screen", {"b.ptc"}}, {"c.P", {"c.ptc"}}, {"x", {}}};
  for (const auto& [filter, shown] : cases) {
    presenter->FilterChanged(filter);
    std::vector<std::string> got;
    for (std::size_t i = 0; i < presenter->VisibleCount(); ++i) {
      got.push_back(presenter->RowAt(i).fileName);
    }
    EXPECT_EQ(got, shown) << filter;
  }
}

// Random marks on random statuses: the plan removes the unchecked applied rows last first and
// applies the checked others in list order, in one rewrite; afterwards each row's status is its
// mark and the file holds exactly the patches marked.
TEST_F(PatchesPresenterTest, SeededMarksBecomeTheStatusesInOneRewrite) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    names.clear();
    Bytes start = image;
    Bytes expected = image;
    std::vector<bool> wanted;
    for (int i = 0; i < 8; ++i) {
      const auto offset = static_cast<std::int32_t>(200 + 40 * i);
      const Bytes patched{static_cast<std::uint8_t>(i), 0xEE, static_cast<std::uint8_t>(round)};
      Write("p" + std::to_string(i) + ".ptc", offset, patched);
      if (random() % 2 == 0) {
        Put(start, static_cast<std::size_t>(offset), patched);
      }
      wanted.push_back(random() % 2 == 0);
      if (wanted.back()) {
        Put(expected, static_cast<std::size_t>(offset), patched);
      }
    }
    dir.Write("tomb4.exe", start);
    Open();
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      if (presenter->RowAt(i).checked != wanted[i]) {
        presenter->MarkToggled(i);
      }
    }
    const PatchesPlan plan = presenter->Plan();
    EXPECT_TRUE(std::is_sorted(plan.removals.rbegin(), plan.removals.rend()));
    EXPECT_TRUE(std::is_sorted(plan.applications.begin(), plan.applications.end()));
    EXPECT_EQ(view.applyEnabled, !plan.Empty());
    presenter->ApplyChangesClicked();
    Drain();
    EXPECT_EQ(ReadBytes(exe), expected);
    EXPECT_EQ(presenter->ChangedExecutable(), !plan.Empty());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      EXPECT_EQ(presenter->RowAt(i).checked, wanted[i]) << i;
      EXPECT_EQ(presenter->RowAt(i).status, wanted[i] ? "applied" : "not applied") << i;
    }
    EXPECT_TRUE(ui.messages.empty());
  }
}

// Apply changes asks each argument first, proposing the name's value: an empty answer cancels
// everything; a patch that does not fit fails the whole change with the batch's message. Either
// leaves the file as it was.
TEST_F(PatchesPresenterTest, ArgumentsFirstAndAllOrNothing) {
  Write("Arg#5#.ptc", 100, {0xEE});
  Write("b.ptc", 200, {7, 8});
  Write("bad.ptc", 300, {1, 1}, "", Bytes{0, 0});
  Bytes both = image;
  Put(both, 100, {7});
  Put(both, 200, {7, 8});
  const struct {
    std::vector<std::size_t> marks;
    std::optional<std::string> answer;
    Bytes file;
    std::vector<std::string> messages;
  } cases[] = {
      {{0, 1}, "", image, {}},
      {{1, 2},
       {},
       image,
       {"ERROR: bad.ptc: zone 0 at offset 0x12C holds neither its original nor "
        "its patched bytes"}},
      {{0, 1}, "7", both, {}},
  };
  for (const auto& c : cases) {
    ui.Clear();
    Open();
    for (const std::size_t row : c.marks) {
      presenter->MarkToggled(row);
    }
    ui.QueueAnswer(c.answer);
    presenter->ApplyChangesClicked();
    EXPECT_EQ(ui.Texts(), c.messages);
    EXPECT_EQ(ReadBytes(exe), c.file);
    EXPECT_EQ(presenter->ChangedExecutable(), c.file != image);
    if (c.marks[0] == 0) {
      ASSERT_EQ(ui.questions.size(), 1u);
      EXPECT_EQ(ui.questions[0].prompt, "Set argument value for Arg#5#.ptc");
      EXPECT_EQ(ui.questions[0].proposed, "5");
    }
  }
  Drain();
  EXPECT_EQ(Rows()[0], "+Arg#5#.ptc applied 7");
}

// Undo and restore say what they will do and do nothing when declined; accepted, they take the
// window's changes back and the rows show it. A restore refused because another program changed
// other bytes offers to write Varnock's own bytes back, leaving those. A history that cannot be
// kept is told once.
TEST_F(PatchesPresenterTest, HistoryActionsAskFirst) {
  Write("a.ptc", 100, {1, 2});
  Write("b.ptc", 200, {3, 4});
  Open();
  for (const std::size_t row : {0, 1}) {
    presenter->MarkToggled(row);
    presenter->ApplyChangesClicked();
    Drain();
  }
  const Bytes applied = ReadBytes(exe);
  ASSERT_NE(applied, image);
  view.confirm = false;
  presenter->UndoClicked();
  presenter->RestoreClicked();
  EXPECT_EQ(ReadBytes(exe), applied);
  ASSERT_EQ(view.questions.size(), 2u);
  EXPECT_NE(view.questions[0].find("b.ptc"), std::string::npos) << view.questions[0];
  view.confirm = true;
  presenter->UndoClicked();
  Drain();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"+a.ptc applied", "b.ptc not applied"}));
  Bytes foreign = ReadBytes(exe);
  foreign.back() ^= 0xFF;  // outside every patch
  dir.Write("tomb4.exe", foreign);
  presenter->RefreshClicked();
  view.answers = {true, false};
  presenter->RestoreClicked();  // declined: the statuses it stopped are computed after all
  Drain();
  EXPECT_EQ(ReadBytes(exe), foreign);
  EXPECT_NE(view.questions.back().find("leave the bytes the other program"), std::string::npos);
  view.answers = {true, true};
  presenter->RestoreClicked();
  Drain();
  image.back() ^= 0xFF;
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(ui.messages.size(), 2u);  // the outcomes
  presenter->RestoreClicked();        // nothing stands to be restored: the check says why
  EXPECT_NE(ui.messages.back().text.find("would still differ from its original"), std::string::npos)
      << ui.messages.back().text;
  presenter->HistoryClicked();
  ASSERT_TRUE(view.listing.has_value());
  EXPECT_NE(view.listing->rows.front().find("  batch  a.ptc"), std::string::npos);
  view.confirm = false;
  presenter->UndoClicked();  // the restore is a change of its own: asked, declined
  EXPECT_EQ(view.questions.size(), 8u);
  EXPECT_TRUE(view.questions.back().find("restore of") != std::string::npos)
      << view.questions.back();
  EXPECT_EQ(ReadBytes(exe), image);

  ui.Clear();
  HistoryKeeping nowhere(nullptr, dir.Write("not-a-folder", {}));
  Open(nullptr, &nowhere, false);
  for (const std::size_t row : {0, 1}) {
    Drain();
    presenter->MarkToggled(row);
    presenter->ApplyChangesClicked();
  }
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.starts_with("WARNING: no history is kept for this change: "));
}

// After a change the rows stay as they were while their statuses are computed again: the marks
// kept, the rows changed being checked ("…"), and the line says at once what was done; once
// the statuses are known the marks follow them. Each step: what it does, the rows and the line
// at once, then once computed.
TEST_F(PatchesPresenterTest, RowsKeptWhileCheckedAfterAChange) {
  Write("a.ptc", 100, {1, 2});
  Write("b.ptc", 200, {3, 4});
  Write("c.ptc", 300, {5, 6});
  Put(image, 300, {5, 6});
  dir.Write("tomb4.exe", image);
  Open();
  view.confirm = true;
  const struct {
    std::function<void()> action;
    std::vector<std::string> meanwhile;
    std::string line;
    std::vector<std::string> after;
  } steps[] = {
      {[&] {
         presenter->MarkToggled(0);
         presenter->MarkToggled(2);
         presenter->ApplyChangesClicked();
       },
       {"+a.ptc …", "b.ptc not applied", "c.ptc …"},
       "1 applied, 1 removed",
       {"+a.ptc applied", "b.ptc not applied", "c.ptc not applied"}},
      {[&] { presenter->UndoClicked(); },
       {"+a.ptc …", "b.ptc not applied", "c.ptc …"},
       "Last change undone",
       {"a.ptc not applied", "b.ptc not applied", "+c.ptc applied"}},
      {[&] {
         presenter->MarkToggled(1);
         presenter->ApplyChangesClicked();
       },
       {"a.ptc not applied", "+b.ptc …", "+c.ptc applied"},
       "1 applied",
       {"a.ptc not applied", "+b.ptc applied", "+c.ptc applied"}},
      {[&] { presenter->RestoreClicked(); },
       {"a.ptc not applied", "+b.ptc …", "+c.ptc applied"},
       "Original restored",
       {"a.ptc not applied", "b.ptc not applied", "+c.ptc applied"}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.line);
    step.action();
    EXPECT_EQ(Rows(), step.meanwhile);
    EXPECT_EQ(view.progress, step.line + ". Statuses: 0 of 3");
    EXPECT_FALSE(view.applyEnabled);
    Drain();
    EXPECT_EQ(Rows(), step.after);
    EXPECT_EQ(view.progress, step.line + ".");
  }
  presenter->MarkToggled(0);
  EXPECT_EQ(view.progress, "Apply changes will apply 1 patch.");
}

// Statuses come by chunks, with a wake-up for all that came meanwhile, the progress counted; a
// window closed while they are computed stops the work.
TEST_F(PatchesPresenterTest, StatusesComeByChunks) {
  for (int i = 0; i < 1200; ++i) {
    Write("p" + std::to_string(i) + ".ptc", 8 + 2 * (i % 2000), {1});
  }
  Open(nullptr, nullptr, false);
  EXPECT_EQ(presenter->VisibleCount(), 1200u);
  EXPECT_EQ(presenter->RowAt(0).status, "…");
  EXPECT_EQ(view.progress.substr(0, 10), "Statuses: ");
  presenter.reset();
  Open();
  EXPECT_LE(view.wakeUps, 2 * (1200 / 512 + 2));
  EXPECT_EQ(presenter->RowAt(1199).status, "not applied");
}

// Refresh sees the executable changed outside; a window opened with that status reuses it where
// the files did not change since, and judges again the patch file rewritten meanwhile; rows
// follow the folder, and the selection its patch.
TEST_F(PatchesPresenterTest, RefreshAndKnownStatuses) {
  Write("a.ptc", 100, {1, 2});
  Write("b.ptc", 200, {3, 4});
  Open();
  Bytes changed = image;
  Put(changed, 100, {1, 2});
  dir.Write("tomb4.exe", changed);
  presenter->RefreshClicked();
  Drain();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"+a.ptc applied", "b.ptc not applied"}));
  const FolderStatus known = presenter->Status();
  names.pop_back();
  Write("b.ptc", 100, {1, 2});
  Open(&known);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"+a.ptc applied / b.ptc", "+b.ptc applied / a.ptc"}));
  names = {"b.ptc"};  // a list made before a.ptc came: the rows become the folder's
  Open(nullptr, nullptr, false);
  presenter->RowSelected(0);
  Drain();
  ASSERT_EQ(presenter->VisibleCount(), 2u);
  EXPECT_EQ(presenter->RowAt(static_cast<std::size_t>(view.selected)).fileName, "b.ptc");
}

// Without a program chosen, the progress line and each history button say their own whole
// sentence; with one, the history's texts tell apart a file without history from one another
// program changed, count the same bytes in the restore's question and its refusal, and name
// arguments in words, not as the command line's options. A long history opens as a list.
TEST_F(PatchesPresenterTest, HistoryTextsSayWhatIsTrue) {
  Write("a#7#.ptc", 100, {1, 2});
  const std::string program = exe;
  exe.clear();
  Open(nullptr, nullptr, false);
  EXPECT_EQ(view.progress,
            "Statuses cannot be computed: no program to patch is chosen in the main window.");
  presenter->HistoryClicked();
  presenter->UndoClicked();
  presenter->RestoreClicked();
  ASSERT_EQ(ui.messages.size(), 3u);
  std::set<std::string> told;
  for (const auto& message : ui.messages) {
    told.insert(message.text);
    EXPECT_TRUE(message.text.starts_with("Choose the program to patch in the main window to "))
        << message.text;
    EXPECT_TRUE(message.text.ends_with(".")) << message.text;
  }
  EXPECT_EQ(told.size(), 3u);

  ui.Clear();
  exe = program;
  Open();
  presenter->UndoClicked();
  presenter->HistoryClicked();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text,
            "No history is kept for " + exe + ", so there is no change to undo.");
  EXPECT_EQ(ui.messages[1].text, "No history is kept for " + exe + ".");
  for (int i = 0; i < 100; ++i) {  // applied and removed, 50 times each
    presenter->MarkToggled(0);
    presenter->ApplyChangesClicked();
    Drain();
  }
  view.confirm = false;
  presenter->UndoClicked();
  Bytes foreign = ReadBytes(exe);
  foreign.back() ^= 0xFF;  // outside every patch
  dir.Write("tomb4.exe", foreign);
  ui.Clear();
  presenter->UndoClicked();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Another program changed " + exe +
                                     " since Varnock's last change, so that change cannot be "
                                     "undone.");
  presenter->MarkToggled(0);  // applied again, with another program's byte
  presenter->ApplyChangesClicked();
  Drain();
  view.answers = {true, false};
  presenter->RestoreClicked();
  presenter->HistoryClicked();
  ASSERT_TRUE(view.listing.has_value());
  EXPECT_EQ(view.listing->rows.size(), 101u);
  EXPECT_EQ(view.listing->rows.back().substr(20), "  batch  a#7#.ptc  argument 7");
  std::set<std::string> counts;
  for (const std::string& text : view.questions) {
    SCOPED_TRACE(text);
    EXPECT_EQ(text.find("--"), std::string::npos);
    // Every count of bytes: the digits before " byte".
    for (std::size_t at = text.find(" byte"); at != std::string::npos;
         at = text.find(" byte", at + 1)) {
      std::size_t from = at;
      while (from > 0 && std::isdigit(static_cast<unsigned char>(text[from - 1])) != 0) {
        --from;
      }
      if (from < at) {
        counts.insert(text.substr(from, at - from));
      }
    }
  }
  // Undo and restore: after another program's change between Varnock's, no forced restore is
  // offered, and the refusal names the same count as the question.
  EXPECT_EQ(view.questions.size(), 2u);
  EXPECT_NE(ui.messages.back().text.find("outside the 2 that Varnock changed"), std::string::npos)
      << ui.messages.back().text;
  EXPECT_EQ(counts, std::set<std::string>{"2"});
  EXPECT_NE(view.questions[1].find("(a#7#.ptc, argument 7)"), std::string::npos)
      << view.questions[1];
}

}  // namespace
}  // namespace varnock::testing
