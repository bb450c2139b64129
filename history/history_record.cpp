#include "history/history_record.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include "history/history_reader.h"
#include "support/sha256.h"

namespace varnock {

namespace {

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

// Gives out `bytes` as hexadecimal digits, a piece at a time: a large range is never held
// as text whole.
void PutHex(const Bytes& bytes, const TextOut& out) {
  static constexpr char kDigits[] = "0123456789abcdef";
  constexpr std::size_t kPiece = std::size_t{32} * 1024;
  std::string text;
  text.reserve(2 * std::min(kPiece, bytes.size()));
  for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
    text.clear();
    for (std::size_t i = at; i < bytes.size() && i < at + kPiece; ++i) {
      text += kDigits[bytes[i] >> 4];
      text += kDigits[bytes[i] & 15];
    }
    out(text);
  }
}

}  // namespace

void EncodeHeader(const HistoryRecord& record, const TextOut& out) {
  out(std::string(kHistoryHeader) + "\npath\t" + Escape(record.path) + "\n");
  if (!record.identity.empty()) {
    out("identity\t" + record.identity + "\n");
  }
  if (!record.follows.empty()) {
    out("follows\t" + Escape(record.follows) + "\n");
  }
  out("original\t" + std::to_string(record.originalSize) + "\t" + record.originalSha256 + "\n");
}

void EncodeEntry(const HistoryEntry& entry, const TextOut& out) {
  out("op\t" + entry.time + "\t" + entry.kind + "\t" + entry.before + "\t" + entry.after + "\n");
  for (const PatchNote& patch : entry.patches) {
    out("patch\t" + Escape(patch.name) + "\t" + patch.sha256 + "\t" +
        (patch.argument ? "=" + Escape(*patch.argument) : "-") + "\n");
  }
  for (const RecordedRange& range : entry.ranges) {
    out("range\t" + std::to_string(range.offset) + "\t");
    PutHex(range.before, out);
    out("\t");
    PutHex(range.after, out);
    out("\n");
  }
  out("end\n");
}

std::string EncodeHistory(const HistoryRecord& record) {
  std::string text;
  const TextOut append = [&text](std::string_view piece) { text.append(piece); };
  EncodeHeader(record, append);
  for (const HistoryEntry& entry : record.entries) {
    EncodeEntry(entry, append);
  }
  const std::string sum =
      DigestText(Sha256Of(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  text.append(kHistorySumField).append(sum) += '\n';
  return text;
}

bool DecodeHistory(const std::string& text, HistoryRecord& record) {
  HistoryReader reader;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    if (!reader.Line(std::string_view(text).substr(start, end - start))) {
      break;
    }
  }
  return reader.Finish(start == text.size(), record);
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
