#include <gtest/gtest.h>

#include "win32/icon_image.h"

namespace varnock::win32 {
namespace {

TEST(Win32Icon, ThePictureHasItsPlateLetterAndPatchOnAClearGround) {
  const std::vector<std::uint32_t> pixels = IconPixels(32);
  ASSERT_EQ(pixels.size(), 32u * 32u);
  auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * 32 + x]; };
  EXPECT_EQ(at(0, 0) >> 24, 0u) << "clear corner";
  EXPECT_EQ(at(8, 24), 0xFF004000u) << "dark green plate";
  EXPECT_EQ(at(16, 24), 0xFF00FF00u) << "bright green letter";
  EXPECT_EQ(at(24, 8), 0xFFDC0000u) << "red patch";
}

}  // namespace
}  // namespace varnock::win32
