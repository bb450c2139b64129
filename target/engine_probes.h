#pragma once

#include <cstdint>
#include <string_view>

namespace varnock::probes {

using namespace std::string_view_literals;

// The texts and byte runs the version signature looks for in a tomb4.exe, with the places a
// reference build holds them at. Texts marked "+ NUL" include their terminating zero byte.

// The edition: present only in the "LR" edition, anywhere in the file (+ NUL).
inline constexpr std::string_view kEditionText = "fmv\\fmv%02d.bik\0"sv;
// Every occurrence counts; the two bytes before each one are a logo code (+ NUL).
inline constexpr std::string_view kLogoText = "logo.pak\0"sv;

inline constexpr std::string_view kProbeA =
    "\x8B\x5C\x24\x40\x83\xC0\x0C\x43\x3B\x5E\x50\x89\x5C\x24\x40\x0F\x8C\x5C\xFF\xFF\xFF\x89"
    "\x54\x24\x20\x33\xDB"sv;
inline constexpr std::int64_t kPlaceA = 0x6FAAD;

inline constexpr std::string_view kProbeB =
    "\x8B\x4C\x24\x1C\x8B\x54\x24\x10\x5F\x5E\x89\x51\x0C\x89\x43\x30\x8B\x44\x24\x18\x5D\x5B"
    "\x59\xC3"sv;
inline constexpr std::int64_t kPlaceB = 0x9C61A;
// A build whose B lies this much later, with A in place, has the shifted layout.
inline constexpr std::int64_t kLayoutShift = 0x30;

inline constexpr std::string_view kProbeC = "OpenFileMappingA\0"sv;
inline constexpr std::int64_t kPlaceC = 0xA9F4C;

inline constexpr std::string_view kProbeD = "oversubscribed distance tree\0"sv;
inline constexpr std::int64_t kPlaceD = 0xBC078;

// Probe P: the four bytes compared in place (LR place; LE place plus the shift).
inline constexpr std::string_view kProbeP = "\x85\xC0\x75\xF7"sv;
inline constexpr std::int64_t kPlacePForLr = 0x76719;
inline constexpr std::int64_t kPlacePForLe = 0x74BB0;
// For LE, when P differs: "Sleep" + NUL is searched (first occurrence, plus the shift) ...
inline constexpr std::string_view kSleepText = "Sleep\0"sv;
inline constexpr std::int64_t kPlaceSleep = 0x922B1;
// ... and these eight bytes compared in place (plus the shift), letter case ignored.
inline constexpr std::string_view kProbeP3 = "\x59\x8B\x01\x85\xC0\x74\xF3\xC3"sv;
inline constexpr std::int64_t kPlaceP3 = 0x8D617;

inline constexpr std::int64_t kEngineSize = 0xC1000;

}  // namespace varnock::probes
