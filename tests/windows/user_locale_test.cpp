// The decimal separator of the user's number format, as set in the regional settings. These
// tests change a setting of the whole user account, so they run alone (suite names ending in
// "Alone") and put the setting back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/float_to_bits.h"
#include "support/platform.h"
#include "tests/common/recording_ui.h"

namespace varnock {
namespace {

using testing::RecordingUi;

class UserLocaleAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t saved[8] = {};
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8), 0);
    saved_ = saved;
  }
  void TearDown() override { SetDecimal(saved_); }

  static void SetDecimal(const std::wstring& separator) {
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator.c_str()));
  }

  std::wstring saved_;
  RecordingUi ui;
};

TEST_F(UserLocaleAlone, CommaSeparatorReadsFloatArgumentsWithAComma) {
  SetDecimal(L",");
  EXPECT_EQ(LocaleDecimalSeparator(), ',');
  EXPECT_EQ(FloatToBits("1,5", ui), 0x3FC00000);
  EXPECT_EQ(FloatToBits(" -0,25 ", ui), static_cast<std::int32_t>(0xBE800000));
  EXPECT_TRUE(ui.messages.empty());
  // A point is no separator in this format.
  EXPECT_EQ(FloatToBits("1.5", ui), std::nullopt);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("Error trying to convert '1.5' in floating point value: ", 0),
            0u)
      << ui.messages[0].text;
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
}

TEST_F(UserLocaleAlone, PointSeparatorReadsFloatArgumentsWithAPoint) {
  SetDecimal(L".");
  EXPECT_EQ(LocaleDecimalSeparator(), '.');
  EXPECT_EQ(FloatToBits("1.5", ui), 0x3FC00000);
  EXPECT_EQ(FloatToBits("1,5", ui), std::nullopt);
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(UserLocaleAlone, SeparatorThatIsNoSingleAsciiCharacterFallsBackToThePoint) {
  SetDecimal(L"\x066B");  // the Arabic decimal separator
  EXPECT_EQ(LocaleDecimalSeparator(), '.');
  SetDecimal(L",,");
  EXPECT_EQ(LocaleDecimalSeparator(), '.');
}

}  // namespace
}  // namespace varnock
