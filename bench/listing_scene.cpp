#include "bench/listing_scene.h"

#include <cstdio>

#include "bench/floors.h"
#include "bench/synthetic_images.h"
#include "patchfile/patch_writer.h"

namespace varnock::bench {

namespace {

std::string MadeFrom(int index) {
  switch (index % 3) {
    case 0:
      return kEngineVersion;
    case 1:
      return "LE_UK_B:30_Standard (2-Feb-2001  10:15)";
    default:
      return "TP_Standard (16-Oct-2000  10:37)";
  }
}

}  // namespace

ListingScene::ListingScene(int count) {
  const Bytes image = MakeEngineImage();
  engine = engineFolder.Write("tomb4.exe", image);
  const std::string description(170, 'd');
  for (int i = 0; i < count; ++i) {
    const std::int32_t offsets[3] = {0x1000 + i, 0x2000 + i, 0x3000 + i};
    PatchRecord record = MakePatch(image, offsets, 8, 0, MadeFrom(i));
    record.Description = "Patch " + std::to_string(i) + ": " + description;
    char name[32];
    std::snprintf(name, sizeof name, "Patch_%06d.ptc", i);
    paths.push_back(patches.Write(name, WritePatch(record)));
  }
}

std::size_t ReadAll(const std::vector<std::string>& paths) {
  std::size_t bytes = 0;
  for (const std::string& path : paths) {
    bytes += ReadOnce(path).size();
  }
  return bytes;
}

}  // namespace varnock::bench
