#include "engine/apply_zone.h"

#include <algorithm>

#include "engine/zone_at.h"

namespace varnock {

ResultCode ApplyZone(Bytes& image, const ZoneView& zone, bool removing, bool testOnly,
                     bool dontVerify) {
  const ResultCode result = CheckZoneAt(image, zone.Offset, zone, removing, dontVerify);
  if (result != ResultDone || testOnly) {
    return result;
  }
  const ByteSpan wanted = removing ? zone.OriginalBytes : zone.PatchBytes;
  std::copy(wanted.begin(), wanted.begin() + zone.Length, image.begin() + zone.Offset);
  return ResultDone;
}

}  // namespace varnock
