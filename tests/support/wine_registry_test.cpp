#include "support/wine_registry.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

const char* const kSystemReg = R"(WINE REGISTRY Version 2

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths] 1700000000
#time=1da0000000000000

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winroomedit.exe] 1700000001
#time=1da0000000000001
@="C:\\Program Files\\Core Design\\trle\\winroomedit.exe"
"Path"="C:\\Program Files\\Core Design\\trle"

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wordpad.exe] 1700000002
"Path"=str(2):"%ProgramFiles%\\Windows NT\\Accessories"

[Software\\Escapes] 1700000004
"First"="C:\\Caf\xe9\\\x20ac\\t\tab"

[Software\\Number] 1700000005
"Count"=dword:00004241

[Software\\Binary] 1700000006
"Data"=hex:43,3a,5c,\
  78,00,79

[Software\\Expand] 1700000007
"Data"=hex(2):43,00,3a,00,5c,00,00,00

[Software\\Long] 1700000008
@="0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345"
)";

// The first value of a key named in any letter case, whatever its name and type; nothing for
// a key without one, a value too long for the 256-byte data area, or a line cut short.
TEST(WineRegistry, FirstValueOfAKey) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\App Paths\\WINROOMEDIT.EXE",
       "C:\\Program Files\\Core Design\\trle\\winroomedit.exe"},
      {kAppPaths + "\\wordpad.exe", "%ProgramFiles%\\Windows NT\\Accessories"},
      {"Software\\Escapes", "C:\\Caf\xC3\xA9\\\xE2\x82\xAC\\t\tab"},
      {"Software\\Number", "AB"},
      {"Software\\Binary", "C:\\x"},
      {"Software\\Expand", "C:\\"},
      {kAppPaths, std::nullopt},
      {"Software\\Long", std::nullopt},
  };
  for (const auto& [key, value] : cases) {
    EXPECT_EQ(FirstRegistryValue(kSystemReg, key), value) << key;
  }
  const std::pair<const char*, std::optional<std::string>> cut[] = {
      {"[Software\n@=\"x\"\n", std::nullopt},
      {"[Software] 1\n@=\"unterminated\n", std::nullopt},
      {"[Software] 1\n@=\n", std::nullopt},
      {"[Software] 1\n@=str(2):\n", std::nullopt},
      {"[Software] 1\n@=hex:43,3a,\\", "C:"},  // the file ends where the value goes on
      {"[Software] 1\r\n@=\"x\"\r\n", "x"},
      {"[Software] 1\n@=\"\\101\\7\"\n", "A\x07"},  // octal escapes, the highest digit last
  };
  for (const auto& [text, value] : cut) {
    EXPECT_EQ(FirstRegistryValue(text, "Software"), value) << text;
  }
}

}  // namespace
}  // namespace varnock
