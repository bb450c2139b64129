#include <vector>

#include "support/code_page.h"
#include "support/paths.h"
#include "target/content_search.h"
#include "target/deviation_text.h"
#include "target/engine_probes.h"
#include "target/signature_probes.h"

namespace varnock {

namespace {

using namespace probes;

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

bool AppendLogoPart(std::string_view content, SignatureParts& parts, std::string& error) {
  std::vector<std::string> codes;
  std::int64_t count = 0;
  for (std::int64_t at = FindFirst(content, kLogoText); at != kNotFound;
       at = FindFirst(content, kLogoText, at + 1)) {
    if (at < 2) {
      error = "the logo name lies at the very start of the file, with no logo code before it";
      return false;
    }
    if (codes.size() < 2) {
      codes.push_back(LogoCode(content, at));
    }
    ++count;
  }
  if (count == 0) {
    parts.body += "UNKNOWN";
  } else if (count == 1) {
    parts.body += codes[0];
  } else if (count == 2) {
    parts.body += codes[0] + "/" + codes[1];
  } else {
    parts.body += "INT" + std::to_string(count);
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
bool AppendPPart(std::string_view content, bool lr, std::int64_t shift, SignatureParts& parts,
                 std::string& error) {
  const std::int64_t base = lr ? kPlacePForLr : kPlacePForLe + shift;
  bool differs = false;
  for (std::int64_t i = 0; i < 4 && !differs; ++i) {
    if (base + i >= static_cast<std::int64_t>(content.size())) {
      error = "the file ends before the bytes of probe P at " + HexDigits(base + i);
      return false;
    }
    differs = content[base + i] != kProbeP[i];
  }
  if (!differs) {
    return true;
  }
  std::string value = "XP";
  if (!lr && (FindFirst(content, kSleepText) != kPlaceSleep + shift ||
              !SameIgnoringCase(content, kPlaceP3 + shift, kProbeP3))) {
    value = "XPnew";
  }
  parts.body += "P:" + value + "_";
  return true;
}

}  // namespace

bool ProbeEngine(std::string_view content, SignatureParts& parts, std::string& error) {
  const bool lr = FindFirst(content, kEditionText) != kNotFound;
  parts.kindCode = lr ? "LR" : "LE";
  if (!AppendLogoPart(content, parts, error)) {
    return false;
  }
  const std::int64_t a = FindFirst(content, kProbeA);
  AppendDeviation(parts, "A:", ProbeValue(a, kPlaceA, lr ? "0" : "M"));
  const std::int64_t b = FindFirst(content, kProbeB);
  AppendDeviation(parts, "B:", ProbeValue(b, kPlaceB, "M"));
  const bool layout = a == kPlaceA && (b == kPlaceB || b == kPlaceB + kLayoutShift);
  const std::int64_t shift = layout ? b - kPlaceB : 0;
  AppendDeviation(parts, "C:", ProbeValue(FindFirst(content, kProbeC), kPlaceC, "M"));
  AppendDeviation(parts, "D:", ProbeValue(FindFirst(content, kProbeD), kPlaceD, "M"));
  if (layout || lr) {
    return AppendPPart(content, lr, shift, parts, error);
  }
  return true;
}

}  // namespace varnock
