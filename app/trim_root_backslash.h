#pragma once

#include <string>
#include <string_view>

#include "support/paths.h"

namespace varnock {

// A folder path ready to be joined with a separator and a name. Windows style: a path of at
// most 3 characters has every ":\" turned into ":" (C:\ becomes C:). POSIX style: the root "/"
// becomes empty, so that folder + "/" + name gives "/name". Any other path is unchanged.
std::string TrimRootBackslash(std::string_view path, PathStyle style = kNativeStyle);

// A folder as TrimRootBackslash left it, ready to be listed and shown again: POSIX style the
// empty text is the root "/" once more. Anything else, Windows' "C:" included, is unchanged.
std::string WholeRoot(std::string_view folder, PathStyle style = kNativeStyle);

}  // namespace varnock
