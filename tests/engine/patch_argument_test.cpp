#include "engine/patch_argument.h"
#include "engine/float_to_bits.h"
#include "engine/number_to_bytes.h"

#include "engine/perform_patch.h"
#include "support/paths.h"
#include "support/platform.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

const std::string kMissing = "\r\nMissing characters '#' used to delimite argument";
const std::string kMissingEnd =
    "\r\nMissing ending character '#' used to delimite argument in patch name";

TEST(GetPatchArgument, ReadsTheTextBetweenTheFirstTwoHashesOfTheBaseNameOnly) {
  struct Case {
    std::string path;
    std::string argument;
    std::string message;  // after "Error trying to applicate patch: " + path
  };
  const std::string folder = JoinPath("patches", "set#1#");
  const std::vector<Case> cases{
      {JoinPath(folder, "Patch_X#250#.ptc"), "250", ""},
      {JoinPath(folder, "Patch_X#a#b#.ptc"), "a", ""},
      {JoinPath(folder, "Patch_X##.ptc"), "", ""},
      {JoinPath(folder, "Patch_X#250.ptc"), "", kMissingEnd},
      {JoinPath(folder, "Patch_X.ptc"), "", kMissing},
      {JoinPath(folder, "Patch_X.p#1#tc"), "", kMissing},
  };
  for (const Case& c : cases) {
    RecordingUi ui;
    EXPECT_EQ(GetPatchArgument(c.path, ui), c.argument) << c.path;
    if (c.message.empty()) {
      EXPECT_TRUE(ui.messages.empty()) << c.path;
    } else {
      EXPECT_TRUE(ui.OnlyCritical("Error trying to applicate patch: " + c.path + c.message))
          << ::testing::PrintToString(ui.Texts());
    }
  }
}

// The argument written at offset 0x100, the start of an 8-byte zone whose PatchBytes are EE.
struct Encoded {
  bool ok = false;
  Bytes bytes;  // the zone's PatchBytes afterwards
  RecordingUi ui;
  ArgumentFailure failure;
};

Encoded Encode(std::int32_t type, const std::string& text, std::int32_t maxLength = 0,
               std::vector<std::int32_t> offsets = {0x100}) {
  PatchRecord record = Patch(0, {Zone(0x100, Bytes(8, 0), Bytes(8, 0xEE))});
  WithArgument(record, type, std::move(offsets), maxLength);
  Encoded result;
  result.ok = InsertPatchArgument("Patch#" + text + "#.ptc", record, result.ui, result.failure);
  result.bytes = record.Zones[0].PatchBytes;
  return result;
}

Bytes Padded(Bytes bytes) {
  bytes.resize(8, 0xEE);
  return bytes;
}

std::string Localised(std::string text) {
  std::replace(text.begin(), text.end(), '.', LocaleDecimalSeparator());
  return text;
}

