#include "app/window_stretch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace varnock::testing {
namespace {

// Over random captions: in English the window keeps its design's width whatever overflows; in
// another language it keeps it exactly when every caption fits, and otherwise grows just enough
// for the widest overflow, every caption then fitting with a little to spare.
TEST(WindowStretch, GrowsJustEnoughForTheWidestOverflowAndNeverInEnglish) {
  std::mt19937 random(41);
  for (int trial = 0; trial < 3000; ++trial) {
    std::vector<CaptionMeasure> captions(std::uniform_int_distribution(0, 6)(random));
    double widest = 1;
    for (CaptionMeasure& caption : captions) {
      caption.room = std::uniform_int_distribution(0, 300)(random);
      caption.needed = std::uniform_int_distribution(0, 360)(random);
      if (caption.room > 0) {
        widest = std::max(widest, static_cast<double>(caption.needed) / caption.room);
      }
    }
    SCOPED_TRACE(trial);
    EXPECT_EQ(StretchForCaptions(captions, false), 1.0);
    const double stretch = StretchForCaptions(captions, true);
    if (widest == 1) {
      EXPECT_EQ(stretch, 1.0);
      continue;
    }
    EXPECT_GT(stretch, widest);
    EXPECT_LE(stretch, widest * 1.05);
  }
}

}  // namespace
}  // namespace varnock::testing
