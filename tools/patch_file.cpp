#include "tools/patch_file.h"

#include <fstream>

#include "support/files.h"

namespace varnock {

bool WritePatchFile(const std::string& path, const PatchRecord& record) {
  const Bytes bytes = WritePatch(record);
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace varnock
