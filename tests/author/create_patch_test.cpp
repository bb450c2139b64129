#include "author/create_patch.h"

#include <gtest/gtest.h>

#include "engine/perform_patch.h"
#include "support/paths.h"
#include "tests/engine/engine_fixture.h"

namespace varnock {
namespace {

using testing::RandomImage;
using testing::ReadBytes;
using testing::RecordingUi;
using testing::TempDir;

// Random bytes whose header offset puts the build date inside the file.
Bytes Executable(std::uint32_t seed = 7) {
  Bytes image = RandomImage(4096, seed);
  testing::Put(image, 0x3C, {0x80, 0, 0, 0});
  return image;
}

class CreatePatchTest : public ::testing::Test {
 protected:
  // Makes the patch from the two images and writes it; false when it was refused.
  bool Create(const Bytes& original, const Bytes& modified, const PatchOptions& options = {},
              const std::string& name = "tomb4.exe") {
    const std::string originalPath = dir_.Write(JoinPath("original", name), original);
    const std::string modifiedPath = dir_.Write(JoinPath("modified", name), modified);
    return CreatePatch(originalPath, modifiedPath, options, patch_, ui_) &&
           WritePatchFile(patchPath_, patch_);
  }

  // Applies or removes the patch on a copy of `exe` and gives the bytes that result.
  Bytes Run(const Bytes& exe, bool removing) {
    const std::string exePath = dir_.Write(JoinPath("target", "tomb4.exe"), exe);
    std::string version;
    PatchRecord loaded;
    EXPECT_EQ(PerformPatch(patchPath_, exePath, removing, version, loaded, ui_), ResultDone);
    return ReadBytes(exePath);
  }

