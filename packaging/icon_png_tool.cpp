// varnock-icon-png SIZE OUT.png [set]: writes the program's icon (with "set", its set files'
// icon) at SIZE by SIZE pixels as a PNG file, drawn by the same code as the Windows program's. The
// build runs it for the icon theme folders of the Linux package, so that no picture is kept in the
// sources.

#include <QImage>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "win32/icon_image.h"

int main(int argc, char** argv) {
  const bool set = argc == 4 && std::strcmp(argv[3], "set") == 0;
  const int size = argc == 3 || set ? std::atoi(argv[1]) : 0;
  if (size < 1 || size > 1024) {
    std::cerr << "usage: varnock-icon-png SIZE OUT.png [set]\n";
    return 2;
  }
  const std::vector<std::uint32_t> pixels = varnock::win32::IconPixels(
      size, set ? varnock::win32::IconKind::PatchSet : varnock::win32::IconKind::Program);
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    std::memcpy(image.scanLine(y), pixels.data() + static_cast<std::size_t>(y) * size,
                static_cast<std::size_t>(size) * sizeof(std::uint32_t));
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::cerr << "varnock-icon-png: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
