#include "win32/icon_image.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace varnock::win32 {

namespace {

struct Colour {
  double r, g, b, a;
};

constexpr Colour kClear{0, 0, 0, 0};
constexpr Colour kBright{0, 255, 0, 1};
constexpr Colour kDark{0, 64, 0, 1};
constexpr Colour kRed{220, 0, 0, 1};
constexpr Colour kWhite{255, 255, 255, 1};

// Distance from (x, y) to the segment (ax, ay)-(bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

// True inside the rounded square from `low` to `high` with corners of radius `radius`.
bool InRoundedSquare(double x, double y, double low, double high, double radius) {
  const double cx = std::clamp(x, low + radius, high - radius);
  const double cy = std::clamp(y, low + radius, high - radius);
  return x >= low && x <= high && y >= low && y <= high && std::hypot(x - cx, y - cy) <= radius;
}

// A red patch, a square of half side `half` turned by 20 degrees about (cx, cy), with a white
// seam; none outside it.
std::optional<Colour> PatchAt(double x, double y, double cx, double cy, double half) {
  const double turn = 20.0 * 3.14159265358979 / 180.0;
  const double px = (x - cx) * std::cos(turn) + (y - cy) * std::sin(turn);
  const double py = -(x - cx) * std::sin(turn) + (y - cy) * std::cos(turn);
  const double edge = std::max(std::abs(px), std::abs(py));
  if (edge > half) {
    return std::nullopt;
  }
  const bool seam =
      edge > half - 0.9 || (std::abs(edge - half * 6 / 11) < 0.4 && std::fmod(px + py + 20, 2) < 1);
  return seam ? kWhite : kRed;
}

// The colour of one point of the design, drawn on a 32-unit square: the program's patch and
// letter, or a set's three patches in a row.
Colour DesignAt(double x, double y, IconKind kind) {
  if (kind == IconKind::Program) {
    if (const std::optional<Colour> patch = PatchAt(x, y, 24, 8, 5.5)) {
      return *patch;
    }
    if (SegmentDistance(x, y, 7, 7, 16, 26) <= 2 || SegmentDistance(x, y, 16, 26, 25, 7) <= 2) {
      return kBright;
    }
  } else {
    for (const double at : {10.0, 16.0, 22.0}) {
      if (const std::optional<Colour> patch = PatchAt(x, y, at, at, 4.5)) {
        return *patch;
      }
    }
  }
  // The plate and its rim.
  if (InRoundedSquare(x, y, 1.5, 30.5, 5.5)) {
    return InRoundedSquare(x, y, 3, 29, 4) ? kDark : kBright;
  }
  return kClear;
}

}  // namespace

std::vector<std::uint32_t> IconPixels(int size, IconKind kind) {
  constexpr int kSamples = 4;  // per axis, for smooth edges
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
  const double scale = 32.0 / size;
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      Colour sum{0, 0, 0, 0};
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Colour c = DesignAt((column + (sx + 0.5) / kSamples) * scale,
                                    (row + (sy + 0.5) / kSamples) * scale, kind);
          sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
        }
      }
      const double alpha = sum.a / (kSamples * kSamples);
      auto channel = [&](double value) {
        return static_cast<std::uint32_t>(sum.a > 0 ? std::lround(value / sum.a) : 0);
      };
      pixels[static_cast<std::size_t>(row) * size + column] =
          static_cast<std::uint32_t>(std::lround(alpha * 255)) << 24 | channel(sum.r) << 16 |
          channel(sum.g) << 8 | channel(sum.b);
    }
  }
  return pixels;
}

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One image of the file: a bitmap header, the colour rows from the bottom up, and the
// transparency mask (set where the pixel is fully clear, for renderers without alpha).
std::vector<std::uint8_t> IconImage(int size, IconKind kind) {
  const std::vector<std::uint32_t> pixels = IconPixels(size, kind);
  const std::uint32_t maskStride = ((static_cast<std::uint32_t>(size) + 31) / 32) * 4;
  const std::uint32_t colourBytes = static_cast<std::uint32_t>(size * size * 4);
  std::vector<std::uint8_t> image;
  Put32(image, 40);
  Put32(image, static_cast<std::uint32_t>(size));
  Put32(image, static_cast<std::uint32_t>(size * 2));  // colour rows and mask rows
  Put16(image, 1);
  Put16(image, 32);
  Put32(image, 0);  // BI_RGB
  Put32(image, colourBytes + maskStride * static_cast<std::uint32_t>(size));
  for (int i = 0; i < 4; ++i) {
    Put32(image, 0);
  }
  for (int row = size - 1; row >= 0; --row) {
    for (int column = 0; column < size; ++column) {
      Put32(image, pixels[static_cast<std::size_t>(row) * size + column]);
    }
  }
  for (int row = size - 1; row >= 0; --row) {
    std::vector<std::uint8_t> mask(maskStride, 0);
    for (int column = 0; column < size; ++column) {
      if ((pixels[static_cast<std::size_t>(row) * size + column] >> 24) == 0) {
        mask[static_cast<std::size_t>(column) / 8] |=
            static_cast<std::uint8_t>(0x80 >> (column % 8));
      }
    }
    image.insert(image.end(), mask.begin(), mask.end());
  }
  return image;
}

}  // namespace

std::vector<std::uint8_t> IcoFile(const std::vector<int>& sizes, IconKind kind) {
  std::vector<std::vector<std::uint8_t>> images;
  for (int size : sizes) {
    images.push_back(IconImage(size, kind));
  }
  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // an icon
  Put16(file, static_cast<std::uint32_t>(sizes.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(sizes.size());
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const auto side = static_cast<std::uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]);
    file.insert(file.end(), {side, side, 0, 0});
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) {
    file.insert(file.end(), image.begin(), image.end());
  }
  return file;
}

}  // namespace varnock::win32
