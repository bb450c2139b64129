#include "history/history_record.h"

#include <charconv>
#include <chrono>
#include <cstring>
#include <ctime>
#include <sstream>

#include "support/sha256.h"

namespace varnock {

namespace {

constexpr const char* kHeader = "varnock-history\t1";

// Tabs, line ends and '%' of free texts are written as %XX, so that each field stays on its line.
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

std::string ToHex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool ToNumber(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.size() > 19 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  value = std::stoull(text);
  return true;
}

// Adds one line of an entry to `entry`; false for a line that belongs to no entry.
bool AddLine(const std::vector<std::string>& f, HistoryEntry& entry) {
  if (f[0] == "patch" && f.size() == 4) {
    PatchNote note{Unescape(f[1]), f[2], std::nullopt};
    if (f[3] != "-") {
      note.argument = Unescape(f[3].substr(1));
    }
    entry.patches.push_back(note);
    return true;
  }
  RecordedRange range;
  if (f[0] == "range" && f.size() == 4 && ToNumber(f[1], range.offset) &&
      FromHex(f[2], range.before) && FromHex(f[3], range.after) &&
      range.after.size() == range.before.size()) {
    entry.ranges.push_back(std::move(range));
    return true;
  }
  return false;
}

}  // namespace

std::string EncodeHistory(const HistoryRecord& record) {
  std::ostringstream out;
  out << kHeader << '\n'
      << "path\t" << Escape(record.path) << '\n'
      << "original\t" << record.originalSize << '\t' << record.originalSha256 << '\n';
  for (const HistoryEntry& entry : record.entries) {
    out << "op\t" << entry.time << '\t' << entry.kind << '\t' << entry.before << '\t' << entry.after
        << '\n';
    for (const PatchNote& patch : entry.patches) {
      out << "patch\t" << Escape(patch.name) << '\t' << patch.sha256 << '\t'
          << (patch.argument ? "=" + Escape(*patch.argument) : "-") << '\n';
    }
    for (const RecordedRange& range : entry.ranges) {
      out << "range\t" << range.offset << '\t' << ToHex(range.before) << '\t' << ToHex(range.after)
          << '\n';
    }
    out << "end\n";
  }
  return out.str();
}

bool DecodeHistory(const std::string& text, HistoryRecord& record) {
  record = HistoryRecord{};
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) {
    return false;
  }
  std::optional<HistoryEntry> open;
  bool haveOriginal = false;
  // Only whole lines count: the last one, without its line end, may be cut short.
  while (std::getline(in, line) && !in.eof()) {
    const std::vector<std::string> f = Fields(line);
    if (f[0] == "path" && f.size() == 2) {
      record.path = Unescape(f[1]);
    } else if (f[0] == "original" && f.size() == 3) {
      haveOriginal = ToNumber(f[1], record.originalSize);
      record.originalSha256 = f[2];
    } else if (f[0] == "op" && f.size() == 5) {
      open = HistoryEntry{f[1], f[2], {}, f[3], f[4], {}};
    } else if (f[0] == "end" && open) {
      record.entries.push_back(std::move(*open));
      open.reset();
    } else if (!open || !AddLine(f, *open)) {
      open.reset();  // a damaged entry is dropped whole
    }
  }
  return haveOriginal;
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
