#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock::bench {

// The size of a target executable in these benchmarks, and of the stand-in engine.
inline constexpr std::size_t kExecutableSize = 1 << 20;
inline constexpr std::size_t kEngineSize = 790'528;

// The signature of the stand-in engine.
inline constexpr const char* kEngineVersion = "LE_UK_P:XP_Standard (11-Nov-2000  15:21)";

// Bytes that look like machine code and data rather than zeros: a fifth zero bytes, a share
// of the commonest x86 opcode and operand bytes, the rest even. The same seed gives the same
// bytes.
Bytes CodeLikeFiller(std::size_t size, std::uint32_t seed);

// The sizes of the large executables: 1 MB, 64 MB and 512 MB.
inline constexpr std::int64_t kMegabyte = 1 << 20;

// `size` bytes of code-like filler: one megabyte of it repeated, quick to make at any size.
Bytes LargeFiller(std::size_t size, std::uint32_t seed);

// A tomb4.exe of a standard UK build: filler throughout, a PE header dated 11 November 2000,
// 15:21, and every text and byte run of the version probes at its place.
Bytes MakeEngineImage();

// A patch of three zones of `length` bytes at `offsets`, made for `image`: the original bytes
// are the image's, the patched ones differ from them in every byte.
PatchRecord MakePatch(const Bytes& image, const std::int32_t (&offsets)[3], std::int32_t length,
                      std::int32_t flags, const std::string& version);

}  // namespace varnock::bench
