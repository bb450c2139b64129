#pragma once

#include <span>

namespace varnock {

// What a caption (or a row of column titles) needs across and the room its control gives it,
// both in pixels, as a front end measures them in the control's own font.
struct CaptionMeasure {
  int needed;
  int room;
};

// How many times wider than its design a window is drawn so that every caption measured fits:
// the widest overflow, and a little more for the rounding of every edge to whole pixels. It is
// exactly 1 when every caption fits, and always in English (`translated` false), where the
// designs were measured.
double StretchForCaptions(std::span<const CaptionMeasure> captions, bool translated);

}  // namespace varnock
