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
constexpr std::int64_t kSweepBlock = 16 * 1024;

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
    if (std::memcmp(candidate, pattern.data(), pattern.size()) == 0) {
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

void ContentSearch::Sweep(std::span<const std::string_view> patterns,
                          const std::function<bool(std::size_t, std::int64_t)>& found) const {
  std::vector<std::size_t> keys;
  std::vector<bool> searching;
  for (const std::string_view pattern : patterns) {
    keys.push_back(RarestIndex(pattern));
    searching.push_back(!pattern.empty() && pattern.size() <= content_.size());
  }
  const auto size = static_cast<std::int64_t>(content_.size());
  for (std::int64_t block = 0; block < size; block += kSweepBlock) {
    for (std::size_t i = 0; i < patterns.size(); ++i) {
      const std::int64_t lastStart =
          std::min(block + kSweepBlock - 1, size - static_cast<std::int64_t>(patterns[i].size()));
      std::int64_t from = block;
      while (searching[i] && from <= lastStart) {
        const std::int64_t at = FindBetween(patterns[i], keys[i], from, lastStart);
        if (at == kNotFound) {
          break;
        }
        searching[i] = found(i, at);
        from = at + 1;
      }
    }
  }
}

std::int64_t FindFirst(std::string_view content, std::string_view pattern, std::int64_t from) {
  return ContentSearch(content).Find(pattern, from);
}

}  // namespace varnock
