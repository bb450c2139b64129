#include "patchfile/load_patch.h"

#include <gtest/gtest.h>

#include <string>

#include "patchfile/patch_reader.h"
#include "patchfile/patch_writer.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
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

// Every field distinct and read in file order over the previous patch; bytes after the last
// zone are ignored; eight zero integers are an empty patch.
TEST_F(LoadPatchTest, FieldsAreReadInFileOrderAndEightZerosAreAnEmptyPatch) {
  const PatchRecord expected{
      .Flags = 0x15,
      .ArgOffsets = {0x1234, -5},
      .ArgType = 3,
      .ArgMaxLength = 40,
      .ExeVersion = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)",
      .Description = "D\r\n" + std::string(178, 'd'),
      .ExeName = "tom2pc.exe",
      .Zones = {{-1, 1, {0xAA}, {0xBB}}, {0x8EBB1, 4, {0x40, 0x4B, 0x4C, 0}, {0, 0, 0x40, 1}}}};
  PatchBytes file;
  file.Ints({2, 0x15, 2, 0x1234, -5, 3, 40})
      .Text(expected.ExeVersion)
      .Text(expected.Description)
      .Text("tom2pc.exe")
      .Zone(-1, {0xAA}, {0xBB})
      .Zone(0x8EBB1, {0x40, 0x4B, 0x4C, 0x00}, {0x00, 0x00, 0x40, 0x01})
      .Raw({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x80});

  ASSERT_TRUE(LoadPatch(Write(file.bytes()), record, ui));
  EXPECT_EQ(record, expected);
  ASSERT_TRUE(LoadPatch(Write(Bytes(32, 0)), record, ui));
  EXPECT_EQ(record, PatchRecord{});
  EXPECT_TRUE(ui.messages.empty());
}

// Out-of-range sizes are described; strings that cannot be read have an empty description.
TEST_F(LoadPatchTest, RefusedFilesAreDescribed) {
  const std::pair<Bytes, std::string> cases[] = {
      {PatchBytes().Ints({-1, 0, 0, 0, 0, 0, 0, 0}).bytes(), "out of range size"},
      {PatchBytes().Ints({0, 0, -2, 0, 0, 0, 0, 0}).bytes(), "out of range size"},
      {PatchBytes().Ints({1, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}).bytes(), "out of range size"},
      {PatchBytes().Ints({0, 0, 0, 0, 0, -1}).Text("").Text("").bytes(), ""},
      {PatchBytes().Ints({0, 0, 0, 0, 0}).Text("").Text("").Units(u"\u0100").bytes(), ""},
  };
  for (const auto& [bytes, description] : cases) {
    SCOPED_TRACE(description + ::testing::PrintToString(bytes));
    ui.Clear();
    const std::string path = Write(bytes);
    EXPECT_FALSE(LoadPatch(path, record, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    const std::string expected = LoadFailure(path, description);
    EXPECT_TRUE(description.empty() ? ui.messages[0].text == expected
                                    : ui.messages[0].text.starts_with(expected))
        << ui.messages[0].text;
  }
}

// A unit beyond the code page in the description: the fields before it hold the new file's
// values, the description what was read before the bad unit, the fields after it the old ones.
TEST_F(LoadPatchTest, FailureInDescriptionKeepsNewFieldsBeforeItAndOldOnesAfter) {
  PatchBytes file;
  file.Ints({1, Dynamic, 1, 0x77, TextString, 12})
      .Text("TP_Standard (16-Oct-2000  10:37)")
      .Units(u"ok\u2019")
      .Text("tom2pc.exe")
      .Zone(5, {1}, {2});
  const std::string path = Write(file.bytes());
  EXPECT_FALSE(LoadPatch(path, record, ui));
  EXPECT_TRUE(ui.OnlyCritical(LoadFailure(path, "")));

  const PatchRecord expected{.Flags = Dynamic,
                             .ArgOffsets = {0x77},
                             .ArgType = TextString,
                             .ArgMaxLength = 12,
                             .ExeVersion = "TP_Standard (16-Oct-2000  10:37)",
                             .Description = "ok",
                             .ExeName = SamplePatch().ExeName,
                             .Zones = std::vector<PatchZone>(1)};  // replaced, not yet filled
  EXPECT_EQ(record, expected);
}

// Huge counts of each kind are refused before anything is sized by them in tests/fault. A patch
// without zones ends with its program's name: a cut there fails as well.
TEST_F(LoadPatchTest, FileCutAtAnyByteFailsAsEndingEarly) {
  PatchRecord zoneless = SamplePatch();
  zoneless.Zones = {};
  for (const PatchRecord& patch : {SamplePatch(), zoneless}) {
    const Bytes whole = WritePatch(patch);
    for (std::size_t size = 0; size < whole.size(); ++size) {
      SCOPED_TRACE(size);
      ui.Clear();
      const std::string path = Write(Bytes(whole.begin(), whole.begin() + size));
      EXPECT_FALSE(LoadPatch(path, record, ui));
      ASSERT_TRUE(ui.OnlyCritical(LoadFailure(path, kPatchEndsEarly))) << ui.Texts().at(0);
    }
  }
}

}  // namespace
}  // namespace varnock
