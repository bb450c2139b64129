#pragma once

#include <string>
#include <vector>

#include "bench/scratch_folder.h"

namespace varnock::bench {

// `count` patches of three 8-byte zones for the stand-in engine, in one folder: all different
// ones side by side in its code, or all copies of one patch, as downloaded folders hold
// variants of a patch. The engine lies in another folder.
struct FolderScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  std::vector<std::string> paths;
  std::string engine;

  FolderScene(int count, bool copies);
};

}  // namespace varnock::bench
