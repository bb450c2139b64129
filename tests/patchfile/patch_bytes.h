#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "patchfile/patch_record.h"
#include "patchfile/patch_writer.h"
#include "support/bytes.h"

namespace varnock::testing {

// Builds .ptc bytes by hand, field by field, independently of the record writer.
class PatchBytes {
 public:
  PatchBytes& Int(std::int32_t value) {
    AppendInt32(bytes_, value);
    return *this;
  }
  PatchBytes& Ints(std::initializer_list<std::int32_t> values) {
    for (const std::int32_t value : values) {
      Int(value);
    }
    return *this;
  }
  // A string: count, then one 16-bit unit per character (for ASCII text, the character).
  PatchBytes& Units(std::u16string_view units) {
    AppendPatchUnits(bytes_, units);
    return *this;
  }
  PatchBytes& Text(const std::string& ascii) {
    return Units(std::u16string(ascii.begin(), ascii.end()));
  }
  PatchBytes& Raw(const Bytes& values) {
    bytes_.insert(bytes_.end(), values.begin(), values.end());
    return *this;
  }
  PatchBytes& Zone(std::int32_t offset, const Bytes& original, const Bytes& patched) {
    return Int(offset).Int(static_cast<std::int32_t>(original.size())).Raw(original).Raw(patched);
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

// A record with every field set, none of them to the defaults.
inline PatchRecord SamplePatch() {
  return {.Flags = HasArgument | SameExeVersionOnly,
          .ArgOffsets = {0x1000, 0x1004},
          .ArgType = NumWord,
          .ArgMaxLength = 7,
          .ExeVersion = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)",
          .Description = "Bigger \xE2\x80\x98limits\xE2\x80\x99 \xE2\x82\xAC\r\ncaf\xC3\xA9",
          .ExeName = "tomb4.exe",
          .Zones = {PatchZone{0x1000, 8, Bytes(8, 0x90), Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
                    PatchZone{0x8EBB1, 4, Bytes{0x40, 0x4B, 0x4C, 0x00}, Bytes{0, 0, 0x40, 1}}}};
}

}  // namespace varnock::testing
