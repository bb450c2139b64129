#include "support/sort_indexes.h"

#include <algorithm>
#include <utility>

namespace varnock {

std::vector<std::int32_t> SortIndexes(const std::vector<std::int32_t>& values, std::int32_t count,
                                      bool ascending) {
  // A count beyond the values would read past them: only the values that exist take part.
  const std::int32_t size = std::clamp<std::int32_t>(
      count, 0, static_cast<std::int32_t>(std::min<std::size_t>(values.size(), INT32_MAX)));
  std::vector<std::int32_t> index(static_cast<std::size_t>(size));
  for (std::int32_t i = 0; i < size; ++i) {
    index[static_cast<std::size_t>(i)] = i;
  }
  for (std::size_t k = 0; k + 1 < index.size(); ++k) {
    for (std::size_t j = k + 1; j < index.size(); ++j) {
      const std::int32_t first = values[static_cast<std::size_t>(index[k])];
      const std::int32_t second = values[static_cast<std::size_t>(index[j])];
      if (ascending ? first > second : first < second) {
        std::swap(index[k], index[j]);
      }
    }
  }
  return index;
}

}  // namespace varnock
