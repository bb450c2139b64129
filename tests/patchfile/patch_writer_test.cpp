#include "patchfile/patch_writer.h"

#include <gtest/gtest.h>

#include "patchfile/load_patch.h"
#include "support/paths.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/patchfile/patch_bytes.h"

namespace varnock {
namespace {

using testing::PatchBytes;
using testing::RecordingUi;
using testing::SamplePatch;
using testing::TempDir;

TEST(PatchWriterTest, WritesTheFieldsInFileOrder) {
  PatchRecord record;
  record.ZoneCount = 1;
  record.Flags = Dynamic | RecordAlignment;
  record.ArgOffsetCount = 1;
  record.ArgOffsets = {0x10203};
  record.ArgType = NumLong;
  record.ArgMaxLength = -1;
  record.ExeVersion = "V1";
  record.Description = "caf\xC3\xA9";
  record.ExeName = "script.exe";
  record.Zones = {PatchZone{0x30, 2, {0xAB, 0xCD}, {0x01, 0x02}}};

  PatchBytes expected;
  expected.Ints({1, 5, 1, 0x10203, 5, -1})
      .Text("V1")
      .Units(u"caf\xE9")
      .Text("script.exe")
      .Zone(0x30, {0xAB, 0xCD}, {0x01, 0x02});
  EXPECT_EQ(WritePatch(record), expected.bytes());
}

TEST(PatchWriterTest, WrittenPatchLoadsBackUnchanged) {
  TempDir dir;
  RecordingUi ui;
  const std::string path = dir.File("round.ptc");
  ASSERT_TRUE(WritePatchFile(path, SamplePatch()));

  PatchRecord loaded;
  ASSERT_TRUE(LoadPatch(path, loaded, ui));

  EXPECT_EQ(loaded, SamplePatch());
  EXPECT_TRUE(ui.messages.empty());
}

TEST(PatchWriterTest, CountsAreWrittenAsTheRecordStatesThem) {
  PatchRecord record;
  record.ZoneCount = 3;
  record.ArgOffsetCount = -7;
  record.Zones = {PatchZone{1, 1, {0}, {1}}};

  const Bytes bytes = WritePatch(record);

  EXPECT_EQ(
      bytes,
      PatchBytes().Ints({3, 0, -7, 0, 0}).Text("").Text("").Text("").Zone(1, {0}, {1}).bytes());
}

}  // namespace
}  // namespace varnock
