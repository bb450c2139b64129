#include "app/window_stretch.h"

#include <algorithm>

namespace varnock {

namespace {

constexpr double kStretchMargin = 1.02;

}  // namespace

double StretchForCaptions(std::span<const CaptionMeasure> captions, bool translated) {
  if (!translated) {
    return 1;
  }
  double overflow = 1;
  for (const CaptionMeasure& caption : captions) {
    if (caption.room > 0) {
      overflow = std::max(overflow, static_cast<double>(caption.needed) / caption.room);
    }
  }
  return overflow > 1 ? overflow * kStretchMargin : 1;
}

}  // namespace varnock
