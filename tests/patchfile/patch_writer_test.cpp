#include "patchfile/patch_writer.h"

#include <gtest/gtest.h>

#include "tests/patchfile/patch_bytes.h"

namespace varnock {
namespace {

using testing::PatchBytes;

// Loading what the writer wrote is tested wherever a test writes a patch.
TEST(PatchWriterTest, WritesTheFieldsInFileOrderAndTheCountsAsTheRecordStatesThem) {
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
  EXPECT_EQ(WritePatch(record), PatchBytes()
                                    .Ints({1, 5, 1, 0x10203, 5, -1})
                                    .Text("V1")
                                    .Units(u"caf\xE9")
                                    .Text("script.exe")
                                    .Zone(0x30, {0xAB, 0xCD}, {0x01, 0x02})
                                    .bytes());

  PatchRecord counts;
  counts.ZoneCount = 3;
  counts.ArgOffsetCount = -7;
  counts.Zones = {PatchZone{1, 1, {0}, {1}}};
  EXPECT_EQ(
      WritePatch(counts),
      PatchBytes().Ints({3, 0, -7, 0, 0}).Text("").Text("").Text("").Zone(1, {0}, {1}).bytes());
}

}  // namespace
}  // namespace varnock
