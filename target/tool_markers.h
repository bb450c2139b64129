#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace varnock {

// A program of the tool set recognised by one marker text (no terminating zero byte) expected
// at one place, and by its size.
struct ToolMarker {
  std::string_view fileName;
  std::string_view kindCode;
  std::string_view marker;
  std::int64_t place = 0;
  std::int64_t size = 0;
};

inline constexpr ToolMarker kToolMarkers[] = {
    {"script.exe", "SC", "\\c\\script.c", 0x1692D, 0x1A9DC},
    {"tom2pc.exe", "TP", "PC Level Converter", 0x199C0, 0x20000},
    {"WinRoomEdit.exe", "WE", "Room Edit", 0x61C38, 0x69000},
};

// The engine's file name; any other name outside the table is of kind "??".
inline constexpr std::string_view kEngineFileName = "tomb4.exe";

// The tool whose file name equals `fileName`, letter case ignored.
std::optional<ToolMarker> FindToolMarker(std::string_view fileName);

}  // namespace varnock
