#include "history/history_record.h"

#include <charconv>
#include <chrono>
#include <cstring>
#include <ctime>
#include <string_view>

#include "support/sha256.h"

namespace varnock {

namespace {

constexpr const char* kHeader = "varnock-history\t2";
constexpr const char* kLegacyHeader = "varnock-history\t1";
constexpr const char* kSumField = "sum\t";

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      static constexpr char kDigits[] = "0123456789ABCDEF";
      out += '%';
      out += kDigits[static_cast<unsigned char>(c) >> 4];
      out += kDigits[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  return out;
}

bool FromHex(const std::string& text, Bytes& out) {
  if (text.size() % 2 != 0) {
    return false;
  }
  out.clear();
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::uint8_t byte = 0;
    const char* pair = text.data() + i;
    if (std::from_chars(pair, pair + 2, byte, 16).ptr != pair + 2) {
      return false;
    }
    out.push_back(byte);
  }
  return true;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    Bytes code;
    if (text[i] == '%' && i + 2 < text.size() && FromHex(text.substr(i + 1, 2), code)) {
      out += static_cast<char>(code[0]);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

void AppendHex(const Bytes& bytes, std::string& text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
}

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.emplace_back(line.substr(start, tab - start));
  }
  fields.emplace_back(line.substr(start));
  return fields;
}

// The SHA-256 of the first `size` characters of `text`, summed where they lie.
std::string TextSha256(const std::string& text, std::size_t size) {
  return DigestText(Sha256Of(reinterpret_cast<const std::uint8_t*>(text.data()), size));
}

bool ToNumber(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.size() > 19 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  value = std::stoull(text);
  return true;
}

bool IsSha256(const std::string& text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool IsKind(const std::string& kind) {
  for (const char* known : {"apply", "remove", "batch", "batch remove", "restore", "undo"}) {
    if (kind == known) {
      return true;
    }
  }
  return false;
}

// Adds one line of an entry to `entry`; false for a line that is not one, or a range that
// does not lie inside the original after the entry's other ranges.
bool AddLine(const std::vector<std::string>& f, std::uint64_t size, HistoryEntry& entry) {
  if (f[0] == "patch" && f.size() == 4 &&
      f[2].find_first_not_of("0123456789abcdef") == std::string::npos &&
      (f[3] == "-" || f[3].starts_with("="))) {
    PatchNote note{Unescape(f[1]), f[2], std::nullopt};
    if (f[3] != "-") {
      note.argument = Unescape(f[3].substr(1));
    }
    entry.patches.push_back(note);
    return true;
  }
  RecordedRange range;
  if (f[0] != "range" || f.size() != 4 || !ToNumber(f[1], range.offset) ||
      !FromHex(f[2], range.before) || !FromHex(f[3], range.after) || range.before.empty() ||
      range.after.size() != range.before.size() || range.offset > size ||
      range.before.size() > size - range.offset) {
    return false;
  }
  if (!entry.ranges.empty() &&
      entry.ranges.back().offset + entry.ranges.back().before.size() > range.offset) {
    return false;
  }
  entry.ranges.push_back(std::move(range));
  return true;
}

// The lines of a record after its first, every one whole and in its place. The lines are read
// where they lie in the text: a record of large ranges is not copied whole again.
bool DecodeLines(std::string_view body, HistoryRecord& record) {
  std::optional<HistoryEntry> open;
  bool haveOriginal = false;
  for (std::size_t start = 0; start < body.size();) {
    const std::size_t end = std::min(body.find('\n', start), body.size());
    const std::vector<std::string> f = Fields(body.substr(start, end - start));
    start = end + 1;
    if (!haveOriginal && f[0] == "path" && f.size() == 2) {
      record.path = Unescape(f[1]);
    } else if (!haveOriginal && f[0] == "identity" && f.size() == 2) {
      record.identity = f[1];
    } else if (!haveOriginal && f[0] == "follows" && f.size() == 2) {
      record.follows = Unescape(f[1]);
    } else if (!haveOriginal && f[0] == "original" && f.size() == 3) {
      haveOriginal = ToNumber(f[1], record.originalSize) && IsSha256(f[2]);
      record.originalSha256 = f[2];
      if (!haveOriginal) {
        return false;
      }
    } else if (haveOriginal && !open && f[0] == "op" && f.size() == 5 &&
               f[1].find_first_not_of("0123456789-:TZ") == std::string::npos && IsKind(f[2]) &&
               IsSha256(f[3]) && IsSha256(f[4])) {
      open = HistoryEntry{f[1], f[2], {}, f[3], f[4], {}};
    } else if (open && f[0] == "end" && f.size() == 1) {
      record.entries.push_back(std::move(*open));
      open.reset();
    } else if (!open || !AddLine(f, record.originalSize, *open)) {
      return false;
    }
  }
  return haveOriginal && !open;
}

}  // namespace

std::string EncodeHistory(const HistoryRecord& record) {
  // The text is made in one buffer of its whole size: a record of large ranges is not copied
  // while it grows.
  std::size_t size = 512 + 3 * (record.path.size() + record.follows.size());
  for (const HistoryEntry& entry : record.entries) {
    size += 256;
    for (const PatchNote& patch : entry.patches) {
      size += 128 + 3 * (patch.name.size() + patch.argument.value_or("").size());
    }
    for (const RecordedRange& range : entry.ranges) {
      size += 32 + 2 * (range.before.size() + range.after.size());
    }
  }
  std::string text;
  text.reserve(size);
  text.append(kHeader).append("\npath\t").append(Escape(record.path)) += '\n';
  if (!record.identity.empty()) {
    text.append("identity\t").append(record.identity) += '\n';
  }
  if (!record.follows.empty()) {
    text.append("follows\t").append(Escape(record.follows)) += '\n';
  }
  text.append("original\t").append(std::to_string(record.originalSize)) += '\t';
  text.append(record.originalSha256) += '\n';
  for (const HistoryEntry& entry : record.entries) {
    text.append("op\t").append(entry.time).append("\t").append(entry.kind) += '\t';
    text.append(entry.before).append("\t").append(entry.after) += '\n';
    for (const PatchNote& patch : entry.patches) {
      text.append("patch\t").append(Escape(patch.name)).append("\t").append(patch.sha256) += '\t';
      text.append(patch.argument ? "=" + Escape(*patch.argument) : "-") += '\n';
    }
    for (const RecordedRange& range : entry.ranges) {
      text.append("range\t").append(std::to_string(range.offset)) += '\t';
      AppendHex(range.before, text);
      text += '\t';
      AppendHex(range.after, text);
      text += '\n';
    }
    text.append("end\n");
  }
  const std::string sum = TextSha256(text, text.size());
  text.append(kSumField).append(sum) += '\n';
  return text;
}

bool DecodeHistory(const std::string& text, HistoryRecord& record) {
  record = HistoryRecord{};
  const std::size_t firstEnd = text.find('\n');
  const std::string first = text.substr(0, firstEnd);
  if (firstEnd == std::string::npos || text.back() != '\n' ||
      (first != kHeader && first != kLegacyHeader)) {
    return false;
  }
  std::string_view body = std::string_view(text).substr(firstEnd + 1);
  if (first == kHeader) {
    // The last line sums every line before it.
    const std::size_t sumAt = text.rfind(kSumField);
    if (sumAt == std::string::npos || (sumAt != 0 && text[sumAt - 1] != '\n') ||
        text.size() - sumAt != std::strlen(kSumField) + 65 ||
        text.compare(sumAt + std::strlen(kSumField), 64, TextSha256(text, sumAt)) != 0) {
      return false;
    }
    body = std::string_view(text).substr(firstEnd + 1, sumAt - firstEnd - 1);
  }
  if (!DecodeLines(body, record)) {
    record = HistoryRecord{};
    return false;
  }
  return true;
}

namespace {

// Adds the ranges where the `size` bytes at `before` and `after` differ, found at `base` in the
// file, to `ranges`; a range that goes on from the last one joins it.
void AddChangedRanges(const std::uint8_t* before, const std::uint8_t* after, std::size_t size,
                      std::uint64_t base, std::vector<RecordedRange>& ranges) {
  constexpr std::size_t kBlock = 4096;
  std::size_t i = 0;
  while (i < size) {
    // Whole blocks that did not change are passed over at the speed of memcmp.
    const std::size_t block = std::min(kBlock, size - i);
    if (std::memcmp(before + i, after + i, block) == 0) {
      i += block;
      continue;
    }
    for (const std::size_t end = i + block; i < end;) {
      if (before[i] == after[i]) {
        ++i;
        continue;
      }
      std::size_t last = i;
      while (last < size && before[last] != after[last]) {
        ++last;
      }
      if (ranges.empty() || ranges.back().offset + ranges.back().after.size() != base + i) {
        ranges.push_back({base + i, {}, {}});
      }
      ranges.back().before.insert(ranges.back().before.end(), before + i, before + last);
      ranges.back().after.insert(ranges.back().after.end(), after + i, after + last);
      i = last;
    }
  }
}

}  // namespace

std::vector<RecordedRange> ChangedRanges(const Bytes& before, const Bytes& after) {
  std::vector<RecordedRange> ranges;
  AddChangedRanges(before.data(), after.data(), std::min(before.size(), after.size()), 0, ranges);
  return ranges;
}

std::vector<RecordedRange> ChangedRanges(const ByteRuns& before, const Bytes& after) {
  std::vector<RecordedRange> ranges;
  for (const auto& [offset, bytes] : before) {
    if (offset < after.size()) {
      const std::size_t size = std::min<std::uint64_t>(bytes.size(), after.size() - offset);
      AddChangedRanges(bytes.data(), after.data() + offset, size, offset, ranges);
    }
  }
  return ranges;
}

std::string Sha256Before(const Bytes& after, const std::vector<RecordedRange>& ranges) {
  Sha256 sum;
  std::uint64_t at = 0;
  for (const RecordedRange& range : ranges) {
    sum.Add(after.data() + at, range.offset - at);
    sum.Add(range.before.data(), range.before.size());
    at = range.offset + range.before.size();
  }
  sum.Add(after.data() + at, after.size() - at);
  return DigestText(sum.Finish());
}

std::string UtcNowText() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm parts{};
#ifdef _WIN32
  gmtime_s(&parts, &now);
#else
  gmtime_r(&now, &parts);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

}  // namespace varnock
