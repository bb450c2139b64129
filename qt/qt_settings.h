#pragma once

#include <QSettings>
#include <QString>

#include "app/settings_store.h"

namespace varnock::qt {

// The user's settings of the program, kept by QSettings in the user's configuration folder.
class QtSettings : public SettingsStore {
 public:
  QtSettings();

  std::string Read(const std::string& name) const override;
  void Write(const std::string& name, const std::string& value) override;

 private:
  QSettings settings_;
};

}  // namespace varnock::qt
