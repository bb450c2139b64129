#include "target/content_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace varnock {

namespace {

// One byte in this many is sampled; a prime stride keeps clear of the regular layout of
// tables and aligned code.
constexpr std::size_t kSampleStride = 251;
// The sweep's block: small enough to stay in the first-level cache while every pattern is
// searched in it.
constexpr std::int64_t kSweepBlock = std::int64_t{16} * 1024;
// The cost of one memchr run over the content, in sampled occurrences of its byte.
constexpr std::uint32_t kRunCost = 8;

// The pattern lies at `at`. Its first and last bytes are compared before the rest: most
// candidates fail on one of them, without the cost of a call.
bool MatchesAt(const char* at, std::string_view pattern) {
  return at[0] == pattern.front() && at[pattern.size() - 1] == pattern.back() &&
         std::memcmp(at, pattern.data(), pattern.size()) == 0;
}

}  // namespace

ContentSearch::ContentSearch(std::string_view content) : content_(content) {
  for (std::size_t i = 0; i < content.size(); i += kSampleStride) {
    ++counts_[static_cast<std::uint8_t>(content[i])];
  }
}

std::size_t ContentSearch::RarestIndex(std::string_view pattern) const {
  std::size_t rarest = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    if (counts_[static_cast<std::uint8_t>(pattern[i])] <
        counts_[static_cast<std::uint8_t>(pattern[rarest])]) {
      rarest = i;
    }
  }
  return rarest;
}

std::int64_t ContentSearch::FindBetween(std::string_view pattern, std::size_t key,
                                        std::int64_t from, std::int64_t lastStart) const {
  const char* const start = content_.data();
  // Candidates are the places of the key byte, the pattern's rarest, within the range.
  const char* next = start + from + key;
  const char* const last = start + lastStart + key;
  while (next <= last) {
    const void* hit = std::memchr(next, pattern[key], static_cast<std::size_t>(last - next + 1));
    if (hit == nullptr) {
      return kNotFound;
    }
    const char* const candidate = static_cast<const char*>(hit) - key;
    if (MatchesAt(candidate, pattern)) {
      return candidate - start;
    }
    next = static_cast<const char*>(hit) + 1;
  }
  return kNotFound;
}

std::int64_t ContentSearch::Find(std::string_view pattern, std::int64_t from) const {
  const auto lastStart = static_cast<std::int64_t>(content_.size() - pattern.size());
  if (pattern.size() > content_.size() || from < 0 || from > lastStart) {
    return kNotFound;
  }
  if (pattern.empty()) {
    return from;
  }
  return FindBetween(pattern, RarestIndex(pattern), from, lastStart);
}

// Patterns that hold a common rare byte are searched through it together: one memchr run over
// that byte serves them all. Greedily, the byte whose sampled count, plus the cost of a run
// over the content, is smallest per pattern it serves becomes the next key.
std::vector<ContentSearch::KeyGroup> ContentSearch::GroupByKey(
    std::span<const std::string_view> patterns, const std::vector<bool>& searching) const {
  std::vector<KeyGroup> groups;
  std::vector<bool> grouped(searching.size());
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    grouped[i] = !searching[i];
  }
  for (;;) {
    std::array<std::uint32_t, 256> serves{};
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      std::array<bool, 256> seen{};
      for (std::size_t k = 0; !grouped[i] && k < patterns[i].size(); ++k) {
        const auto byte = static_cast<std::uint8_t>(patterns[i][k]);
        serves[byte] += seen[byte] ? 0 : 1;
        seen[byte] = true;
      }
    }
    std::size_t best = 256;
    for (std::size_t b = 0; b < 256; ++b) {
      if (serves[b] > 0 &&
          (best == 256 || std::uint64_t{counts_[b] + kRunCost} * serves[best] <
                              std::uint64_t{counts_[best] + kRunCost} * serves[b])) {
        best = b;
      }
    }
    if (best == 256) {
      return groups;
    }
    KeyGroup group{static_cast<char>(best), {}, {}};
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      const std::size_t key = grouped[i] ? std::string_view::npos : patterns[i].find(group.byte);
      if (key != std::string_view::npos) {
        group.members.push_back(i);
        group.keys.push_back(key);
        grouped[i] = true;
      }
    }
    groups.push_back(std::move(group));
  }
}

void ContentSearch::Sweep(std::span<const std::string_view> patterns,
                          const std::function<bool(std::size_t, std::int64_t)>& found) const {
  std::vector<bool> searching;
  for (const std::string_view pattern : patterns) {
    searching.push_back(!pattern.empty() && pattern.size() <= content_.size());
  }
  const std::vector<KeyGroup> groups = GroupByKey(patterns, searching);
  const auto size = static_cast<std::int64_t>(content_.size());
  const char* const start = content_.data();
  for (std::int64_t block = 0; block < size; block += kSweepBlock) {
    for (const KeyGroup& group : groups) {
      // Each pattern takes the occurrences that start within this block; its key byte then
      // lies between the block's start plus its key index and its last start plus that index.
      std::int64_t first = size;
      std::int64_t last = -1;
      for (std::size_t m = 0; m < group.members.size(); ++m) {
        if (searching[group.members[m]]) {
          const auto key = static_cast<std::int64_t>(group.keys[m]);
          first = std::min(first, block + key);
          last = std::max(last, LastStart(patterns[group.members[m]], block) + key);
        }
      }
      if (first > last) {
        continue;  // every pattern of the group is done, or none can start in this block
      }
      const char* next = start + first;
      while (next <= start + last) {
        const void* hit =
            std::memchr(next, group.byte, static_cast<std::size_t>(start + last - next + 1));
        if (hit == nullptr) {
          break;
        }
        const std::int64_t at = static_cast<const char*>(hit) - start;
        bool any = false;
        for (std::size_t m = 0; m < group.members.size(); ++m) {
          const std::size_t i = group.members[m];
          const std::int64_t candidate = at - static_cast<std::int64_t>(group.keys[m]);
          if (searching[i] && candidate >= block && candidate <= LastStart(patterns[i], block) &&
              MatchesAt(start + candidate, patterns[i])) {
            searching[i] = found(i, candidate);
          }
          any = any || searching[i];
        }
        if (!any) {
          break;
        }
        next = static_cast<const char*>(hit) + 1;
      }
    }
  }
}

std::int64_t ContentSearch::LastStart(std::string_view pattern, std::int64_t block) const {
  return std::min(block + kSweepBlock - 1,
                  static_cast<std::int64_t>(content_.size() - pattern.size()));
}

std::int64_t FindFirst(std::string_view content, std::string_view pattern, std::int64_t from) {
  return ContentSearch(content).Find(pattern, from);
}

}  // namespace varnock
