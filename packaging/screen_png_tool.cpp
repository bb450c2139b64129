// varnock-screen-png OUT.png: writes the part of the X display that differs from its black
// background as a PNG file: the one window shown on an otherwise empty virtual display.
// scripts/screenshots runs it to picture both windows for the documentation.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <iostream>

namespace {

// The smallest rectangle holding every pixel that is not the background's black.
QRect Drawn(const QImage& image) {
  QRect drawn;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFFu) != 0) {
        drawn |= QRect(x, y, 1, 1);
      }
    }
  }
  return drawn;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: varnock-screen-png OUT.png\n";
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
  const QRect drawn = Drawn(screen);
  if (drawn.isEmpty()) {
    std::cerr << "varnock-screen-png: nothing is shown on the display\n";
    return 1;
  }
  if (!screen.copy(drawn).save(QString::fromLocal8Bit(argv[1]), "PNG", 9)) {
    std::cerr << "varnock-screen-png: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
