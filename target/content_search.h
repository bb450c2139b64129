#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace varnock {

inline constexpr std::int64_t kNotFound = -1;

// Exact byte searches over one content, many patterns. The content's byte frequencies are
// sampled once; each search then runs memchr over the pattern's rarest byte and compares the
// whole pattern only where that byte occurs, which keeps a search of a large executable close
// to the speed of a memory scan.
class ContentSearch {
 public:
  explicit ContentSearch(std::string_view content);

  // The offset of the first occurrence of `pattern` at or after `from`; kNotFound when none.
  std::int64_t Find(std::string_view pattern, std::int64_t from = 0) const;

  // Searches several patterns in one sweep over the content, block by block, so that the
  // content passes through the processor's cache once rather than once per pattern. The
  // occurrences of each pattern are reported in order as (pattern index, offset); `found`
  // returns true to hear of the pattern's next occurrence, false when it needs no more.
  void Sweep(std::span<const std::string_view> patterns,
             const std::function<bool(std::size_t, std::int64_t)>& found) const;

 private:
  // Patterns searched together through one key byte, each with the place of that byte in it.
  struct KeyGroup {
    char byte;
    std::vector<std::size_t> members;
    std::vector<std::size_t> keys;
  };
  std::vector<KeyGroup> GroupByKey(std::span<const std::string_view> patterns,
                                   const std::vector<bool>& searching) const;
  // The last start of an occurrence of `pattern` within the block at `block`.
  std::int64_t LastStart(std::string_view pattern, std::int64_t block) const;

  std::size_t RarestIndex(std::string_view pattern) const;
  // The first occurrence of `pattern` starting between `from` and `lastStart`, both included.
  std::int64_t FindBetween(std::string_view pattern, std::size_t key, std::int64_t from,
                           std::int64_t lastStart) const;

  std::string_view content_;
  std::array<std::uint32_t, 256> counts_{};
};

// One search over `content` (for a single pattern).
std::int64_t FindFirst(std::string_view content, std::string_view pattern, std::int64_t from = 0);

// The content of a file held as bytes, seen as text for searching.
template <typename ByteContainer>
std::string_view AsText(const ByteContainer& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace varnock
