#pragma once

#include <string>
#include <vector>

#include "bench/scratch_folder.h"

namespace varnock::bench {

// The folder the larger ones are measured against: as many patches as a well-stocked folder
// holds.
inline constexpr int kSmallFolder = 2000;

// `count` patch files of about 550 bytes, as the ones carried by the program, in one folder:
// a third made for the stand-in engine, a third for another build of its edition, a third for
// another program. The engine lies in another folder.
struct ListingScene {
  ScratchFolder patches;
  ScratchFolder engineFolder;
  std::vector<std::string> paths;
  std::string engine;

  explicit ListingScene(int count);
};

// Every file read once; the bytes read.
std::size_t ReadAll(const std::vector<std::string>& paths);

}  // namespace varnock::bench
