#pragma once

#include <cstdint>
#include <vector>

namespace varnock {

// The exchange sort of an index list over `values` (left untouched): for each position k and
// each later position j, index[k] and index[j] are exchanged when values[index[k]] is greater
// (ascending) or smaller (descending) than values[index[j]]. Not stable, by design: the patch
// list comes out exactly in the order these steps give. Values of at most three kinds, as the
// list's ranks are, take linear time to the same result; others the steps themselves.
std::vector<std::int32_t> SortIndexes(const std::vector<std::int32_t>& values, std::int32_t count,
                                      bool ascending);

}  // namespace varnock
