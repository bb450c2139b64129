#include "bench/folder_scene.h"

#include <cstdio>

#include "bench/synthetic_images.h"
#include "patchfile/patch_writer.h"

namespace varnock::bench {

FolderScene::FolderScene(int count, bool copies) {
  const Bytes image = MakeEngineImage();
  engine = engineFolder.Write("tomb4.exe", image);
  const std::string description(170, 'd');
  for (int i = 0; i < count; ++i) {
    const int place = copies ? 0 : i;
    const std::int32_t at = 0x1000 + place * 24;
    const std::int32_t offsets[3] = {at, at + 8, at + 16};
    PatchRecord record = MakePatch(image, offsets, 8, 0, kEngineVersion);
    record.Description = "Patch " + std::to_string(place) + ": " + description;
    char name[32];
    std::snprintf(name, sizeof name, "Patch_%06d.ptc", i);
    paths.push_back(patches.Write(name, WritePatch(record)));
  }
}

}  // namespace varnock::bench
