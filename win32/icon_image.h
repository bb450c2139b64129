#pragma once

#include <cstdint>
#include <vector>

namespace varnock::win32 {

// The program's icon drawn at `size` by `size` pixels: a dark green plate with a bright green
// rim and letter, and a red patch stitched over its top right corner. One 0xAARRGGBB value a
// pixel, rows from the top, alpha not premultiplied.
std::vector<std::uint32_t> IconPixels(int size);

// The icon as an .ico file holding one 32-bit image of each size.
std::vector<std::uint8_t> IcoFile(const std::vector<int>& sizes);

}  // namespace varnock::win32
