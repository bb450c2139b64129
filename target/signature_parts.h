#pragma once

#include <string>
#include <string_view>

namespace varnock {

// A version signature while it is assembled: kind code, body pieces, and whether any piece
// counts as a deviation from the reference build.
struct SignatureParts {
  std::string kindCode;
  std::string body;
  bool nonStandard = false;
};

// Appends `label`, `value` and "_" and marks the signature non-standard, unless the value is
// "0" (the probe found everything in place).
void AppendDeviation(SignatureParts& parts, std::string_view label, const std::string& value);

// Kind code, "_", body (its last "_" removed, "_Standard" added when nothing deviates), " (",
// the build date, ")"; then every "__" becomes "_".
std::string ComposeSignature(const SignatureParts& parts, const std::string& buildDate);

// Every "__" replaced by "_", left to right over non-overlapping occurrences.
std::string CollapseUnderscores(std::string_view text);

}  // namespace varnock
