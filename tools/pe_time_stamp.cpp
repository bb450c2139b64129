#include "tools/pe_time_stamp.h"

#include "target/build_date.h"

namespace varnock {

void PutPeTimeStamp(Bytes& image, std::int32_t headerOffset, std::int32_t stamp) {
  const auto put = [&image](std::int64_t at, std::int32_t value) {
    if (image.size() < static_cast<std::size_t>(at + 4)) {
      image.resize(static_cast<std::size_t>(at + 4), 0);
    }
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
      image[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
  };
  put(kPeHeaderOffsetPlace, headerOffset);
  const std::int64_t place = std::int64_t{headerOffset} + kTimeStampDistance;
  if (place >= 0) {
    put(place, stamp);
  }
}

}  // namespace varnock
