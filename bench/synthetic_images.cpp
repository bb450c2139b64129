#include "bench/synthetic_images.h"

#include <algorithm>
#include <array>
#include <random>
#include <string_view>

#include "target/build_date.h"
#include "target/calendar.h"
#include "target/engine_probes.h"
#include "tools/pe_time_stamp.h"

namespace varnock::bench {

namespace {

using namespace std::string_view_literals;

constexpr std::array<std::uint8_t, 8> kCommonBytes = {0x8B, 0x89, 0x24, 0x44,
                                                      0x83, 0xC0, 0x50, 0xFF};
constexpr std::int32_t kPeHeader = 0x80;

void Put(Bytes& image, std::int64_t place, std::string_view piece) {
  std::copy(piece.begin(), piece.end(), image.begin() + place);
}

}  // namespace

Bytes CodeLikeFiller(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> kind(0, 99);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> common(0, kCommonBytes.size() - 1);
  Bytes bytes(size);
  for (std::uint8_t& value : bytes) {
    const int k = kind(random);
    if (k < 20) {
      value = 0;
    } else if (k < 35) {
      value = kCommonBytes[common(random)];
    } else {
      value = static_cast<std::uint8_t>(byte(random));
    }
  }
  return bytes;
}

Bytes LargeFiller(std::size_t size, std::uint32_t seed) {
  const Bytes block = CodeLikeFiller(kMegabyte, seed);
  Bytes bytes;
  bytes.reserve(size);
  while (bytes.size() < size) {
    const std::size_t part = std::min(block.size(), size - bytes.size());
    bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(part));
  }
  return bytes;
}

Bytes MakeEngineImage() {
  Bytes image = CodeLikeFiller(kEngineSize, 4);
  Put(image, 0, "MZ"sv);
  Put(image, kPeHeader, "PE\0\0"sv);
  const BuildDate built{2000, 11, 11, 15, 21, 40};
  PutPeTimeStamp(image, kPeHeader, static_cast<std::int32_t>(SecondsFromDate(built)));
  Put(image, probes::kPlaceA, probes::kProbeA);
  Put(image, probes::kPlaceB, probes::kProbeB);
  Put(image, probes::kPlaceC, probes::kProbeC);
  Put(image, probes::kPlaceD, probes::kProbeD);
  Put(image, probes::kPlaceSleep, probes::kSleepText);
  Put(image, probes::kPlaceP3, probes::kProbeP3);
  // The four bytes of probe P differ from the reference: the "P:XP" build.
  Put(image, probes::kPlacePForLe, "\x90\x90\x90\x90"sv);
  Put(image, 0xB2F40, "uklogo.pak\0"sv);
  return image;
}

PatchRecord MakePatch(const Bytes& image, const std::int32_t (&offsets)[3], std::int32_t length,
                      std::int32_t flags, const std::string& version) {
  PatchRecord record;
  record.Flags = flags;
  record.ExeVersion = version;
  record.Description = "Benchmark patch: three zones of " + std::to_string(length) + " bytes.";
  record.ExeName = "tomb4.exe";
  for (const std::int32_t offset : offsets) {
    PatchZone zone;
    zone.Offset = offset;
    zone.Length = length;
    zone.OriginalBytes.assign(image.begin() + offset, image.begin() + offset + length);
    for (const std::uint8_t byte : zone.OriginalBytes) {
      zone.PatchBytes.push_back(static_cast<std::uint8_t>(byte ^ 0x5A));
    }
    record.Zones.push_back(zone);
  }
  return record;
}

}  // namespace varnock::bench
