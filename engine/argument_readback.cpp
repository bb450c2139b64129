#include "engine/argument_readback.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <iomanip>
#include <locale>
#include <sstream>
#include <vector>

#include "support/code_page.h"
#include "support/platform.h"

namespace varnock {

namespace {

// The bytes the argument may take at its first offset: its width by type, never past the end
// of the zone that holds the offset.
std::int64_t ArgumentWidth(const PatchRecord& record, std::int32_t offset) {
  std::int64_t width = 0;
  switch (record.ArgType) {
    case NumByte:
      width = 1;
      break;
    case NumWord:
      width = 2;
      break;
    case NumLong:
    case NumFloat:
      width = 4;
      break;
    case TextString:
      width = record.ArgMaxLength;
      break;
    case TextStringZ:
      width = std::int64_t{record.ArgMaxLength} + 1;
      break;
    default:
      return 0;
  }
  for (const PatchZone& zone : record.Zones) {
    const std::int64_t end = std::int64_t{zone.Offset} + zone.Length;
    if (zone.Offset <= offset && offset < end) {
      return std::min(width, end - offset);
    }
  }
  return 0;
}

std::uint32_t LittleEndian(const Bytes& bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

// The shortest text that reads back as the same single-precision value, in the user's
// number format.
std::string FloatText(std::uint32_t bits) {
  const auto value = std::bit_cast<float>(bits);
  std::string text;
  for (int digits = 6; digits <= 9; ++digits) {
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << std::setprecision(digits) << value;
    text = stream.str();
    float back = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), back);
    if (error == std::errc() && back == value) {
      break;
    }
  }
  std::replace(text.begin(), text.end(), '.', LocaleDecimalSeparator());
  return text;
}

// The values the bytes may stand for, the likeliest first. A text may be shorter than the
// room it has: every length up to its first zero byte is a candidate, shortest first.
std::vector<std::string> Candidates(const PatchRecord& record, const Bytes& bytes) {
  switch (record.ArgType) {
    case NumByte:
    case NumWord:
      return {std::to_string(LittleEndian(bytes))};
    case NumLong:
      return {std::to_string(std::bit_cast<std::int32_t>(LittleEndian(bytes)))};
    case NumFloat:
      return {FloatText(LittleEndian(bytes))};
    default:
      break;
  }
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  if (record.ArgType == TextStringZ) {
    return {AnsiToUtf8(std::string(bytes.begin(), end))};
  }
  std::vector<std::string> texts;
  for (auto last = bytes.begin() + 1; last <= end; ++last) {
    texts.push_back(AnsiToUtf8(std::string(bytes.begin(), last)));
  }
  return texts;
}

}  // namespace

std::optional<std::string> ReadBackArgument(
    const PatchRecord& loaded, std::int32_t shift, const Bytes& image,
    const std::function<bool(const std::string&)>& appliedWith) {
  if (!loaded.Has(HasArgument) || loaded.ArgOffsets.empty()) {
    return std::nullopt;
  }
  const std::int32_t offset = loaded.ArgOffsets.front();
  const std::int64_t width = ArgumentWidth(loaded, offset);
  const std::int64_t at = std::int64_t{offset} + shift;
  if (width <= 0 || at < 0 || at + width > static_cast<std::int64_t>(image.size())) {
    return std::nullopt;
  }
  const Bytes bytes(image.begin() + at, image.begin() + at + width);
  for (const std::string& candidate : Candidates(loaded, bytes)) {
    if (!candidate.empty() && appliedWith(candidate)) {
      return candidate;
    }
  }
  return std::nullopt;
}

}  // namespace varnock
