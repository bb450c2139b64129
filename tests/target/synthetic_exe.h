#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/bytes.h"
#include "target/build_date.h"
#include "target/engine_probes.h"

namespace varnock::testing {

// Stamps of the builds the stored signatures were made from.
inline constexpr std::int32_t kEngineStamp = 973956060;     // 11-Nov-2000 15:21
inline constexpr std::int32_t kConverterStamp = 971692620;  // 16-Oct-2000 10:37

// `size` zero bytes with a PE header offset of 0x80 at 0x3C and `stamp` in that header.
inline Bytes ExeImage(std::int64_t size, std::int32_t stamp) {
  Bytes image(static_cast<std::size_t>(size), 0);
  PutPeTimeStamp(image, 0x80, stamp);
  return image;
}

// Writes `bytes` at `at`, growing the image when needed.
inline void Put(Bytes& image, std::int64_t at, std::string_view bytes) {
  image.resize(std::max<std::size_t>(image.size(), at + bytes.size()), 0);
  std::copy(bytes.begin(), bytes.end(), image.begin() + at);
}

inline constexpr std::int64_t kLogoPlace = 0xB0000;

// A tomb4.exe of the reference layout: one "uk" logo, A, B, C and D at their places, probe P's
// four bytes left zero (so P:XP), "Sleep" and the eight bytes of the third test in place.
inline Bytes ReferenceEngine() {
  using namespace probes;
  Bytes image = ExeImage(kEngineSize, kEngineStamp);
  Put(image, kLogoPlace - 2, "uk");
  Put(image, kLogoPlace, kLogoText);
  Put(image, kPlaceA, kProbeA);
  Put(image, kPlaceB, kProbeB);
  Put(image, kPlaceC, kProbeC);
  Put(image, kPlaceD, kProbeD);
  Put(image, kPlaceSleep, kSleepText);
  Put(image, kPlaceP3, kProbeP3);
  return image;
}

// The same run of bytes with every byte zeroed (removes a probe from the image).
inline void Erase(Bytes& image, std::int64_t at, std::size_t length) {
  Put(image, at, std::string(length, '\0'));
}

}  // namespace varnock::testing
