#pragma once

#include <string_view>

#include "ui/window_design.h"

namespace varnock {

// What assistive technology calls a control. A control with a caption is called by it; one
// named by a label is called by the label's caption without its closing colon; the others are
// called as the design's names say. Both front ends take the names from here and from the
// labels' captions, so a window has one list of texts.

// A label's caption as the name of what it labels: "Patch description:" names "Patch
// description".
constexpr std::string_view NameFromCaption(std::string_view caption) {
  while (!caption.empty() && (caption.back() == ':' || caption.back() == ' ')) {
    caption.remove_suffix(1);
  }
  return caption;
}

// The label that names `control`, or nullptr when none does.
constexpr const ControlDesign* NamingLabel(const WindowDesign& design, std::string_view control) {
  for (const ControlLabel& named : design.labels) {
    if (named.control == control) {
      return &design.controls[static_cast<std::size_t>(IndexOf(design.controls, named.label))];
    }
  }
  return nullptr;
}

// The name the design gives `control` itself (empty when it gives none).
constexpr std::string_view GivenName(const WindowDesign& design, std::string_view control) {
  for (const ControlName& named : design.names) {
    if (named.control == control) {
      return named.name;
    }
  }
  return {};
}

}  // namespace varnock
