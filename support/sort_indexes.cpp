#include "support/sort_indexes.h"

#include <algorithm>
#include <utility>

namespace varnock {

namespace {

using Indexes = std::vector<std::int32_t>;

// The positions of the entries at or above one level, in rising order, read from the front.
// An entry that has fallen below the level, or lies at or before the place asked about, is
// passed over for good: neither comes back into question as the sort goes on.
class LevelQueue {
 public:
  explicit LevelQueue(std::uint8_t least) : least_(least) {}
  void Add(std::size_t position) { positions_.push_back(position); }
  // The first position after `after` whose entry is still at the level; `none` when none is.
  std::size_t FirstAfter(std::size_t after, const std::vector<std::uint8_t>& level,
                         std::size_t none) {
    while (next_ < positions_.size() &&
           (positions_[next_] <= after || level[positions_[next_]] < least_)) {
      ++next_;
    }
    return next_ < positions_.size() ? positions_[next_] : none;
  }

 private:
  std::uint8_t least_;
  std::vector<std::size_t> positions_;
  std::size_t next_ = 0;
};

// The exchange sort over levels 0 to 2, highest first, in linear time. At position k the
// entry there is exchanged with each later entry of a higher level as the scan meets it, so a
// pass makes at most two exchanges: with the first later entry above it and, when that one is
// a 1 taken in place of a 0, with the first 2 beyond it. Entries beyond k never rise to 2 nor
// from 0, so a queue of the 2s and one of the entries above 0 find both places.
Indexes SortThreeLevels(std::vector<std::uint8_t> level) {
  const std::size_t size = level.size();
  Indexes index(size);
  LevelQueue twos(2);
  LevelQueue raised(1);
  for (std::size_t i = 0; i < size; ++i) {
    index[i] = static_cast<std::int32_t>(i);
    if (level[i] == 2) {
      twos.Add(i);
    }
    if (level[i] > 0) {
      raised.Add(i);
    }
  }
  const auto exchange = [&](std::size_t a, std::size_t b) {
    std::swap(index[a], index[b]);
    std::swap(level[a], level[b]);
  };
  for (std::size_t k = 0; k + 1 < size; ++k) {
    if (level[k] == 2) {
      continue;
    }
    const std::size_t first = (level[k] == 1 ? twos : raised).FirstAfter(k, level, size);
    if (first == size) {
      continue;
    }
    exchange(k, first);
    if (level[k] == 1) {
      const std::size_t two = twos.FirstAfter(first, level, size);
      if (two != size) {
        exchange(k, two);
      }
    }
  }
  return index;
}

}  // namespace

std::vector<std::int32_t> SortIndexes(const std::vector<std::int32_t>& values) {
  // The highest rank sorts first.
  std::vector<std::uint8_t> levels(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    levels[i] = static_cast<std::uint8_t>(std::clamp(values[i], 0, 2));
  }
  return SortThreeLevels(std::move(levels));
}

}  // namespace varnock
