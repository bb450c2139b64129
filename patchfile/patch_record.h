#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "patchfile/zone_list.h"
#include "support/bytes.h"

namespace varnock {

// Flag bits of PatchRecord::Flags. No other bit is tested anywhere.
inline constexpr std::int32_t Dynamic = 1;
inline constexpr std::int32_t HasArgument = 2;
inline constexpr std::int32_t RecordAlignment = 4;
inline constexpr std::int32_t DontVerifySource = 8;
inline constexpr std::int32_t SameExeVersionOnly = 16;

// Argument type codes of PatchRecord::ArgType; any other value means no argument.
inline constexpr std::int32_t TextString = 1;
inline constexpr std::int32_t TextStringZ = 2;
inline constexpr std::int32_t NumByte = 3;
inline constexpr std::int32_t NumWord = 4;
inline constexpr std::int32_t NumLong = 5;
inline constexpr std::int32_t NumFloat = 6;

// The one loaded patch, fields in file order. Texts are UTF-8. The file's two counts are the
// sizes of the lists they count: a record cannot disagree with itself.
struct PatchRecord {
  std::int32_t Flags = 0;
  std::vector<std::int32_t> ArgOffsets;
  std::int32_t ArgType = 0;
  std::int32_t ArgMaxLength = 0;
  std::string ExeVersion;
  std::string Description;
  std::string ExeName;
  ZoneList Zones;

  std::int32_t ZoneCount() const { return static_cast<std::int32_t>(Zones.size()); }
  std::int32_t ArgOffsetCount() const { return static_cast<std::int32_t>(ArgOffsets.size()); }
  bool Has(std::int32_t flag) const { return (Flags & flag) != 0; }

  friend bool operator==(const PatchRecord&, const PatchRecord&) = default;
};

}  // namespace varnock
