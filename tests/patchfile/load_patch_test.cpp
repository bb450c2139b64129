#include "patchfile/load_patch.h"

#include <gtest/gtest.h>

#include <string>

#include "patchfile/patch_reader.h"
#include "patchfile/patch_writer.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/patchfile/largest_allocation.h"
#include "tests/patchfile/patch_bytes.h"

namespace varnock {
namespace {

using testing::PatchBytes;
using testing::RecordingUi;
using testing::SamplePatch;
using testing::TempDir;

std::string LoadFailure(const std::string& path, const std::string& description) {
  return "Error trying to load binary patch from file: " + path +
         "\r\nError mexage: " + description;
}

class LoadPatchTest : public ::testing::Test {
 protected:
  std::string Write(const Bytes& bytes) { return dir.Write("test.ptc", bytes); }

  TempDir dir;
  RecordingUi ui;
  PatchRecord record = SamplePatch();
};

// ---- Files that load ----

TEST_F(LoadPatchTest, EightZeroIntegersAreAnEmptyPatch) {
  const std::string path = Write(Bytes(32, 0));

  ASSERT_TRUE(LoadPatch(path, record, ui));

  EXPECT_EQ(record, PatchRecord{});
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LoadPatchTest, ThreeZoneExampleOfFiveHundredFortyBytesIgnoresItsLastSixBytes) {
  const std::string description(178, 'd');
  PatchBytes file;
  file.Ints({3, 0, 0, 0, 0})
      .Text("LE_UK_P:XP_Standard (11-Nov-2000  15:21)")
      .Text(description)
      .Text("tomb4.exe")
      .Zone(0x8EBB1, {0x40, 0x4B, 0x4C, 0x00}, {0x00, 0x00, 0x40, 0x01})
      .Zone(0x10, {1, 2, 3, 4}, {5, 6, 7, 8})
      .Zone(0x20, {9, 9, 9, 9}, {0, 0, 0, 0})
      .Raw({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x80});
  ASSERT_EQ(file.bytes().size(), 540u);

  ASSERT_TRUE(LoadPatch(Write(file.bytes()), record, ui));

  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(record.ZoneCount, 3);
  EXPECT_EQ(record.Flags, 0);
  EXPECT_TRUE(record.ArgOffsets.empty());
  EXPECT_EQ(record.ExeVersion, "LE_UK_P:XP_Standard (11-Nov-2000  15:21)");
  EXPECT_EQ(record.Description, description);
  EXPECT_EQ(record.ExeName, "tomb4.exe");
  ASSERT_EQ(record.Zones.size(), 3u);
  EXPECT_EQ(record.Zones[0], (PatchZone{0x8EBB1, 4, {0x40, 0x4B, 0x4C, 0}, {0, 0, 0x40, 1}}));
  EXPECT_EQ(record.Zones[2], (PatchZone{0x20, 4, {9, 9, 9, 9}, {0, 0, 0, 0}}));
}

TEST_F(LoadPatchTest, FieldsAreReadInFileOrder) {
  PatchBytes file;
  file.Ints({1, 0x15, 2, 0x1234, -5, 3, 40})
      .Text("V")
      .Text("D\r\nE")
      .Text("tom2pc.exe")
      .Zone(-1, {0xAA}, {0xBB});

  ASSERT_TRUE(LoadPatch(Write(file.bytes()), record, ui));

  EXPECT_EQ(record.ZoneCount, 1);
  EXPECT_EQ(record.Flags, 0x15);
  EXPECT_EQ(record.ArgOffsetCount, 2);
  EXPECT_EQ(record.ArgOffsets, (std::vector<std::int32_t>{0x1234, -5}));
  EXPECT_EQ(record.ArgType, 3);
  EXPECT_EQ(record.ArgMaxLength, 40);
  EXPECT_EQ(record.ExeVersion, "V");
  EXPECT_EQ(record.Description, "D\r\nE");
  EXPECT_EQ(record.ExeName, "tom2pc.exe");
  EXPECT_EQ(record.Zones, (std::vector<PatchZone>{{-1, 1, {0xAA}, {0xBB}}}));
}

// ---- Files that are refused ----

TEST_F(LoadPatchTest, MissingFileIsReportedAndLeavesThePatchUntouched) {
  const std::string path = dir.File("absent.ptc");

  EXPECT_FALSE(LoadPatch(path, record, ui));

  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + path));
  EXPECT_EQ(record, SamplePatch());
}

