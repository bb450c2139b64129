#include "patchfile/patch_source.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::RecordingUi;
using testing::TempDir;

PatchSource SourceOf(PatchRecord record, Bytes trailing = {}) {
  return {std::move(record), std::move(trailing)};
}

// A shipped patch, one with every field at an edge, one of odd texts, and the empty one.
std::vector<PatchSource> Patches() {
  PatchRecord shipped;
  shipped.Flags = SameExeVersionOnly;
  shipped.ExeVersion = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)";
  shipped.Description = "Extra video memory (20 MB)\r\n\r\nOnly for this version.";
  shipped.ExeName = "tomb4.exe";
  shipped.Zones = {{0x8EBB1, 4, {0x40, 0x4B, 0x4C, 0}, {0, 0, 0x40, 1}}};

  PatchRecord everything = shipped;
  everything.Flags = -1;  // every bit, the unknown ones too
  everything.ArgType = TextStringZ;
  everything.ArgMaxLength = -3;
  everything.ArgOffsets = {0x8EBB2, -16, INT32_MIN};
  everything.Zones.push_back({-5, 1, {0xFF}, {0x00}});

  PatchRecord texts;
  texts.ArgType = 7;
  texts.ExeVersion = " edge blanks ";
  texts.Description =
      "back\\slash \xC3\xA9\xE2\x82\xAC\r\n\tcontrols\x01\x7F\xC2\x81\xC2\xA0\r"
      "\nlone\rreturns\nand feeds\r\n\r\n";
  texts.ExeName = "\xC3\xBF.exe";
  return {SourceOf(shipped), SourceOf(everything, {0xEE}), SourceOf(texts, {0xEE, 0, 0x0A}),
          SourceOf(PatchRecord{})};
}

TEST(PatchSource, EveryPatchRoundTripsByteForByteAndTextForText) {
  TempDir dir;
  for (const PatchSource& patch : Patches()) {
    const Bytes bytes = CompiledPatch(patch);
    RecordingUi ui;
    PatchSource read;
    ASSERT_TRUE(ReadPatchAsSource(dir.Write("patch.ptc", bytes), read, ui)) << ui.Texts().front();
    const std::string text = DecompilePatch(read);

    PatchSource parsed;
    std::string error;
    ASSERT_TRUE(ParsePatchSource(text, parsed, error)) << error << "\n" << text;
    EXPECT_EQ(CompiledPatch(parsed), bytes) << text;
    EXPECT_EQ(DecompilePatch(parsed), text);
    EXPECT_EQ(parsed, patch) << text;
  }
}

TEST(PatchSource, TheTextIsReadable) {
  EXPECT_EQ(DecompilePatch(Patches()[1]),
            "exe: tomb4.exe\n"
            "version: LE_UK_P:XP_Standard (11-Nov-2000  15:21)\n"
            "flags: Dynamic HasArgument RecordAlignment DontVerifySource SameExeVersionOnly "
            "0xFFFFFFE0\n"
            "argument-type: TextStringZ\n"
            "argument-max-length: -3\n"
            "argument-offset: 0x8EBB2\n"
            "argument-offset: -0x10\n"
            "argument-offset: -0x80000000\n"
            "description: Extra video memory (20 MB)\n"
            "description:\n"
            "description: Only for this version.\n"
            "zone: 0x8EBB1 40 4B 4C 00 -> 00 00 40 01\n"
            "zone: -0x5 FF -> 00\n"
            "trailing: EE\n");
  EXPECT_EQ(DecompilePatch(Patches()[2])
                .rfind("exe: \xC3\xBF.exe\nversion: \\x20edge blanks\\x20\nflags: none\n", 0),
            0u);
}

// Each mistake on the third line, after a valid exe and version.
TEST(PatchSource, AMistakeIsToldWithItsLineAndWhatWasExpected) {
  const std::pair<std::string, std::string> cases[] = {
      {"just words", "expected \"key: value\", found just words"},
      {"colour: red",
       "expected a key (exe, version, flags, argument-type, argument-max-length, "
       "argument-offset, description, zone, trailing), found colour"},
      {"exe: b.exe", "expected one exe line, found a second"},
      {"flags: Dynamic Fast",
       "expected none, or flag names (Dynamic, HasArgument, RecordAlignment, DontVerifySource, "
       "SameExeVersionOnly) and numbers, found Fast"},
      {"flags:", "expected none, or flag names, found nothing"},
      {"argument-type: NumDouble",
       "expected none, an argument type (TextString, TextStringZ, NumByte, NumWord, NumLong, "
       "NumFloat) or a number, found NumDouble"},
      {"argument-offset: 0x80000000",
       "expected a number from -2147483648 to 2147483647, found 0x80000000"},
      {"argument-max-length: 12a", "expected a number from -2147483648 to 2147483647, found 12a"},
      {"zone: 0x10 AA CC",
       "expected an offset, the original bytes, -> and the patched bytes, found 0x10 AA CC"},
      {"zone: 0x10 AAB -> CC", "expected a byte as two hexadecimal digits, found AAB"},
      {"zone: 0x10 AA BB -> CC",
       "expected as many patched bytes as original bytes, at least one, found 2 and 1"},
      {"trailing:", "expected the bytes after the last zone, found nothing"},
      {"description: 100\\%", "expected \\\\ or \\x and two hexadecimal digits, found \\%"},
      {"description: \xCE\xA9mega",
       "expected characters of the ANSI code page, found \xCE\xA9mega"},
  };
  for (const auto& [line, expected] : cases) {
    PatchSource source = Patches()[0];
    std::string error;
    EXPECT_FALSE(ParsePatchSource("exe: tomb4.exe\nversion: V\n" + line + "\n", source, error));
    EXPECT_EQ(error, "line 3: " + expected) << line;
    EXPECT_EQ(source, Patches()[0]);
  }
  std::string error;
  PatchSource source;
  EXPECT_FALSE(ParsePatchSource("exe: tomb4.exe\n", source, error));
  EXPECT_EQ(error, "line 2: expected an exe line and a version line, found the end of the source");
}

}  // namespace
}  // namespace varnock
