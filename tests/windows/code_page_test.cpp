// Patch strings are bytes of the system's ANSI code page; inside the program they are UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "patchfile/load_patch.h"
#include "patchfile/patch_writer.h"
#include "support/code_page.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::RecordingUi;
using testing::TempDir;

class SystemCodePage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) {
      GTEST_SKIP() << "the system code page is " << GetACP() << ", not 1252";
    }
  }

  // A patch without zones whose description is made of these 16-bit units.
  Bytes PatchWithDescription(std::u16string_view units) {
    Bytes bytes;
    for (int i = 0; i < 6; ++i) {
      AppendInt32(bytes, 0);  // zones, flags, offsets, type, length, version
    }
    AppendPatchUnits(bytes, units);
    AppendInt32(bytes, 0);  // executable name
    return bytes;
  }

  TempDir dir;
  RecordingUi ui;
};

TEST_F(SystemCodePage, DescriptionBytesReadAsTheirCharacters) {
  // "Café – 5 €" as written by a Windows-1252 system, with an undefined byte (0x81) at the end.
  const std::u16string units = {u'C', u'a', u'f', 0xE9, u' ', 0x96, u' ', u'5', u' ', 0x80, 0x81};
  PatchRecord record;
  ASSERT_TRUE(LoadPatch(dir.Write("a.ptc", PatchWithDescription(units)), record, ui));
  EXPECT_EQ(record.Description, "Caf\xC3\xA9 \xE2\x80\x93 5 \xE2\x82\xAC\xC2\x81");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SystemCodePage, WrittenPatchStringsGoBackToTheSameBytes) {
  PatchRecord record;
  record.Description = "Caf\xC3\xA9 \xE2\x80\x93 5 \xE2\x82\xAC";
  record.ExeName = "tomb4.exe";
  const Bytes written = WritePatch(record);
  PatchRecord loaded;
  ASSERT_TRUE(LoadPatch(dir.Write("b.ptc", written), loaded, ui));
  EXPECT_EQ(loaded.Description, record.Description);
  const std::string ansi = Utf8ToAnsi(record.Description);
  EXPECT_EQ(ansi, "Caf\xE9 \x96 5 \x80");
}

TEST_F(SystemCodePage, CharactersWithoutAByteBecomeQuestionMarksNotLookAlikes) {
  // Windows would write "a" for "ā" and "O" for "Ō" if asked for the nearest character; a
  // patch string must not change into another text silently.
  EXPECT_EQ(Utf8ToAnsi("\xC4\x81"), "?");
  EXPECT_EQ(Utf8ToAnsi("x\xC5\x8Cy"), "x?y");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x88\x9E"), "?");  // infinity, which Windows would make "8"
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");
}

}  // namespace
}  // namespace varnock