TEST(InsertPatchArgument, EncodesNumbersRoundingHalvesToEven) {
  struct Case {
    std::int32_t type;
    std::string text;
    Bytes bytes;
  };
  const std::vector<Case> cases{
      {NumByte, "255", {0xFF}},
      {NumByte, "0", {0x00}},
      {NumWord, "4660", {0x34, 0x12}},
      {NumWord, "65535", {0xFF, 0xFF}},
      {NumWord, "1", {0x01, 0x00}},
      {NumLong, "-2", {0xFE, 0xFF, 0xFF, 0xFF}},
      {NumLong, "2.5", {2, 0, 0, 0}},
      {NumLong, "3.5", {4, 0, 0, 0}},
      {NumLong, "-2.5", {0xFE, 0xFF, 0xFF, 0xFF}},
      {NumLong, "0.5", {0, 0, 0, 0}},
      {NumLong, "2.5000000000000000001", {3, 0, 0, 0}},
      {NumLong, " +7\t", {7, 0, 0, 0}},
      {NumLong, "1e2", {100, 0, 0, 0}},
      {NumLong, "25E-1", {2, 0, 0, 0}},
      {NumLong, ".75", {1, 0, 0, 0}},
      {NumLong, "2147483647", {0xFF, 0xFF, 0xFF, 0x7F}},
      {NumLong, "-2147483648", {0x00, 0x00, 0x00, 0x80}},
      {NumFloat, Localised("1.5"), {0x00, 0x00, 0xC0, 0x3F}},
      {NumFloat, "0", {0, 0, 0, 0}},
      {NumFloat, "-0", {0, 0, 0, 0x80}},
      {NumFloat, "3.4028235e38", {0xFF, 0xFF, 0x7F, 0x7F}},
      {NumFloat, "1e-50", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Encoded result = Encode(c.type, c.text);
    EXPECT_TRUE(result.ok) << c.text;
    EXPECT_EQ(result.bytes, Padded(c.bytes)) << c.text;
    EXPECT_TRUE(result.ui.messages.empty()) << c.text;
  }
}

TEST(InsertPatchArgument, RefusesNumbersThatAreNotNumbersOrDoNotFit) {
  const std::string numeric = "ERROR: current patch requires a numeric argument but the argument '";
  const std::string width = "ERROR: It's not possible keep argument with value ";
  const std::vector<std::tuple<std::int32_t, std::string, std::string>> cases{
      {NumByte, "256", width + "256 using only 1 bytes"},
      {NumByte, "-1", width + "-1 using only 1 bytes"},
      {NumWord, "65536", width + "65536 using only 2 bytes"},
      {NumWord, "-1", width + "-1 using only 2 bytes"},
      {NumLong, "abc", numeric + "abc' is not numeric"},
      {NumLong, "1,5", numeric + "1,5' is not numeric"},
      {NumLong, "0x10", numeric + "0x10' is not numeric"},
      {NumLong, "1e", numeric + "1e' is not numeric"},
      {NumLong, " ", numeric + " ' is not numeric"},
      {NumLong, "-", numeric + "-' is not numeric"},
      {NumFloat, "abc",
       "ERROR: current patch requires a numeric (float) argument but the argument 'abc' is not "
       "numeric"},
      {NumFloat, "inf",
       "ERROR: current patch requires a numeric (float) argument but the argument 'inf' is not "
       "numeric"},
  };
  for (const auto& [type, text, message] : cases) {
    Encoded result = Encode(type, text);
    EXPECT_FALSE(result.ok) << text;
    EXPECT_FALSE(result.failure.general) << text;
    EXPECT_TRUE(result.ui.OnlyCritical(message)) << ::testing::PrintToString(result.ui.Texts());
    EXPECT_EQ(result.bytes, Bytes(8, 0xEE)) << text;
  }

  Encoded overflow = Encode(NumFloat, "1e39");
  EXPECT_FALSE(overflow.ok);
  ASSERT_EQ(overflow.ui.messages.size(), 1U);
  EXPECT_EQ(overflow.ui.messages[0].text.rfind(
                "Error trying to convert '1e39' in floating point value: ", 0),
            0U);
  EXPECT_EQ(overflow.ui.messages[0].icon, MessageIcon::Critical);

  for (const std::string text : {"2147483648", "2147483647.5", "-2147483649", "1e10", "1e99999"}) {
    Encoded result = Encode(NumLong, text);
    EXPECT_FALSE(result.ok) << text;
    EXPECT_TRUE(result.failure.general) << text;
    EXPECT_TRUE(result.ui.messages.empty()) << text;
  }
}

TEST(InsertPatchArgument, EncodesTextsAsAnsiBytesUpToTheirMaximumLength) {
  EXPECT_EQ(Encode(TextString, "ABCDEF", 4).bytes, Padded({0x41, 0x42, 0x43, 0x44}));
  EXPECT_EQ(Encode(TextString, "AB", 4).bytes, Padded({0x41, 0x42}));
  EXPECT_EQ(Encode(TextStringZ, "AB", 4).bytes, Padded({0x41, 0x42, 0x00}));
  EXPECT_EQ(Encode(TextStringZ, "AB", 0).bytes, Padded({0x00}));
  EXPECT_EQ(Encode(TextString, "\xC3\xA9\xC3\xA9", 1).bytes, Padded({0xE9}))
      << "the maximum counts characters, not UTF-8 bytes";

  const std::string missing =
      "Error trying to applicate patch: Patch#AB#.ptc\r\nMissing "
      "Argument type or argument text in current patch";
  for (const auto& [type, maxLength] : {std::pair{TextString, 0}, {0, 4}, {7, 4}}) {
    Encoded result = Encode(type, "AB", maxLength);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.ui.OnlyCritical(missing)) << ::testing::PrintToString(result.ui.Texts());
  }
  Encoded negative = Encode(TextString, "AB", -1);
  EXPECT_FALSE(negative.ok);
  EXPECT_TRUE(negative.failure.general);
  EXPECT_EQ(negative.bytes, Bytes(8, 0xEE));
}

