#include "tools/patch_source.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/temp_dir.h"

namespace varnock::tools {
namespace {

using varnock::testing::ToBytes;

TEST(PatchSource, ReadsEveryField) {
  const std::string text =
      "# a comment\n"
      "exe: tomb4.exe\n"
      "version: LE_UK_P:XP_Standard (11-Nov-2000  15:21)\n"
      "flags: Dynamic HasArgument SameExeVersionOnly\n"
      "argument-type: NumLong\n"
      "argument-max-length: 0\n"
      "argument-offset: 0x1001\n"
      "\n"
      "description: First line: with a colon\r\n"
      "description:\n"
      "description: third\n"
      "zone: 0x1000 AA bb CC DD -> 01 02 03 04\n"
      "zone: 16 90 -> C3\n";
  PatchRecord record;
  std::string error;
  ASSERT_TRUE(ParsePatchSource(text, record, error)) << error;
  EXPECT_EQ(record.ExeName, "tomb4.exe");
  EXPECT_EQ(record.ExeVersion, "LE_UK_P:XP_Standard (11-Nov-2000  15:21)");
  EXPECT_EQ(record.Flags, Dynamic | HasArgument | SameExeVersionOnly);
  EXPECT_EQ(record.ArgType, NumLong);
  EXPECT_EQ(record.ArgOffsetCount, 1);
  EXPECT_EQ(record.ArgOffsets, std::vector<std::int32_t>{0x1001});
  EXPECT_EQ(record.Description, "First line: with a colon\r\n\r\nthird");
  ASSERT_EQ(record.ZoneCount, 2);
  EXPECT_EQ(record.Zones[0],
            (PatchZone{0x1000, 4, Bytes{0xAA, 0xBB, 0xCC, 0xDD}, Bytes{0x01, 0x02, 0x03, 0x04}}));
  EXPECT_EQ(record.Zones[1], (PatchZone{16, 1, Bytes{0x90}, Bytes{0xC3}}));
}

TEST(PatchSource, RefusesWhatIsNotAPatchAndSaysWhere) {
  const std::string head = "exe: tomb4.exe\nversion: V\n";
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {head + "colour: red\n", "line 3: unknown key: colour"},
      {head + "just words\n", "line 3: expected \"key: value\""},
      {head + "flags: Dynamic Fast\n", "line 3: unknown name: Fast"},
      {head + "argument-type: NumDouble\n", "line 3: unknown name: NumDouble"},
      {head + "argument-offset: -4\n", "line 3: not a number: -4"},
      {head + "argument-offset: 0x80000000\n", "line 3: not a number: 0x80000000"},
      {head + "zone: 0x10 AA BB -> CC\n",
       "line 3: a zone needs as many patched bytes as original bytes, at least one"},
      {head + "zone: 0x10 -> \n",
       "line 3: a zone needs as many patched bytes as original bytes, at least one"},
      {head + "zone: 0x10 AAB -> CC\n", "line 3: not a byte in hexadecimal: AAB"},
      {head + "zone: 0x10 GG -> CC\n", "line 3: not a byte in hexadecimal: GG"},
      {head + "zone: 0x10 AA CC\n",
       "line 3: a zone is written as: offset original bytes -> patched bytes"},
      {head + "zone: 0xZZ AA -> CC\n",
       "line 3: a zone is written as: offset original bytes -> patched bytes"},
      {"version: V\n", "a patch needs an exe and a version line"},
      {"exe: tomb4.exe\n", "a patch needs an exe and a version line"},
  };
  for (const auto& c : cases) {
    PatchRecord record;
    record.ExeName = "untouched";
    std::string error;
    EXPECT_FALSE(ParsePatchSource(c.text, record, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(record.ExeName, "untouched");
  }
}

TEST(PatchSource, AFileNamesItselfInItsErrors) {
  varnock::testing::TempDir dir;
  PatchRecord record;
  std::string error;
  const std::string path = dir.WriteText("bad.txt", "exe: tomb4.exe\nzone: 1\n");
  EXPECT_FALSE(ReadPatchSource(path, record, error));
  EXPECT_EQ(error.rfind(path + ": line 2: ", 0), 0u) << error;
  EXPECT_FALSE(ReadPatchSource(dir.File("missing.txt"), record, error));
  EXPECT_EQ(error.rfind("cannot read " + dir.File("missing.txt"), 0), 0u) << error;
}

}  // namespace
}  // namespace varnock::tools
