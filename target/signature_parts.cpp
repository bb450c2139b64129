#include "target/signature_parts.h"

namespace varnock {

void AppendDeviation(SignatureParts& parts, std::string_view label, const std::string& value) {
  if (value == "0") {
    return;
  }
  parts.body.append(label);
  parts.body += value + "_";
  parts.nonStandard = true;
}

std::string CollapseUnderscores(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '_' && i + 1 < text.size() && text[i + 1] == '_') {
      ++i;
    }
  }
  return out;
}

std::string ComposeSignature(const SignatureParts& parts, const std::string& buildDate) {
  std::string body = parts.body;
  if (!body.empty() && body.back() == '_') {
    body.pop_back();
  }
  if (!parts.nonStandard) {
    body += "_Standard";
  }
  return CollapseUnderscores(parts.kindCode + "_" + body + " (" + buildDate + ")");
}

}  // namespace varnock
