#pragma once

#include <string>

namespace varnock {

// Texts the program keeps for the user between two runs, by name. The Qt window keeps them
// with QSettings, the Windows window under the current user's registry key; tests keep them
// in memory.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The text kept under `name`; empty when there is none.
  virtual std::string Read(const std::string& name) const = 0;
  virtual void Write(const std::string& name, const std::string& value) = 0;
};

}  // namespace varnock
