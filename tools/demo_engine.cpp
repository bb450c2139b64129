#include "tools/demo_engine.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "target/engine_probes.h"

namespace varnock::tools {

namespace {

using namespace std::string_view_literals;
using namespace std::string_literals;

// Seconds from 1970-01-01 to 2000-11-11 15:21:40.
constexpr std::uint32_t kBuildStamp = 11272u * 86400u + 15u * 3600u + 21u * 60u + 40u;
constexpr std::size_t kPeHeader = 0x80;
constexpr std::size_t kLogoPlace = 0xB2F40;

class EngineImage {
 public:
  EngineImage() : bytes_(static_cast<std::size_t>(probes::kEngineSize), 0), used_(bytes_.size()) {}

  bool Put(std::size_t place, std::string_view piece, const std::string& what, std::string& error) {
    if (place > bytes_.size() || bytes_.size() - place < piece.size()) {
      error = what + " lies outside the engine";
      return false;
    }
    for (std::size_t i = 0; i < piece.size(); ++i) {
      if (used_[place + i]) {
        std::ostringstream text;
        text << what << " overlaps another piece at 0x" << std::hex << std::uppercase << place + i;
        error = text.str();
        return false;
      }
      used_[place + i] = true;
      bytes_[place + i] = static_cast<std::uint8_t>(piece[i]);
    }
    return true;
  }

  bool Put(std::size_t place, const Bytes& piece, const std::string& what, std::string& error) {
    return Put(place, std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()),
               what, error);
  }

  // The first occurrence of every probe must be the one put at its place.
  bool FirstAt(std::size_t place, std::string_view probe, const std::string& what,
               std::string& error) const {
    const auto found =
        std::search(bytes_.begin(), bytes_.end(), probe.begin(), probe.end(),
                    [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
    if (static_cast<std::size_t>(found - bytes_.begin()) != place) {
      error = what + " also occurs before its place";
      return false;
    }
    return true;
  }

  Bytes& Image() { return bytes_; }

 private:
  Bytes bytes_;
  std::vector<bool> used_;
};

// `size` bytes of `value`, low byte first; bytes beyond the value's own eight are zero.
std::string LittleEndian(std::uint64_t value, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    out.push_back(i < 8 ? static_cast<char>(value >> (8 * i)) : '\0');
  }
  return out;
}

bool PutHeader(EngineImage& image, std::string& error) {
  const std::string pe = "PE\0\0"s + LittleEndian(0x014C, 2) + LittleEndian(4, 2) +
                         LittleEndian(kBuildStamp, 4) + LittleEndian(0, 8) + LittleEndian(0xE0, 2) +
                         LittleEndian(0x010F, 2) + LittleEndian(0x010B, 2);
  return image.Put(0, "MZ"sv, "the DOS header", error) &&
         image.Put(0x3C, LittleEndian(kPeHeader, 4), "the PE header offset", error) &&
         image.Put(0x4E, "This program cannot be run in DOS mode.\r\r\n$"sv, "the DOS stub",
                   error) &&
         image.Put(kPeHeader, pe, "the PE header", error);
}

struct Probe {
  std::int64_t place;
  std::string_view bytes;
  const char* what;
};

bool PutProbes(EngineImage& image, std::string& error) {
  const Probe all[] = {
      {probes::kPlaceA, probes::kProbeA, "probe A"},
      {probes::kPlaceB, probes::kProbeB, "probe B"},
      {probes::kPlaceC, probes::kProbeC, "probe C"},
      {probes::kPlaceD, probes::kProbeD, "probe D"},
      {probes::kPlaceSleep, probes::kSleepText, "the Sleep text"},
      {probes::kPlaceP3, probes::kProbeP3, "probe P"},
      {kLogoPlace, "uklogo.pak\0"sv, "the logo"},
  };
  for (const Probe& probe : all) {
    if (!image.Put(static_cast<std::size_t>(probe.place), probe.bytes, probe.what, error)) {
      return false;
    }
  }
  for (const Probe& probe : all) {
    if (!image.FirstAt(static_cast<std::size_t>(probe.place), probe.bytes, probe.what, error)) {
      return false;
    }
  }
  return true;
}

bool PutZones(EngineImage& image, const std::vector<PatchRecord>& patches, std::string& error) {
  for (const PatchRecord& patch : patches) {
    for (std::size_t i = 0; i < patch.Zones.size(); ++i) {
      const PatchZone& zone = patch.Zones[i];
      const std::string what = "zone " + std::to_string(i) + " of the patch for " + patch.ExeName;
      if (zone.Offset < 0 ||
          !image.Put(static_cast<std::size_t>(zone.Offset), zone.OriginalBytes, what, error)) {
        if (error.empty()) {
          error = what;
          error += " lies outside the engine";
        }
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool MakeDemoEngine(const std::vector<PatchRecord>& patches, Bytes& engine, std::string& error) {
  error.clear();
  EngineImage image;
  if (!PutHeader(image, error) || !PutZones(image, patches, error) || !PutProbes(image, error)) {
    return false;
  }
  engine = std::move(image.Image());
  return true;
}

}  // namespace varnock::tools
