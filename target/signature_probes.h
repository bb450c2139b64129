#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "target/signature_parts.h"
#include "target/tool_markers.h"

namespace varnock {

// The probes of a tomb4.exe: sets the kind code ("LE" or "LR") and appends the logo, A, B, C,
// D and P pieces. False with a description when the content cannot be probed (a logo text in
// its first two bytes, or probe P reaching past the end of an "LR" file).
bool ProbeEngine(std::string_view content, SignatureParts& parts, std::string& error);

// The marker probe of a tool program: the unsigned, unlabelled distance of its marker from the
// expected place, "M" when missing.
void ProbeTool(std::string_view content, const ToolMarker& tool, SignatureParts& parts);

// The size piece "S:" and the deviation of the content's length; it carries no "_".
void ProbeSize(std::string_view content, std::int64_t expectedSize, SignatureParts& parts);

}  // namespace varnock
