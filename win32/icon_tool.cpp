// varnock-icon OUT.ico SET.ico: writes the program's icon and its set files' icon, drawn by
// icon_image.cpp, for the resource compiler. The build runs it, so that no picture is kept in
// the sources.

#include <fstream>
#include <iostream>

#include "win32/icon_image.h"

namespace {

bool WriteIcon(const char* path, varnock::win32::IconKind kind) {
  const std::vector<std::uint8_t> file =
      varnock::win32::IcoFile({16, 20, 24, 32, 40, 48, 64}, kind);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    std::cerr << "varnock-icon: cannot write " << path << "\n";
  }
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: varnock-icon OUT.ico SET.ico\n";
    return 2;
  }
  const bool written = WriteIcon(argv[1], varnock::win32::IconKind::Program) &&
                       WriteIcon(argv[2], varnock::win32::IconKind::PatchSet);
  return written ? 0 : 1;
}
