#include "engine/nearest_occurrence.h"

#include <algorithm>
#include <functional>

namespace varnock {

namespace {

std::int64_t Magnitude(std::int64_t value) {
  return value < 0 ? -value : value;
}

}  // namespace

std::optional<std::int32_t> FindNearestOccurrence(const Bytes& image, const Bytes& pattern,
                                                  std::int64_t offset) {
  if (pattern.empty()) {
    return std::nullopt;
  }
  // The pattern is prepared once; each further search starts one byte after the previous
  // occurrence, so the whole image is scanned a single time.
  const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
  std::optional<std::int64_t> best;
  auto from = image.begin();
  for (;;) {
    const auto found = std::search(from, image.end(), searcher);
    if (found == image.end()) {
      break;
    }
    const std::int64_t candidate = (found - image.begin()) - offset;
    if (candidate >= kFarthestShift || (best && candidate > 0 && candidate >= Magnitude(*best))) {
      break;  // positions only grow from here: no later candidate can be nearer
    }
    if (Magnitude(candidate) < kFarthestShift &&
        (!best || Magnitude(candidate) < Magnitude(*best))) {
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
