#include "target/tool_probes.h"

#include <cstdlib>

#include "support/hex_text.h"
#include "target/content_search.h"
#include "target/deviation_text.h"

namespace varnock {

void ProbeTool(std::string_view content, const ToolMarker& tool, SignatureParts& parts) {
  parts.kindCode = std::string(tool.kindCode);
  const std::int64_t found = FindFirst(content, tool.marker);
  if (found == kNotFound) {
    AppendDeviation(parts, "", "M");
    return;
  }
  const std::int64_t distance = found - tool.place;
  AppendDeviation(parts, "", HexDigits(static_cast<std::uint64_t>(std::abs(distance))));
}

void ProbeSize(std::string_view content, std::int64_t expectedSize, SignatureParts& parts) {
  const std::string value = DeviationText(static_cast<std::int64_t>(content.size()) - expectedSize);
  if (value == "0") {
    return;
  }
  parts.body += "S:" + value;
  parts.nonStandard = true;
}

}  // namespace varnock
