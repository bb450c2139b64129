#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/result_code.h"
#include "patchfile/patch_record.h"
#include "support/bytes.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tools/patch_file.h"

namespace varnock::testing {

// An image of pseudo-random bytes: any run of four or more bytes occurs in it only by
// extreme chance, so a zone's bytes are found exactly where a test puts them.
inline Bytes RandomImage(std::size_t size, std::uint32_t seed = 12345) {
  Bytes image(size);
  for (auto& byte : image) {
    seed = seed * 1103515245U + 12345U;
    byte = static_cast<std::uint8_t>(seed >> 16);
  }
  return image;
}

inline PatchZone Zone(std::int32_t offset, Bytes original, Bytes patched) {
  const auto length = static_cast<std::int32_t>(original.size());
  return {offset, length, std::move(original), std::move(patched)};
}

inline PatchRecord Patch(std::int32_t flags, std::vector<PatchZone> zones) {
  PatchRecord record;
  record.Flags = flags;
  record.ExeName = "tomb4.exe";
  record.Zones = std::move(zones);
  return record;
}

inline void WithArgument(PatchRecord& record, std::int32_t type, std::vector<std::int32_t> offsets,
                         std::int32_t maxLength = 0) {
  record.Flags |= HasArgument;
  record.ArgType = type;
  record.ArgMaxLength = maxLength;
  record.ArgOffsets = std::move(offsets);
}

inline void Put(Bytes& image, std::size_t at, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(at));
}

// The names of the folder's entries other than the ones a test made itself.
inline std::vector<std::string> Leftovers(const std::string& folder,
                                          const std::vector<std::string>& expected) {
  std::vector<std::string> extra;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    extra.push_back(entry.path().filename().string());
  }
  std::erase_if(extra,
                [&](const std::string& name) { return std::ranges::count(expected, name) > 0; });
  return extra;
}

// A random image, its header putting the time stamp at 0x88, written as dir/tomb4.exe, and a
// patch of two zones taken from it.
class ImageTest : public ::testing::Test {
 protected:
  ImageTest() : image(RandomImage(4096)) {
    Put(image, 0x3C, {0x80, 0, 0, 0});
    exe = dir.Write("tomb4.exe", image);
  }
  Bytes Slice(std::size_t at, std::size_t size) const {
    return {image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(at + size)};
  }
  PatchRecord TwoZones(std::int32_t flags = 0) const {
    return Patch(flags, {Zone(100, Slice(100, 4), {1, 2, 3, 4}), Zone(300, Slice(300, 2), {5, 6})});
  }
  Bytes Applied() const {
    Bytes applied = image;
    Put(applied, 100, {1, 2, 3, 4});
    Put(applied, 300, {5, 6});
    return applied;
  }

  TempDir dir;
  RecordingUi ui;
  Bytes image;
  std::string exe;
};

inline const char* kGeneralFailure = "ERROR trying to apply binary patch. Error mexage: ";

// True when the only message is the general failure message, with some description.
inline bool OnlyGeneralFailure(const RecordingUi& ui) {
  const std::string prefix = kGeneralFailure;
  return ui.messages.size() == 1 && ui.messages[0].icon == MessageIcon::Critical &&
         ui.messages[0].text.size() > prefix.size() && ui.messages[0].text.starts_with(prefix);
}

}  // namespace varnock::testing
