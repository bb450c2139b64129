#pragma once

#include <string>

#include "app/settings_store.h"

namespace varnock {

// The names under which the user's choices are kept between runs.
inline constexpr char kRememberedPatchFolder[] = "PatchFolder";
inline constexpr char kRememberedTarget[] = "Executable";

// The main window's choices kept between runs: what start-up takes again while it still
// exists, and each new choice as the user makes it. Without a store nothing is kept.
class RememberedChoices {
 public:
  explicit RememberedChoices(SettingsStore* settings) : settings_(settings) {}

  // The executable chosen in the last run, while it still exists; else empty.
  std::string Target() const;
  // The last patch folder while it still holds patches; else `fallback`.
  std::string PatchFolder(const std::string& fallback) const;
  void KeepTarget(const std::string& exe);
  void KeepPatchFolder(const std::string& folder);

 private:
  void Keep(const char* name, const std::string& value);

  SettingsStore* settings_;
};

}  // namespace varnock
