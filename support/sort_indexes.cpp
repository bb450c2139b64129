#include "support/sort_indexes.h"

#include <algorithm>
#include <array>
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

// The levels 0, 1 and 2 of the values when they take at most three distinct values, ordered
// so that the sort brings the highest level first; nothing when there are more.
bool ThreeLevels(const std::vector<std::int32_t>& values, std::size_t size, bool ascending,
                 std::vector<std::uint8_t>& levels) {
  std::array<std::int32_t, 3> distinct{};
  std::size_t found = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (std::find(distinct.begin(), distinct.begin() + found, values[i]) ==
        distinct.begin() + found) {
      if (found == distinct.size()) {
        return false;
      }
      distinct[found++] = values[i];
    }
  }
  levels.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    // The level is the number of distinct values below this one.
    const auto below = static_cast<std::uint8_t>(std::count_if(
        distinct.begin(), distinct.begin() + found, [&](std::int32_t v) { return v < values[i]; }));
    levels[i] = ascending ? static_cast<std::uint8_t>(found - 1 - below) : below;
  }
  return true;
}

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

// The exchange sort as its steps read, for values of more than three kinds.
Indexes SortByExchanges(const std::vector<std::int32_t>& values, std::size_t size, bool ascending) {
  Indexes index(size);
  for (std::size_t i = 0; i < size; ++i) {
    index[i] = static_cast<std::int32_t>(i);
  }
  for (std::size_t k = 0; k + 1 < size; ++k) {
    for (std::size_t j = k + 1; j < size; ++j) {
      const std::int32_t first = values[static_cast<std::size_t>(index[k])];
      const std::int32_t second = values[static_cast<std::size_t>(index[j])];
      if (ascending ? first > second : first < second) {
        std::swap(index[k], index[j]);
      }
    }
  }
  return index;
}

}  // namespace

std::vector<std::int32_t> SortIndexes(const std::vector<std::int32_t>& values, std::int32_t count,
                                      bool ascending) {
  // A count beyond the values would read past them: only the values that exist take part.
  const auto size = static_cast<std::size_t>(std::clamp<std::int32_t>(
      count, 0, static_cast<std::int32_t>(std::min<std::size_t>(values.size(), INT32_MAX))));
  std::vector<std::uint8_t> levels;
  if (ThreeLevels(values, size, ascending, levels)) {
    return SortThreeLevels(std::move(levels));
  }
  return SortByExchanges(values, size, ascending);
}

}  // namespace varnock
