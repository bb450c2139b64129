#include "support/hex_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnock {
namespace {

TEST(HexText, Numbers) {
  struct Row {
    std::uint64_t value;
    std::size_t width;
    const char* digits;
  };
  const Row rows[] = {
      {0, 0, "0"},
      {0, 2, "00"},
      {0x7, 2, "07"},
      {0xAB, 2, "AB"},
      {0x1F00, 0, "1F00"},
      {0x1F00, 8, "00001F00"},
      {0x123456789, 8, "123456789"},  // a width never cuts digits
      {0xFFFFFFFF, 0, "FFFFFFFF"},
      {0xFFFFFFFFFFFFFFF0, 0, "FFFFFFFFFFFFFFF0"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(HexDigits(row.value, row.width), row.digits) << row.value << " width " << row.width;
    EXPECT_EQ(HexOffset(row.value, row.width), std::string("0x") + row.digits) << row.value;
  }
}

TEST(HexText, ByteRuns) {
  struct Row {
    std::vector<std::uint8_t> bytes;
    const char* separator;
    const char* text;
  };
  const Row rows[] = {
      {{}, " ", ""},
      {{0x0A}, " ", "0A"},
      {{0x40, 0x4B, 0x4C}, " ", "40 4B 4C"},
      {{0x40, 0x4B, 0x4C}, "", "404B4C"},
      {{0x00, 0xFF, 0x90}, ", ", "00, FF, 90"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(HexBytes(row.bytes, row.separator), row.text) << row.text;
  }
}

}  // namespace
}  // namespace varnock
