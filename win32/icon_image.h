#pragma once

#include <cstdint>
#include <vector>

namespace varnock::win32 {

// The program's icon, or the icon of its set files.
enum class IconKind { Program, PatchSet };

// The icon drawn at `size` by `size` pixels: a dark green plate with a bright green rim; the
// program's holds a bright green letter and a red patch stitched over its top right corner, a
// set's three smaller patches from corner to corner. One 0xAARRGGBB value a pixel, rows from
// the top, alpha not premultiplied.
std::vector<std::uint32_t> IconPixels(int size, IconKind kind = IconKind::Program);

// The icon as an .ico file holding one 32-bit image of each size.
std::vector<std::uint8_t> IcoFile(const std::vector<int>& sizes, IconKind kind = IconKind::Program);

}  // namespace varnock::win32