  TempDir dir_;
  const std::string patchPath_ = dir_.File("made.ptc");
  PatchRecord patch_;
  RecordingUi ui_;
};

TEST_F(CreatePatchTest, DifferencesBecomeZonesThatApplyAndRemoveExactly) {
  struct Change {
    std::size_t at;
    std::size_t length;
  };
  const struct {
    const char* name;
    std::vector<Change> changes;
    std::vector<std::pair<std::int32_t, std::int32_t>> zones;  // offset, length
  } cases[] = {
      {"start", {{0, 4}}, {{0, 4}}},
      {"end", {{4094, 2}}, {{4094, 2}}},
      {"eight equal bytes between", {{100, 1}, {109, 1}}, {{100, 10}}},
      {"nine equal bytes between", {{200, 1}, {210, 2}}, {{200, 1}, {210, 2}}},
      {"far apart", {{10, 3}, {3000, 1}}, {{10, 3}, {3000, 1}}},
      {"longer than a zone", {{1000, 600}}, {{1000, 256}, {1256, 256}, {1512, 88}}},
      {"two zones exactly", {{1000, 512}}, {{1000, 256}, {1256, 256}}},
  };
  for (const auto& c : cases) {
    const Bytes original = Executable();
    Bytes modified = original;
    for (const Change& change : c.changes) {
      for (std::size_t i = change.at; i < change.at + change.length; ++i) {
        modified[i] = static_cast<std::uint8_t>(~modified[i]);
      }
    }
    ASSERT_TRUE(Create(original, modified)) << c.name;
    std::vector<std::pair<std::int32_t, std::int32_t>> zones;
    for (const PatchZone& zone : patch_.Zones) {
      zones.emplace_back(zone.Offset, zone.Length);
    }
    EXPECT_EQ(zones, c.zones) << c.name;
    EXPECT_EQ(patch_.Flags, 0);
    EXPECT_EQ(Run(original, false), modified) << c.name;
    EXPECT_EQ(Run(modified, true), original) << c.name;
  }
}

TEST_F(CreatePatchTest, ADynamicPatchFindsItsPlaceInAShiftedBuild) {
  const Bytes original = Executable();
  Bytes modified = original;
  testing::Put(modified, 2000, {1, 2, 3, 4, 5, 6});
  testing::Put(modified, 2100, {7, 8, 9});
  ASSERT_TRUE(Create(original, modified, {"", true, false, ""}));
  EXPECT_EQ(patch_.Flags, Dynamic);

  // Another build: 16 bytes more before the patched code, 16 fewer at the end.
  const auto shifted = [](const Bytes& image) {
    Bytes build(image.begin(), image.begin() + 1000);
    const Bytes inserted = RandomImage(16, 99);
    build.insert(build.end(), inserted.begin(), inserted.end());
    build.insert(build.end(), image.begin() + 1000, image.end() - 16);
    return build;
  };
  EXPECT_EQ(Run(shifted(original), false), shifted(modified));
  EXPECT_EQ(Run(shifted(modified), true), shifted(original));
}

TEST_F(CreatePatchTest, TheTargetItsSignatureAndTheOptionsAreRecorded) {
  const Bytes original = Executable();
  Bytes modified = original;
  modified[3000] ^= 1;
  ASSERT_TRUE(Create(original, modified, {"TOM2PC", false, true, "\xEF\xBB\xBFOne\nTwo\n\n"},
                     "converter copy.exe"));
  EXPECT_EQ(patch_.ExeName, "tom2pc.exe");
  // Probed as the converter, not as a program of unknown name ("??_").
  EXPECT_EQ(patch_.ExeVersion.rfind("TP_M_S:N1F000 (", 0), 0u) << patch_.ExeVersion;
  EXPECT_EQ(patch_.Flags, SameExeVersionOnly);
  EXPECT_EQ(patch_.Description, "One\r\nTwo");
  EXPECT_EQ(patch_.ZoneCount, 1);
  EXPECT_TRUE(ui_.messages.empty());

  ASSERT_TRUE(Create(original, modified, {"", true, true, "Windows\r\nlines\r\n"}));
  EXPECT_EQ(patch_.ExeName, "tomb4.exe");
  EXPECT_EQ(patch_.Flags, Dynamic | SameExeVersionOnly);
  EXPECT_EQ(patch_.Description, "Windows\r\nlines");
  ASSERT_TRUE(Create(original, modified, {"", false, false, "\n"}));
  EXPECT_EQ(patch_.Description, "");
}

TEST_F(CreatePatchTest, WhatCannotBeAPatchIsRefusedWithAClearMessage) {
  const Bytes original = Executable();
  Bytes changed = original;
  changed[50] ^= 1;
  Bytes longer = changed;
  longer.push_back(0);
  const Bytes shorter(changed.begin(), changed.end() - 3);
  const std::string names = "tomb4.exe, tom2pc.exe, winroomedit.exe or script.exe";
  const struct {
    Bytes modified;
    PatchOptions options;
    std::string name;
    std::string message;
  } cases[] = {
      {longer,
       {},
       "tomb4.exe",
       "ERROR: the modified executable is 1 bytes longer than the original (4096 bytes): a "
       "patch never changes the length of a file, so the tail that differs cannot be patched"},
      {shorter,
       {},
       "tomb4.exe",
       "ERROR: the modified executable is 3 bytes shorter than the original (4096 bytes): a "
       "patch never changes the length of a file, so the tail that differs cannot be patched"},
      {original,
       {},
       "tomb4.exe",
       "ERROR: the two executables are identical: there is nothing to patch"},
      {changed,
       {},
       "game.exe",
       "ERROR: cannot tell the target program from game.exe: expected " + names +
           ", or the program named separately"},
      {changed,
       {"tomb5", false, false, ""},
       "tomb4.exe",
       "ERROR: cannot tell the target program from tomb5: expected " + names +
           ", or the program named separately"},
      {changed,
       {"", false, false, "\xCE\xA9"},
       "tomb4.exe",
       "ERROR: the description holds characters that the ANSI code page cannot hold"},
  };
  for (const auto& c : cases) {
    ui_.messages.clear();
    EXPECT_FALSE(Create(original, c.modified, c.options, c.name)) << c.message;
    EXPECT_TRUE(ui_.OnlyCritical(c.message)) << ui_.Texts().front();
  }
  EXPECT_FALSE(CreatePatch(dir_.File(JoinPath("none", "tomb4.exe")),
                           dir_.File(JoinPath("none", "tomb4.exe")), {}, patch_, ui_));
  EXPECT_EQ(ui_.messages.back().text.rfind("ERROR: cannot read the executable " +
                                               dir_.File(JoinPath("none", "tomb4.exe")) +
                                               "\r\nError mexage: ",
                                           0),
            0u);
}

}  // namespace
}  // namespace varnock
