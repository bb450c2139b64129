#include "engine/patch_argument.h"

#include <tuple>

#include "engine/argument_readback.h"
#include "support/platform.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

std::string Localised(std::string text) {
  std::replace(text.begin(), text.end(), '.', LocaleDecimalSeparator());
  return text;
}

// Each argument is written into its zone (at 0x100, the start of an 8-byte zone whose new bytes
// are EE), or refused: a refusal the user is told about, or a general failure (empty message)
// that the engine tells in its own message, leaves the zone's bytes as they were (tests/fault
// runs such patches through the engine).
TEST(InsertPatchArgument, EncodesArgumentsInsideTheirZoneOrRefusesThemLeavingItAsItWas) {
  const std::string numeric = "ERROR: current patch requires a numeric argument but the argument '";
  const std::string floating =
      "ERROR: current patch requires a numeric (float) argument but the argument '";
  const std::string width = "ERROR: It's not possible keep argument with value ";
  const auto tooLarge = [](const std::string& text) {
    return "Error trying to convert '" + text +
           "' in floating point value: the value is beyond the range of single precision (about "
           "3.4E+38)";
  };
  const std::string noZone =
      "ERROR: cann't found offset of macro corresponding to argumento offset ";
  const std::string missing =
      "Error trying to applicate patch: Patch#AB#.ptc\r\nMissing Argument type or argument text "
      "in current patch";
  const struct {
    std::int32_t type;
    std::string text;
    Bytes bytes;                                        // the zone's first bytes afterwards
    std::optional<std::string> refusal = std::nullopt;  // none when the argument is written
    std::int32_t maxLength = 0;
    std::vector<std::int32_t> offsets = {0x100};
  } cases[] = {
      {NumByte, "255", {0xFF}},
      {NumByte, "0", {0x00}},
      {NumWord, "4660", {0x34, 0x12}},
      {NumWord, "65535", {0xFF, 0xFF}},
      {NumLong, "-2", {0xFE, 0xFF, 0xFF, 0xFF}},
      {NumLong, "2.5", {2, 0, 0, 0}},  // halves round to even
      {NumLong, "3.5", {4, 0, 0, 0}},
      {NumLong, "2.5000000000000000001", {3, 0, 0, 0}},
      {NumLong, " +7\t", {7, 0, 0, 0}},
      {NumLong, "25E-1", {2, 0, 0, 0}},
      {NumLong, ".75", {1, 0, 0, 0}},
      {NumLong, "2147483647", {0xFF, 0xFF, 0xFF, 0x7F}},
      {NumLong, "-2147483648", {0x00, 0x00, 0x00, 0x80}},
      {NumFloat, Localised("1.5"), {0x00, 0x00, 0xC0, 0x3F}},
      {NumFloat, "-0", {0, 0, 0, 0x80}},
      {NumFloat, "3.4028235e38", {0xFF, 0xFF, 0x7F, 0x7F}},
      {NumFloat, "1e-50", {0, 0, 0, 0}},
      {NumFloat, Localised("-0.1"), {0xCD, 0xCC, 0xCC, 0xBD}},
      {TextString, "ABCDEF", {0x41, 0x42, 0x43, 0x44}, std::nullopt, 4},
      {TextStringZ, "AB", {0x41, 0x42, 0x00}, std::nullopt, 4},
      {TextStringZ, "AB", {0x00}, std::nullopt, 0},
      {TextString, "\xC3\xA9\xC3\xA9", {0xE9}, std::nullopt, 1},  // the maximum counts characters
      {NumWord, "4660", {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x34, 0x12}, std::nullopt, 0, {0x106}},
      {NumByte, "1", {1, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 1}, std::nullopt, 0, {0x100, 0x107}},
      {NumByte, "1", {}, std::nullopt, 0, {}},
      {NumByte, "256", {}, width + "256 using only 1 bytes"},
      {NumByte, "-1", {}, width + "-1 using only 1 bytes"},
      {NumWord, "65536", {}, width + "65536 using only 2 bytes"},
      {NumLong, "1,5", {}, numeric + "1,5' is not numeric"},
      {NumLong, "1e", {}, numeric + "1e' is not numeric"},
      {NumLong, " ", {}, numeric + " ' is not numeric"},
      {NumFloat, "abc", {}, floating + "abc' is not numeric"},
      {NumFloat, "inf", {}, floating + "inf' is not numeric"},
      {NumFloat, "1e39", {}, tooLarge("1e39")},
      {NumFloat, Localised("3.4028236e38"), {}, tooLarge(Localised("3.4028236e38"))},
      {NumLong, "2147483648", {}, ""},
      {NumLong, "-2147483649", {}, ""},
      {NumLong, "1e99999", {}, ""},
      {TextString, "AB", {}, missing, 0},
      {0, "AB", {}, missing, 4},
      {TextString, "AB", {}, "", -1},
      {NumLong, "1", {}, "", 0, {0x106}},  // reaches past the end of its zone
      {NumByte, "1", {}, noZone + "0x8EBB1", 0, {0x8EBB1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    PatchRecord record = Patch(0, {Zone(0x100, Bytes(8, 0), Bytes(8, 0xEE))});
    WithArgument(record, c.type, c.offsets, c.maxLength);
    RecordingUi ui;
    ArgumentFailure failure;
    EXPECT_EQ(InsertPatchArgument("Patch#" + c.text + "#.ptc", record, ui, failure), !c.refusal);
    Bytes expected = c.bytes;
    expected.resize(8, 0xEE);  // the zone's other bytes stay as they were
    EXPECT_EQ(record.Zones[0].PatchBytes, expected);
    EXPECT_EQ(failure.general, c.refusal && c.refusal->empty());
    EXPECT_TRUE(c.refusal && !c.refusal->empty() ? ui.OnlyCritical(*c.refusal)
                                                 : ui.messages.empty())
        << ::testing::PrintToString(ui.Texts());
  }
}

// What each type of argument wrote is read back as a value that writes the same bytes, a text
// at its full length too.
TEST(ReadBackArgument, FindsAValueThatWritesTheSameBytes) {
  const std::tuple<std::int32_t, std::string, std::int32_t> cases[] = {
      {NumByte, "255", 0}, {NumWord, "4660", 0},    {NumLong, "-2", 0},
      {NumFloat, "-3", 0}, {TextString, "ABCD", 4}, {TextStringZ, "ABCD", 4}};
  for (const auto& [type, text, maxLength] : cases) {
    PatchRecord record = Patch(0, {Zone(0x100, Bytes(8, 0), Bytes(8, 0xEE))});
    WithArgument(record, type, {0x100}, maxLength);
    const auto written = [&record](const std::string& value) {
      PatchRecord copy = record;
      RecordingUi ui;
      ArgumentFailure failure;
      return InsertArgumentText("p", value, copy, ui, failure) ? copy.Zones[0].PatchBytes : Bytes();
    };
    Bytes image(0x200);
    Put(image, 0x100, written(text));
    EXPECT_EQ(
        ReadBackArgument(record, 0, image,
                         [&](const std::string& value) { return written(value) == written(text); }),
        text);
  }
}

}  // namespace
}  // namespace varnock::testing
