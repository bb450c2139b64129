#include "engine/zone_at.h"

#include <algorithm>

namespace varnock {

namespace {

// True when the zone's byte lists hold at least Length bytes each and the run
// [position, position + Length) lies wholly inside the image. 64-bit arithmetic: an offset or
// a length near the 32-bit limits simply lies outside.
bool ZoneFits(const Bytes& image, std::int64_t position, const ZoneView& zone) {
  const std::int64_t length = zone.Length;
  return position >= 0 && length >= 0 &&
         position + length <= static_cast<std::int64_t>(image.size()) &&
         zone.OriginalBytes.size() >= static_cast<std::size_t>(length) &&
         zone.PatchBytes.size() >= static_cast<std::size_t>(length);
}

bool BytesAt(const Bytes& image, std::int64_t position, ByteSpan expected, std::int32_t length) {
  return std::equal(expected.begin(), expected.begin() + length, image.begin() + position);
}

}  // namespace

ResultCode CheckZoneAt(const Bytes& image, std::int64_t position, const ZoneView& zone,
                       bool removing, bool dontVerify) {
  if (!ZoneFits(image, position, zone)) {
    return ResultFailed;
  }
  const ByteSpan expected = removing ? zone.PatchBytes : zone.OriginalBytes;
  const ByteSpan wanted = removing ? zone.OriginalBytes : zone.PatchBytes;
  if (dontVerify || BytesAt(image, position, expected, zone.Length)) {
    return ResultDone;
  }
  return BytesAt(image, position, wanted, zone.Length) ? ResultAlreadyDone : ResultFailed;
}

}  // namespace varnock
