#include "engine/version_rank.h"

#include "support/paths.h"

namespace varnock {

std::int32_t VersionRank(std::string_view current, std::string_view patchVersion) {
  if (EqualsIgnoreCase(current, patchVersion)) {
    return 2;
  }
  constexpr std::size_t kPrefix = 6;
  if (EqualsIgnoreCase(current.substr(0, kPrefix), patchVersion.substr(0, kPrefix))) {
    return 1;
  }
  return 0;
}

}  // namespace varnock
