// The decimal separator of the user's number format, as set in the regional settings. The test
// changes a setting of the whole user account, so it runs alone (suite names ending in
// "Alone") and puts the setting back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/float_to_bits.h"
#include "support/platform.h"
#include "tests/common/recording_ui.h"

namespace varnock {
namespace {

// A separator of more than one character, or outside ASCII, falls back to the point; the
// other one is refused. The user's own separator is put back.
TEST(UserLocaleAlone, FloatArgumentsAreReadWithTheUsersSeparator) {
  wchar_t saved[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8), 0);
  const struct {
    const wchar_t* set;
    char separator;
  } cases[] = {{L",", ','}, {L"\x066B", '.'}, {L",,", '.'}};
  for (const auto& item : cases) {
    EXPECT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, item.set));
    EXPECT_EQ(LocaleDecimalSeparator(), item.separator);
    testing::RecordingUi ui;
    EXPECT_EQ(FloatToBits(std::string("1") + item.separator + "5", ui), 0x3FC00000);
    EXPECT_EQ(FloatToBits(item.separator == ',' ? "1.5" : "1,5", ui), std::nullopt);
    EXPECT_EQ(ui.messages.size(), 1u);
  }
  EXPECT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved));
}

}  // namespace
}  // namespace varnock
