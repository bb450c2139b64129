#pragma once

#include <string>

namespace varnock::win32 {

// Prints `text` as one document on the system's default printer, in `face` at `points`
// points, wrapped to the page's width and continued on further pages as needed. False with a
// plain description in `error` when there is no default printer or the printer refuses the
// document.
bool PrintOnDefaultPrinter(const std::string& text, const std::string& face, int points,
                           std::string& error);

}  // namespace varnock::win32
