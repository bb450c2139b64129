#pragma once

#include <string>
#include <vector>

#include "ui/user_interface.h"

namespace varnock {

// Files opened with the program or dropped onto its window, by what each is for; of each kind
// the last one given counts.
struct OpenedFiles {
  std::string patch;   // a .ptc file: its folder becomes the patch folder and it is chosen
  std::string folder;  // a folder: the patch folder
  std::string exe;     // a program (.exe): the executable to patch
  std::string set;     // a set (.ptcset): opened in the Patches window over its own folder
};

// Sorts `paths` as the user gave them (a relative one is taken from `currentFolder`). A path
// that names nothing, and a file of any other kind, is refused with a message through `ui`:
// only a program is ever patched, as the picker offers only programs.
OpenedFiles SortOpenedFiles(const std::vector<std::string>& paths, const std::string& currentFolder,
                            UserInterface& ui);

}  // namespace varnock