TEST(InsertPatchArgument, PlacesTheBytesInsideTheirZoneOnly) {
  EXPECT_EQ(Encode(NumWord, "4660", 0, {0x106}).bytes,
            (Bytes{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x34, 0x12}));
  Encoded twice = Encode(NumByte, "1", 0, {0x100, 0x107});
  EXPECT_EQ(twice.bytes, (Bytes{1, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 1}));

  Encoded pastTheEnd = Encode(NumLong, "1", 0, {0x106});
  EXPECT_FALSE(pastTheEnd.ok);
  EXPECT_TRUE(pastTheEnd.failure.general);
  EXPECT_EQ(pastTheEnd.bytes, Bytes(8, 0xEE));

  Encoded nowhere = Encode(NumByte, "1", 0, {0x8EBB1});
  EXPECT_FALSE(nowhere.ok);
  EXPECT_TRUE(nowhere.ui.OnlyCritical(
      "ERROR: cann't found offset of macro corresponding to argumento offset 0x8EBB1"));

  Encoded none = Encode(NumByte, "1", 0, {});
  EXPECT_TRUE(none.ok);
  EXPECT_EQ(none.bytes, Bytes(8, 0xEE));
}

TEST(InsertPatchArgument, ThroughTheEngineAnArgumentThatCannotBePlacedLeavesTheFileAlone) {
  TempDir dir;
  RecordingUi ui;
  PatchRecord loaded;
  std::string version;
  const Bytes image = RandomImage(512);
  const std::string exe = dir.Write("tomb4.exe", image);
  PatchRecord patch =
      Patch(0, {Zone(0x100, Bytes(image.begin() + 0x100, image.begin() + 0x104), {0, 0, 0, 0})});
  WithArgument(patch, NumLong, {0x102});
  const std::string path = dir.File("Patch#7#.ptc");
  ASSERT_TRUE(WritePatchFile(path, patch));
  EXPECT_EQ(PerformPatch(path, exe, false, version, loaded, ui), ResultFailed);
  EXPECT_TRUE(OnlyGeneralFailure(ui)) << ::testing::PrintToString(ui.Texts());
  EXPECT_EQ(ReadBytes(exe), image);

  ui.Clear();
  patch.ArgOffsets = {0x100};
  ASSERT_TRUE(WritePatchFile(path, patch));
  EXPECT_EQ(PerformPatch(path, exe, false, version, loaded, ui), ResultDone);
  Bytes expected = image;
  Put(expected, 0x100, {7, 0, 0, 0});
  EXPECT_EQ(ReadBytes(exe), expected);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(FloatToBits, GivesTheSinglePrecisionPattern) {
  RecordingUi ui;
  EXPECT_EQ(FloatToBits(Localised("1.5"), ui), 0x3FC00000);
  EXPECT_EQ(FloatToBits(Localised("-0.1"), ui), static_cast<std::int32_t>(0xBDCCCCCD));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(FloatToBits("-1e39", ui), std::nullopt);
  EXPECT_EQ(FloatToBits("3.4028236e38", ui), std::nullopt) << "rounds beyond the largest single";
  EXPECT_EQ(ui.messages.size(), 2U);
}

}  // namespace
}  // namespace varnock::testing
