#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/history_keeping.h"
#include "app/patches_presenter.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {

// A Patches window that remembers what it was told; its wake-ups are counted and waited for.
class FakePatchesView : public PatchesView {
 public:
  void ResetRows(std::size_t count, int selectedRow, bool) override {
    shown = count;
    selected = selectedRow;
  }
  void UpdateRows(std::size_t, std::size_t) override {}
  void SetDescription(const std::string& text) override { description = text; }
  void SetProgress(const std::string& text) override { progress = text; }
  void SetApplyEnabled(bool enabled) override { applyEnabled = enabled; }
  void SetKeepHistory(bool) override {}
  void SetLanguages(const std::vector<std::string>& names, std::size_t chosen) override {
    languages = names;
    language = chosen;
  }
  void ShowHistory(const HistoryListing& given) override { listing = given; }
  bool Confirm(const std::string& text, const std::string&) override {
    questions.push_back(text);
    if (!answers.empty()) {
      const bool answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    }
    return confirm;
  }
  // The next queued path, with the dialog and folder recorded; cancelled when none is queued.
  std::string AskSetPath(SetFileDialog dialog, const std::string& folder) override {
    dialogs.push_back((dialog == SetFileDialog::Save ? "save in " : "open in ") + folder);
    std::string path;
    if (!setPaths.empty()) {
      path = setPaths.front();
      setPaths.erase(setPaths.begin());
    }
    return path;
  }
  void WakeUp() override {
    const std::lock_guard lock(mutex);
    ++wakeUps;
    woken.notify_all();
  }
  void CloseWindow() override { ++closed; }

  int WakeUps() {
    const std::lock_guard lock(mutex);
    return wakeUps;
  }
  // Waits for a wake-up after the first `seen`; false after a long wait.
  bool WaitForWakeUp(int seen) {
    std::unique_lock lock(mutex);
    return woken.wait_for(lock, std::chrono::seconds(20), [&] { return wakeUps > seen; });
  }

  std::size_t shown = 0;
  int selected = -1;
  std::string description;
  std::string progress;
  bool applyEnabled = false;
  bool confirm = false;
  std::vector<bool> answers;  // given before `confirm`, first first
  std::vector<std::string> questions;
  std::vector<std::string> languages;
  std::size_t language = 0;
  std::optional<HistoryListing> listing;
  std::vector<std::string> setPaths;  // the answers of the set dialogs, first first
  std::vector<std::string> dialogs;
  int closed = 0;
  std::mutex mutex;
  std::condition_variable woken;
  int wakeUps = 0;  // guarded by mutex
};

// A folder of one-zone patches, each at its own place of the image, the executable beside it.
class PatchesPresenterTest : public ImageTest {
 protected:
  PatchesPresenterTest() { std::filesystem::create_directory(folder); }
  // Patch `name` writing `patched` at `offset`; `description` as given.
  void Write(const std::string& name, std::int32_t offset, const Bytes& patched,
             const std::string& description = "a patch", std::optional<Bytes> original = {}) {
    PatchRecord record =
        Patch(0, {Zone(offset, original.value_or(Slice(offset, patched.size())), patched)});
    record.Description = description;
    if (name.find('#') != std::string::npos) {
      WithArgument(record, NumByte, {offset});
    }
    ASSERT_TRUE(WritePatchFile(JoinPath(folder, name), record));
    names.push_back(name);
  }
  void Open(const FolderStatus* known = nullptr, HistoryKeeping* keeping = nullptr,
            bool drain = true) {
    presenter = std::make_unique<PatchesPresenter>(
        view, ui,
        PatchesRequest{folder, exe, names, known, settings, keeping ? keeping : &history, "", "",
                       setPath});
    presenter->Open();
    if (drain) {
      Drain();
    }
  }
  // Takes the results as the window would until every status is known.
  void Drain() {
    for (;;) {
      const int seen = view.WakeUps();
      presenter->TakeResults();
      if (!presenter->Status().entries.empty()) {
        return;
      }
      ASSERT_TRUE(view.WaitForWakeUp(seen)) << view.progress;
    }
  }
  // The rows shown, as "name status" with "+" for a checked one.
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < presenter->VisibleCount(); ++i) {
      const PatchRow row = presenter->RowAt(i);
      rows.push_back((row.checked ? "+" : "") + row.fileName + " " + row.status +
                     (row.argument.empty() ? "" : " " + row.argument) +
                     (row.conflicts.empty() ? "" : " / " + row.conflicts));
    }
    return rows;
  }

  std::string folder = dir.File("patches");
  std::vector<std::string> names;
  std::string setPath;  // opened with the window
  FakePatchesView view;
  HistoryKeeping history{nullptr, dir.File("history")};
  std::unique_ptr<PatchesPresenter> presenter;
  SettingsStore* settings = nullptr;
};

}  // namespace varnock::testing
