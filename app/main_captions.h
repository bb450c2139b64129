#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "app/main_window_view.h"

namespace varnock {

// The captions of the main window's labels and its description, as they were last given: the
// view is passive and never asked for them back.
class MainCaptions {
 public:
  explicit MainCaptions(MainWindowView& view) : view_(view) {}

  const std::string& Of(MainLabel label) const { return captions_[Index(label)]; }
  void Set(MainLabel label, const std::string& text);
  // The captions that name the program the chosen patch is for, `targetName`.
  void ShowTarget(const std::string& targetName);

  const std::string& Description() const { return description_; }
  void SetDescription(const std::string& text);

 private:
  static std::size_t Index(MainLabel label) { return static_cast<std::size_t>(label); }

  MainWindowView& view_;
  std::array<std::string, 7> captions_;
  std::string description_;
};

}  // namespace varnock
