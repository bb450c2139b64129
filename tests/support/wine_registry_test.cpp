#include "support/wine_registry.h"

#include <gtest/gtest.h>

namespace varnock {
namespace {

constexpr const char* kAppPaths =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winroomedit.exe";

const char* const kSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win64

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths] 1700000000
#time=1da0000000000000

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\winroomedit.exe] 1700000001
#time=1da0000000000001
@="C:\\Program Files\\Core Design\\trle\\winroomedit.exe"
"Path"="C:\\Program Files\\Core Design\\trle"

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wordpad.exe] 1700000002
"Path"=str(2):"%ProgramFiles%\\Windows NT\\Accessories"

[Software\\Quoted] 1700000003
@="\"C:\\a b\\x.exe\" /arg"

[Software\\Escapes] 1700000004
"First"="C:\\Caf\xe9\\\x20ac\\t\tab"

[Software\\Number] 1700000005
"Count"=dword:00004241

[Software\\Binary] 1700000006
"Data"=hex:43,3a,5c,\
  78,00,79

[Software\\Expand] 1700000007
"Data"=hex(2):43,00,3a,00,5c,00,00,00

[Software\\Empty] 1700000008
#class="x"

[Software\\Long] 1700000009
@="0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345"
)";

TEST(WineRegistry, FirstValueOfAKey) {
  EXPECT_EQ(FirstRegistryValue(kSystemReg, kAppPaths),
            "C:\\Program Files\\Core Design\\trle\\winroomedit.exe");
  // Key names are compared without regard to letter case.
  EXPECT_EQ(FirstRegistryValue(kSystemReg,
                               "SOFTWARE\\MICROSOFT\\Windows\\CurrentVersion\\"
                               "App Paths\\WINROOMEDIT.EXE"),
            "C:\\Program Files\\Core Design\\trle\\winroomedit.exe");
  // The first value whatever its name and type.
  EXPECT_EQ(FirstRegistryValue(
                kSystemReg, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wordpad.exe"),
            "%ProgramFiles%\\Windows NT\\Accessories");
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Quoted"), "\"C:\\a b\\x.exe\" /arg");
}

TEST(WineRegistry, EscapesAndTypes) {
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Escapes"),
            "C:\\Caf\xC3\xA9\\\xE2\x82\xAC\\t\tab");
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Number"), "AB");
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Binary"), "C:\\x");
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Expand"), "C:\\");
}

TEST(WineRegistry, NothingToRead) {
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Missing"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue(kSystemReg,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\"
                               "App Paths"),
            std::nullopt);
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Empty"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue(kSystemReg, "Software\\Long"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue("", "Software"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue("[Software\\\\Cut", "Software\\Cut"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue("[Software] 1\n@=\"unterminated\n", "Software"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue("[Software] 1\n@=\n", "Software"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue("[Software] 1\n@=str(2):\n", "Software"), std::nullopt);
  EXPECT_EQ(FirstRegistryValue("[Software] 1\n@=hex:\\\n", "Software"), "");
}

TEST(WineRegistry, WindowsLineEnds) {
  EXPECT_EQ(FirstRegistryValue("[A\\\\B] 1\r\n@=\"x\"\r\n", "A\\B"), "x");
}

}  // namespace
}  // namespace varnock