// Out-of-range sizes are described; strings that cannot be read have an empty description.
TEST_F(LoadPatchTest, RefusedFilesAreDescribed) {
  const struct {
    const char* name;
    Bytes bytes;
    std::string description;
  } cases[] = {
      {"negative zone count", PatchBytes().Ints({-1, 0, 0, 0, 0, 0, 0, 0}).bytes(),
       "out of range size"},
      {"negative argument offset count", PatchBytes().Ints({0, 0, -2, 0, 0, 0, 0, 0}).bytes(),
       "out of range size"},
      {"zone of length 0", PatchBytes().Ints({1, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}).bytes(),
       "out of range size"},
      {"zone of negative length", PatchBytes().Ints({1, 0, 0, 0, 0, 0, 0, 0, 0, -4, 0}).bytes(),
       "out of range size"},
      {"negative string count", PatchBytes().Ints({0, 0, 0, 0, 0, -1}).Text("").Text("").bytes(),
       ""},
      {"typographic apostrophe as a unit",
       PatchBytes().Ints({0, 0, 0, 0, 0}).Text("").Units(u"it\u2019s").Text("").bytes(), ""},
      {"unit 256", PatchBytes().Ints({0, 0, 0, 0, 0}).Text("").Text("").Units(u"\u0100").bytes(),
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui.Clear();
    const std::string path = Write(c.bytes);
    EXPECT_FALSE(LoadPatch(path, record, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    const std::string expected = LoadFailure(path, c.description);
    EXPECT_TRUE(c.description.empty() ? ui.messages[0].text == expected
                                      : ui.messages[0].text.starts_with(expected))
        << ui.messages[0].text;
  }
}

// ---- What a failed load leaves behind ----

TEST_F(LoadPatchTest, FailureInDescriptionKeepsNewFieldsBeforeItAndOldOnesAfter) {
  PatchBytes file;
  file.Ints({1, Dynamic, 1, 0x77, TextString, 12})
      .Text("TP_Standard (16-Oct-2000  10:37)")
      .Units(u"ok\u2019")
      .Text("tom2pc.exe")
      .Zone(5, {1}, {2});

  EXPECT_FALSE(LoadPatch(Write(file.bytes()), record, ui));

  const PatchRecord previous = SamplePatch();
  EXPECT_EQ(record.ZoneCount, 1);
  EXPECT_EQ(record.Zones, std::vector<PatchZone>(1));  // replaced, not yet filled
  EXPECT_EQ(record.Flags, Dynamic);
  EXPECT_EQ(record.ArgOffsets, std::vector<std::int32_t>{0x77});
  EXPECT_EQ(record.ArgType, TextString);
  EXPECT_EQ(record.ArgMaxLength, 12);
  EXPECT_EQ(record.ExeVersion, "TP_Standard (16-Oct-2000  10:37)");
  EXPECT_EQ(record.Description, "ok");  // what was read before the bad unit
  EXPECT_EQ(record.ExeName, previous.ExeName);
}

// ---- Damaged and hostile files ----

TEST_F(LoadPatchTest, FileCutAtAnyByteFailsAsEndingEarly) {
  const Bytes whole = WritePatch(SamplePatch());
  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    ui.Clear();
    PatchRecord loaded = SamplePatch();
    const std::string path = Write(Bytes(whole.begin(), whole.begin() + size));

    EXPECT_FALSE(LoadPatch(path, loaded, ui));

    ASSERT_TRUE(ui.OnlyCritical(LoadFailure(path, kPatchEndsEarly))) << ui.Texts().at(0);
  }
}

// Huge counts of each kind stop the operation in tests/fault; many short zones in a small
// file are not sized by their count either.
TEST_F(LoadPatchTest, ManyZonesInATinyFileFailAtOnce) {
  const std::string path =
      Write(PatchBytes().Ints({100000000, 0, 0, 0, 0, 0, 0, 0}).Raw(Bytes(990, 0)).bytes());
  PatchRecord loaded;
  testing::LargestAllocation allocations;
  EXPECT_FALSE(LoadPatch(path, loaded, ui));
  EXPECT_LT(allocations.Largest(), 64u * 1024u);
  EXPECT_TRUE(ui.OnlyCritical(LoadFailure(path, kPatchEndsEarly))) << ui.Texts().at(0);
  EXPECT_LE(loaded.Zones.size(), 100u);
}

}  // namespace
}  // namespace varnock
