#pragma once

#include <string>

namespace varnock::win32 {

// The program's texts are UTF-8; the system's wide calls take UTF-16.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

// The text as an edit control shows it: every line end a CR LF pair.
std::string WithCrLf(const std::string& text);

}  // namespace varnock::win32
