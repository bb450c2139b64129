// varnock-icon OUT.ico: writes the program's icon, drawn by icon_image.cpp, for the resource
// compiler. The build runs it, so that no picture is kept in the sources.

#include <fstream>
#include <iostream>

#include "win32/icon_image.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: varnock-icon OUT.ico\n";
    return 2;
  }
  const std::vector<std::uint8_t> file = varnock::win32::IcoFile({16, 20, 24, 32, 40, 48, 64});
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    std::cerr << "varnock-icon: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
