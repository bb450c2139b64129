#include "target/content_search.h"

#include <algorithm>
#include <functional>

namespace varnock {

std::int64_t FindFirst(std::string_view content, std::string_view pattern, std::int64_t from) {
  if (from < 0 || static_cast<std::uint64_t>(from) > content.size()) {
    return kNotFound;
  }
  const auto begin = content.begin() + from;
  const auto found = std::search(
      begin, content.end(), std::boyer_moore_horspool_searcher(pattern.begin(), pattern.end()));
  if (found == content.end() && !pattern.empty()) {
    return kNotFound;
  }
  return found - content.begin();
}

}  // namespace varnock
