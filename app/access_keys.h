#pragma once

#include <string>
#include <string_view>

namespace varnock {

// A button's design caption, in the user's language, with its access key marked by "&" before
// the letter: Alt and the letter press the button. The visible text stays the same, the letter
// underlined. Captions without an access key come back unchanged.
std::string WithAccessKey(std::string_view caption);

}  // namespace varnock
