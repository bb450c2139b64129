#pragma once

#include <string>
#include <string_view>

#include "target/signature_parts.h"

namespace varnock {

// The probes of a tomb4.exe: sets the kind code ("LE" or "LR") and appends the logo, A, B, C,
// D and P pieces. False with a description when the content cannot be probed (a logo text in
// its first two bytes, or probe P reaching past the end of an "LR" file).
bool ProbeEngine(std::string_view content, SignatureParts& parts, std::string& error);

}  // namespace varnock
