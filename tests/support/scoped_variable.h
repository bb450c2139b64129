#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace varnock::testing {

// Sets (or, given nothing, removes) an environment variable for the life of the object, then
// puts back what was there.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
    const char* old = std::getenv(name);
    old_ = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
    Set(value);
  }
  ~ScopedVariable() { Set(old_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void Set(const std::optional<std::string>& value) const {
#ifdef _WIN32
    _putenv_s(name_, value ? value->c_str() : "");  // an empty value removes it
#else
    value ? setenv(name_, value->c_str(), 1) : unsetenv(name_);
#endif
  }

  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace varnock::testing
