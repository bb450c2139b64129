#pragma once

#include <cstdint>
#include <string_view>

#include "target/signature_parts.h"
#include "target/tool_markers.h"

namespace varnock {

// The marker probe of a tool program: the unsigned, unlabelled distance of its marker from the
// expected place, "M" when missing.
void ProbeTool(std::string_view content, const ToolMarker& tool, SignatureParts& parts);

// The size piece "S:" and the deviation of the content's length; it carries no "_".
void ProbeSize(std::string_view content, std::int64_t expectedSize, SignatureParts& parts);

}  // namespace varnock
