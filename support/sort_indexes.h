#pragma once

#include <cstdint>
#include <vector>

namespace varnock {

// The descending exchange sort of an index list over `values` (left untouched): for each
// position k and each later position j, index[k] and index[j] are exchanged when
// values[index[k]] is smaller than values[index[j]]. Not stable, by design: the patch list comes
// out exactly in the order these steps give, in linear time. The values are ranks 0, 1 and 2;
// one below 0 sorts as 0 and one above 2 as 2.
std::vector<std::int32_t> SortIndexes(const std::vector<std::int32_t>& values);

}  // namespace varnock
