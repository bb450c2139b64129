#include <gtest/gtest.h>

#include "win32/icon_image.h"

namespace varnock::win32 {
namespace {

std::uint32_t Read(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  }
  return value;
}

TEST(Win32Icon, ThePictureHasItsPlateLetterAndPatchOnAClearGround) {
  const std::vector<std::uint32_t> pixels = IconPixels(32);
  ASSERT_EQ(pixels.size(), 32u * 32u);
  auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * 32 + x]; };
  EXPECT_EQ(at(0, 0) >> 24, 0u) << "clear corner";
  EXPECT_EQ(at(8, 24), 0xFF004000u) << "dark green plate";
  EXPECT_EQ(at(16, 24), 0xFF00FF00u) << "bright green letter";
  EXPECT_EQ(at(24, 8), 0xFFDC0000u) << "red patch";
}

TEST(Win32Icon, TheFileListsEveryImageWhereItLies) {
  const std::vector<int> sizes = {16, 32, 48};
  const std::vector<std::uint8_t> file = IcoFile(sizes);
  ASSERT_GE(file.size(), 6u + 16 * sizes.size());
  EXPECT_EQ(Read(file, 2, 2), 1u);
  ASSERT_EQ(Read(file, 4, 2), sizes.size());
  std::size_t expectedOffset = 6 + 16 * sizes.size();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    const auto side = static_cast<std::uint32_t>(sizes[i]);
    EXPECT_EQ(file[entry], side);
    EXPECT_EQ(Read(file, entry + 6, 2), 32u);
    const std::uint32_t bytes = Read(file, entry + 8, 4);
    EXPECT_EQ(Read(file, entry + 12, 4), expectedOffset);
    // Header, colour rows and the mask rows padded to four bytes.
    EXPECT_EQ(bytes, 40 + side * side * 4 + ((side + 31) / 32) * 4 * side);
    EXPECT_EQ(Read(file, expectedOffset + 8, 4), side * 2) << "colour and mask rows";
    expectedOffset += bytes;
  }
  EXPECT_EQ(expectedOffset, file.size());
}

}  // namespace
}  // namespace varnock::win32
