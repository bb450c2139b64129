#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/patch_operation.h"
#include "engine/perform_patch.h"
#include "support/files.h"
#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {

inline constexpr const char* kApplyFailed = "ERROR: cann't applying the patch";
using Names = std::vector<std::string>;

// A user who does something to the files while the argument prompt is open, then answers.
class BusyUser : public RecordingUi {
 public:
  std::function<void()> whileAsked;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override {
    if (whileAsked) {
      whileAsked();
    }
    return RecordingUi::AskText(prompt, title, proposed);
  }
};

// A game folder with tomb4.exe and a patch folder with two patches for it: Patch.ptc changes
// three zones spread over the file, the last one in its final bytes, so that only a whole
// rewrite gives the patched file; Patch#1#.ptc also writes its argument, one byte, at 100.
class FaultTest : public ::testing::Test {
 protected:
  explicit FaultTest(std::size_t size = 64 * 1024) : image(RandomImage(size, 777)) {
    Put(image, 0x3C, {0x80, 0, 0, 0});
    exe = dir.Write(JoinPath("game", "tomb4.exe"), image);
    patch = WritePatchNamed("Patch.ptc", Zones());
    argumentPatch = WritePatchNamed("Patch#1#.ptc", Zones(true));
  }

  PatchRecord Zones(bool withArgument = false) const {
    const auto last = static_cast<std::int32_t>(image.size() - 4);
    PatchRecord record =
        Patch(0, {Zone(100, Slice(100, 4), {1, 2, 3, 4}), Zone(5000, Slice(5000, 2), {5, 6}),
                  Zone(last, Slice(last, 4), {7, 8, 9, 10})});
    if (withArgument) {
      WithArgument(record, NumByte, {100});
    }
    return record;
  }
  Bytes Slice(std::size_t at, std::size_t size) const {
    return Bytes(image.begin() + static_cast<long>(at),
                 image.begin() + static_cast<long>(at + size));
  }
  // The image patched by Patch.ptc.
  Bytes Applied() const {
    Bytes applied = image;
    for (const PatchZone& zone : Zones().Zones) {
      Put(applied, static_cast<std::size_t>(zone.Offset), zone.PatchBytes);
    }
    return applied;
  }
  std::string WritePatchNamed(const std::string& name, const PatchRecord& record) const {
    return dir.Write(JoinPath("patches", name), WritePatch(record));
  }
  ResultCode Apply(const std::string& patchPath) {
    return RunPatchOperation(patchPath, exe, false, loaded, {.ui = ui});
  }
  // Applies Patch.ptc below the closing message, with a fault put in at a hook.
  ResultCode Perform(const WriteFaults& hooks) {
    std::string version;
    return PerformPatch(patch, exe, false, version, loaded, {.ui = ui, .faults = hooks});
  }
  std::string Told() const { return ::testing::PrintToString(ui.Texts()); }
  // A failure told as `start` (the general failure by default) holding `description`, then
  // the closing message.
  void ExpectFailure(const std::string& description, const std::string& start = kGeneralFailure) {
    ASSERT_EQ(ui.messages.size(), 2U) << Told();
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].text.rfind(start, 0), 0U) << Told();
    EXPECT_NE(ui.messages[0].text.find(description), std::string::npos) << Told();
    EXPECT_EQ(ui.messages[1], (RecordedMessage{kApplyFailed, MessageIcon::None}));
  }
  // Files the operation made and left in the game or patch folder.
  Names LeftBehind(const Names& expected = {"tomb4.exe", "Patch.ptc", "Patch#1#.ptc"}) const {
    Names left = Leftovers(dir.File("game"), expected);
    for (const std::string& name : Leftovers(dir.File("patches"), expected)) {
      left.push_back(name);
    }
    return left;
  }

  TempDir dir;
  BusyUser ui;
  Bytes image;
  std::string exe;
  std::string patch;
  std::string argumentPatch;
  PatchRecord loaded;
};

}  // namespace varnock::testing
