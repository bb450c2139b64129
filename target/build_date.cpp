#include "target/build_date.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "support/files.h"
#include "support/translation.h"
#include "target/calendar.h"

namespace varnock {

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::int32_t DecodeInt32(const std::uint8_t raw[4]) {
  const std::uint32_t bits = std::uint32_t{raw[0]} | (std::uint32_t{raw[1]} << 8) |
                             (std::uint32_t{raw[2]} << 16) | (std::uint32_t{raw[3]} << 24);
  return static_cast<std::int32_t>(bits);
}

// The little-endian int32 at `at` of an image; bytes beyond its end read as zero.
std::int32_t Int32At(const Bytes& image, std::int64_t at) {
  std::uint8_t raw[4] = {0, 0, 0, 0};
  for (std::int64_t i = 0; i < 4; ++i) {
    if (at + i < static_cast<std::int64_t>(image.size())) {
      raw[i] = image[static_cast<std::size_t>(at + i)];
    }
  }
  return DecodeInt32(raw);
}

// The same from an open file of `size` bytes.
bool Int32At(std::ifstream& in, std::int64_t size, std::int64_t at, std::int32_t& value) {
  std::uint8_t raw[4] = {0, 0, 0, 0};
  if (at < size) {
    in.seekg(at);
    in.read(reinterpret_cast<char*>(raw), std::min<std::int64_t>(4, size - at));
    if (!in) {
      return false;
    }
  }
  value = DecodeInt32(raw);
  return true;
}

bool TimeStampPlace(std::int32_t headerOffset, std::int64_t& place, std::string& error) {
  place = std::int64_t{headerOffset} + kTimeStampDistance;
  if (place < 0) {
    error = TrFormat("the PE header offset %1 places the time stamp before the start of the file",
                     {std::to_string(headerOffset)});
    return false;
  }
  return true;
}

std::string TwoDigits(int value) {
  return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

std::string OpenErrorText(const std::string& path) {
  std::error_code code(errno, std::generic_category());
  std::error_code ignored;
  if (std::filesystem::is_directory(ToFsPath(path), ignored)) {
    code = std::make_error_code(std::errc::is_a_directory);
  }
  return code.value() == 0 ? Tr("the file cannot be opened") : ErrorText(code);
}

}  // namespace

bool BuildDateFromImage(const Bytes& image, BuildDate& date, std::string& error) {
  std::int64_t place = 0;
  if (!TimeStampPlace(Int32At(image, kPeHeaderOffsetPlace), place, error)) {
    return false;
  }
  date = DateFromSeconds(Int32At(image, place));
  return true;
}

bool GetExeBuildDate(const std::string& path, BuildDate& date, std::string& error) {
  errno = 0;
  std::ifstream in;
  std::error_code ignored;
  if (!std::filesystem::is_directory(ToFsPath(path), ignored)) {
    in.open(ToFsPath(path), std::ios::binary);
  }
  if (!in.is_open()) {
    error = OpenErrorText(path);
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::int64_t size = in.tellg();
  std::int32_t headerOffset = 0;
  std::int32_t stamp = 0;
  std::int64_t place = 0;
  if (size < 0 || !Int32At(in, size, kPeHeaderOffsetPlace, headerOffset)) {
    error = Tr("the file cannot be read");
    return false;
  }
  if (!TimeStampPlace(headerOffset, place, error)) {
    return false;
  }
  if (!Int32At(in, size, place, stamp)) {
    error = Tr("the file cannot be read");
    return false;
  }
  date = DateFromSeconds(stamp);
  return true;
}

std::string FormatVersionDate(const BuildDate& date) {
  return std::to_string(date.day) + "-" + kMonths[(date.month - 1 + 12) % 12] + "-" +
         std::to_string(date.year) + "  " + TwoDigits(date.hour) + ":" + TwoDigits(date.minute);
}

}  // namespace varnock
