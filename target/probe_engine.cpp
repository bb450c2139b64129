#include "target/probe_engine.h"

#include <array>
#include <vector>

#include "support/code_page.h"
#include "support/hex_text.h"
#include "support/paths.h"
#include "support/translation.h"
#include "target/content_search.h"
#include "target/deviation_text.h"
#include "target/engine_probes.h"

namespace varnock {

namespace {

using namespace probes;

// Where the engine's texts and byte runs were found: first occurrences, and for the logo name
// the number of occurrences with the first two places.
struct EngineFinds {
  std::int64_t edition = kNotFound;
  std::int64_t a = kNotFound;
  std::int64_t b = kNotFound;
  std::int64_t c = kNotFound;
  std::int64_t d = kNotFound;
  std::int64_t sleep = kNotFound;
  std::vector<std::int64_t> logos;
  std::int64_t logoCount = 0;
};

// All engine searches in one sweep over the content.
EngineFinds FindEngineProbes(const ContentSearch& search) {
  static constexpr std::array<std::string_view, 7> kPatterns = {
      kLogoText, kEditionText, kProbeA, kProbeB, kProbeC, kProbeD, kSleepText};
  EngineFinds finds;
  const std::array<std::int64_t*, 7> firsts = {nullptr,  &finds.edition, &finds.a,    &finds.b,
                                               &finds.c, &finds.d,       &finds.sleep};
  search.Sweep(kPatterns, [&](std::size_t pattern, std::int64_t at) {
    if (pattern == 0) {
      if (finds.logos.size() < 2) {
        finds.logos.push_back(at);
      }
      ++finds.logoCount;
      return true;
    }
    *firsts[pattern] = at;
    return false;
  });
  return finds;
}

// Upper case of one byte of the ANSI code page (Windows-1252 letters included).
std::uint8_t AnsiUpper(std::uint8_t byte) {
  if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
    return static_cast<std::uint8_t>(byte - 0x20);
  }
  if (byte == 0x9A || byte == 0x9C || byte == 0x9E) {
    return static_cast<std::uint8_t>(byte - 0x10);
  }
  return byte == 0xFF ? 0x9F : byte;
}

std::string LogoCode(std::string_view content, std::int64_t at) {
  std::string code;
  for (std::int64_t i = at - 2; i < at; ++i) {
    code += AnsiByteToUtf8(AnsiUpper(static_cast<std::uint8_t>(content[i])));
  }
  return code;
}

bool AppendLogoPart(std::string_view content, const EngineFinds& finds, SignatureParts& parts,
                    std::string& error) {
  if (!finds.logos.empty() && finds.logos[0] < 2) {
    error = Tr("the logo name lies at the very start of the file, with no logo code before it");
    return false;
  }
  if (finds.logoCount == 0) {
    parts.body += "UNKNOWN";
  } else if (finds.logoCount == 1) {
    parts.body += LogoCode(content, finds.logos[0]);
  } else if (finds.logoCount == 2) {
    parts.body += LogoCode(content, finds.logos[0]) + "/" + LogoCode(content, finds.logos[1]);
  } else {
    parts.body += "INT" + std::to_string(finds.logoCount);
  }
  parts.body += "_";
  return true;
}

// The deviation text of a probe found at `found` against `place`; `missing` when not found.
std::string ProbeValue(std::int64_t found, std::int64_t place, const char* missing) {
  return found == kNotFound ? missing : DeviationText(found - place);
}

bool SameIgnoringCase(std::string_view content, std::int64_t at, std::string_view expected) {
  if (at < 0 || static_cast<std::uint64_t>(at) + expected.size() > content.size()) {
    return false;
  }
  return EqualsIgnoreCase(content.substr(static_cast<std::size_t>(at), expected.size()), expected);
}

// Probe P: the four bytes at its place, then for "LE" the two further tests of XPnew.
bool AppendPPart(std::string_view content, const EngineFinds& finds, bool lr, std::int64_t shift,
                 SignatureParts& parts, std::string& error) {
  const std::int64_t base = lr ? kPlacePForLr : kPlacePForLe + shift;
  bool differs = false;
  for (std::int64_t i = 0; i < 4 && !differs; ++i) {
    if (base + i >= static_cast<std::int64_t>(content.size())) {
      // TRANSLATORS: %1 is a hexadecimal file offset.
      error = TrFormat("the file ends before the bytes of probe P at %1", {HexDigits(base + i)});
      return false;
    }
    differs = content[base + i] != kProbeP[i];
  }
  if (!differs) {
    return true;
  }
  std::string value = "XP";
  if (!lr && (finds.sleep != kPlaceSleep + shift ||
              !SameIgnoringCase(content, kPlaceP3 + shift, kProbeP3))) {
    value = "XPnew";
  }
  parts.body += "P:" + value + "_";
  return true;
}

}  // namespace

bool ProbeEngine(std::string_view content, SignatureParts& parts, std::string& error) {
  const EngineFinds finds = FindEngineProbes(ContentSearch(content));
  const bool lr = finds.edition != kNotFound;
  parts.kindCode = lr ? "LR" : "LE";
  if (!AppendLogoPart(content, finds, parts, error)) {
    return false;
  }
  AppendDeviation(parts, "A:", ProbeValue(finds.a, kPlaceA, lr ? "0" : "M"));
  AppendDeviation(parts, "B:", ProbeValue(finds.b, kPlaceB, "M"));
  const bool layout =
      finds.a == kPlaceA && (finds.b == kPlaceB || finds.b == kPlaceB + kLayoutShift);
  const std::int64_t shift = layout ? finds.b - kPlaceB : 0;
  AppendDeviation(parts, "C:", ProbeValue(finds.c, kPlaceC, "M"));
  AppendDeviation(parts, "D:", ProbeValue(finds.d, kPlaceD, "M"));
  if (layout || lr) {
    return AppendPPart(content, finds, lr, shift, parts, error);
  }
  return true;
}

}  // namespace varnock
