#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/folder_status.h"
#include "sets/patch_set.h"
#include "ui/user_interface.h"

namespace varnock {

// What a set asks of one row of the Patches window.
struct SetMark {
  std::string fileName;
  bool checked = false;
  bool reapply = false;  // applied with another value than the set's: removed and applied again
};

// The argument "Apply changes" gives a patch of the set, and its place in the set's order.
struct SetArgument {
  std::size_t rank = 0;
  std::optional<std::string> value;
};

// A set opened in the Patches window: the marks it sets, from the same plan as `set apply`
// carries out, and what the user is told in one box.
struct OpenedSet {
  std::vector<SetMark> marks;  // the rows named; the others keep the mark of their status
  std::unordered_map<std::string, SetArgument> arguments;  // by file name
  std::string message;
  bool refused = false;  // nothing is to be marked; `message` tells why
};

// The set read from `setPath` against `status` (complete, of the window's folder and
// executable). A set file that cannot be read, or one for another program, is refused.
OpenedSet OpenSet(const std::string& setPath, const FolderStatus& status);

// Saves as `setPath` every patch of `folder` applied on the executable at `exePath`, as
// `set save` does; a file already there is replaced (the save dialog asked). False after a
// message when nothing is saved.
bool SaveSetAs(const std::string& folder, const std::string& exePath, const std::string& setPath,
               UserInterface& ui);

}  // namespace varnock
