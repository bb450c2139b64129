// varnock-icon-png SIZE OUT.png: writes the program's icon at SIZE by SIZE pixels as a PNG
// file, drawn by the same code as the Windows program's icon. The build runs it for the icon
// theme folders of the Linux package, so that no picture is kept in the sources.

#include <QImage>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "win32/icon_image.h"

int main(int argc, char** argv) {
  const int size = argc == 3 ? std::atoi(argv[1]) : 0;
  if (size < 1 || size > 1024) {
    std::cerr << "usage: varnock-icon-png SIZE OUT.png\n";
    return 2;
  }
  const std::vector<std::uint32_t> pixels = varnock::win32::IconPixels(size);
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
