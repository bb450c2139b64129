#include "engine/nearest_occurrence.h"

#include <cstdlib>

#include "target/content_search.h"

namespace varnock {

std::optional<std::int32_t> FindNearestOccurrence(const Bytes& image, ByteSpan pattern,
                                                  std::int64_t offset) {
  if (pattern.empty()) {
    return std::nullopt;
  }
  // The image's byte frequencies are sampled once; each further search starts one byte after
  // the previous occurrence, so the whole image is scanned a single time.
  const ContentSearch search(AsText(image));
  const std::string_view needle = AsText(pattern);
  std::optional<std::int64_t> best;
  std::int64_t from = 0;
  for (;;) {
    const std::int64_t found = search.Find(needle, from);
    if (found == kNotFound) {
      break;
    }
    const std::int64_t candidate = found - offset;
    if (candidate >= kFarthestShift || (best && candidate > 0 && candidate >= std::abs(*best))) {
      break;  // positions only grow from here: no later candidate can be nearer
    }
    if (std::abs(candidate) < kFarthestShift && (!best || std::abs(candidate) < std::abs(*best))) {
      best = candidate;
    }
    from = found + 1;
  }
  if (!best) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*best);
}

}  // namespace varnock
