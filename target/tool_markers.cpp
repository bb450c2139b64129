#include "target/tool_markers.h"

#include "support/paths.h"

namespace varnock {

std::optional<ToolMarker> FindToolMarker(std::string_view fileName) {
  for (const ToolMarker& tool : kToolMarkers) {
    if (EqualsIgnoreCase(fileName, tool.fileName)) {
      return tool;
    }
  }
  return std::nullopt;
}

}  // namespace varnock
