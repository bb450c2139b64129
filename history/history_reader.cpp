#include "history/history_reader.h"

#include <charconv>
#include <vector>

namespace varnock {

namespace {

bool FromHex(std::string_view text, Bytes& out) {
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

std::string Unescape(std::string_view text) {
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

// The fields of a line, where they lie in it: a line of a large range is not copied again.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool ToNumber(std::string_view text, std::uint64_t& value) {
  if (text.empty() || text.size() > 19 ||
      text.find_first_not_of("0123456789") != std::string_view::npos) {
    return false;
  }
  return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

bool IsSha256(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool IsKind(std::string_view kind) {
  for (const char* known : {"apply", "remove", "batch", "batch remove", "restore", "undo"}) {
    if (kind == known) {
      return true;
    }
  }
  return false;
}

// Adds one line of an entry to `entry`; false for a line that is not one, or a range that
// does not lie inside the original after the entry's other ranges.
bool AddLine(const std::vector<std::string_view>& f, std::uint64_t size, HistoryEntry& entry) {
  if (f[0] == "patch" && f.size() == 4 &&
      f[2].find_first_not_of("0123456789abcdef") == std::string_view::npos &&
      (f[3] == "-" || f[3].starts_with("="))) {
    PatchNote note{Unescape(f[1]), std::string(f[2]), std::nullopt};
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

}  // namespace

bool HistoryReader::Line(std::string_view line) {
  if (failed_ || summed_) {
    failed_ = true;  // nothing comes after the sum
    return false;
  }
  if (!legacy_ && started_ && line.starts_with(kHistorySumField)) {
    failed_ = !SumLine(line);
    return !failed_;
  }
  sum_.Add(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
  sum_.Add(reinterpret_cast<const std::uint8_t*>("\n"), 1);
  offset_ += line.size() + 1;
  failed_ = !(started_ ? BodyLine(line) : Header(line));
  return !failed_;
}

bool HistoryReader::Header(std::string_view line) {
  started_ = true;
  legacy_ = line == kLegacyHistoryHeader;
  return legacy_ || line == kHistoryHeader;
}

bool HistoryReader::SumLine(std::string_view line) {
  summed_ = true;
  stored_.end = offset_;
  textSha256_ = DigestText(sum_.Finish());
  return line.substr(kHistorySumField.size()) == textSha256_;
}

bool HistoryReader::BodyLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line);
  if (!haveOriginal_ && f[0] == "path" && f.size() == 2) {
    record_.path = Unescape(f[1]);
  } else if (!haveOriginal_ && f[0] == "identity" && f.size() == 2) {
    record_.identity = f[1];
  } else if (!haveOriginal_ && f[0] == "follows" && f.size() == 2) {
    record_.follows = Unescape(f[1]);
  } else if (!haveOriginal_ && f[0] == "original" && f.size() == 3) {
    haveOriginal_ = ToNumber(f[1], record_.originalSize) && IsSha256(f[2]);
    record_.originalSha256 = f[2];
    stored_.start = offset_;
    return haveOriginal_;
  } else if (haveOriginal_ && !open_ && f[0] == "op" && f.size() == 5 &&
             f[1].find_first_not_of("0123456789-:TZ") == std::string_view::npos && IsKind(f[2]) &&
             IsSha256(f[3]) && IsSha256(f[4])) {
    open_ = HistoryEntry{std::string(f[1]), std::string(f[2]), {},
                         std::string(f[3]), std::string(f[4]), {}};
  } else if (open_ && f[0] == "end" && f.size() == 1) {
    return CloseEntry();
  } else if (!open_ || !AddLine(f, record_.originalSize, *open_)) {
    return false;
  }
  return true;
}

bool HistoryReader::CloseEntry() {
  if (!open_->ranges.empty()) {
    if (!allRanges_ && lastRanged_) {
      std::vector<RecordedRange>().swap(record_.entries[*lastRanged_].ranges);
    }
    lastRanged_ = record_.entries.size();
  }
  record_.entries.push_back(std::move(*open_));
  open_.reset();
  return true;
}

bool HistoryReader::Finish(bool closed, HistoryRecord& record, StoredEntries* stored) {
  record = HistoryRecord{};
  if (failed_ || !closed || !haveOriginal_ || open_ || (!legacy_ && !summed_)) {
    return false;
  }
  if (legacy_) {
    stored_.end = offset_;
    textSha256_ = DigestText(sum_.Finish());
  }
  stored_.sha256 = textSha256_;
  record = std::move(record_);
  if (stored != nullptr) {
    *stored = stored_;
  }
  return true;
}

}  // namespace varnock
