// The set file over good and bad texts: what each reads as, or the message with its line.

#include "sets/patch_set.h"

#include <gtest/gtest.h>

#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

const std::string kSumA(64, 'a');
const std::string kSumB = std::string(63, '0') + "F";
const std::string kHead =
    "varnock patch set 1\nprogram: tomb4.exe\nsignature: LE_UK_P:XP_Standard (11-Nov-2000  "
    "15:21)\nsha256: " +
    kSumA + "\n";

std::string Patches(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += "patch: " + kSumA + " p" + std::to_string(i) + ".ptc\n";
  }
  return text;
}

TEST(PatchSetTest, ReadsGoodFiles) {
  const struct {
    std::string text;
    std::vector<SetPatch> patches;
    std::string original;
  } cases[] = {
      {kHead, {}, ""},  // an empty set: none of the folder's patches
      {"\xEF\xBB\xBF" + kHead + "\r\n  # a comment\r\n\t\r\npatch: " + kSumB +
           " Patch #1#.ptc | 2.750\r\n",
       {{"Patch #1#.ptc", std::string(63, '0') + "f", "2.750", 8}},
       ""},
      {kHead + "original-sha256: " + kSumB + "\npatch: " + kSumA + " a.PTC\npatch: " + kSumA +
           "   b.ptc |  x | y \n",
       {{"a.PTC", kSumA, std::nullopt, 6}, {"b.ptc", kSumA, " x | y ", 7}},
       std::string(63, '0') + "f"},
      {kHead + Patches(10000), {}, ""},  // 10,000 patches are accepted
  };
  for (const auto& c : cases) {
    PatchSet set;
    std::string error;
    ASSERT_TRUE(ParsePatchSet(c.text, set, error)) << error << "\n" << c.text.substr(0, 400);
    EXPECT_EQ(set.program, "tomb4.exe");
    EXPECT_EQ(set.signature, "LE_UK_P:XP_Standard (11-Nov-2000  15:21)");
    EXPECT_EQ(set.originalSha256, c.original);
    if (set.patches.size() == 10000) {
      continue;
    }
    EXPECT_EQ(set.patches, c.patches);
    for (std::size_t i = 0; i < c.patches.size(); ++i) {
      EXPECT_EQ(set.patches[i].line, c.patches[i].line);
    }
    // Written and read again, the same set.
    PatchSet again;
    ASSERT_TRUE(ParsePatchSet(PatchSetText(set), again, error)) << error;
    EXPECT_EQ(again, set);
  }
}

TEST(PatchSetTest, RefusesBadFilesNamingTheLine) {
  const std::string patch = "patch: " + kSumA + " ";
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"", "the set file is empty"},
      {"\xEF\xBB\xBF \r\n\n", "the set file is empty"},
      {std::string(kMaxPatchSetBytes + 1, '#'),
       "the set file is larger than 1 MiB (1,048,576 bytes)"},
      {"varnock patch set 2\n", "line 1: a patch set of version 2; this Varnock reads version 1"},
      {"# varnock patch set 1\n" + kHead,
       "line 1: not a patch set (its first line must be \"varnock patch set 1\")"},
      {kHead + Patches(10001), "line 10005: more than 10000 patches"},
      {kHead + patch + "a.ptc\n" + patch + "A.Ptc\n",
       "line 6: A.Ptc is in the set twice (also on line 5)"},
      {kHead + patch + "../a.ptc\n",
       "line 5: \"../a.ptc\" is not a file name alone (no folder may be named)"},
      {kHead + patch + "c:\\a.ptc\n",
       "line 5: \"c:\\a.ptc\" is not a file name alone (no folder may be named)"},
      {kHead + patch + "..\n", "line 5: \"..\" is not a file name alone (no folder may be named)"},
      {kHead + patch + "a:b.ptc\n",
       "line 5: \"a:b.ptc\" holds a character that file names cannot hold"},
      {kHead + patch + "a.txt\n", "line 5: \"a.txt\" is not a .ptc file"},
      {kHead + patch + ".ptc\n", "line 5: \".ptc\" is not a .ptc file"},
      {kHead + patch + "\n", "line 5: no patch file name"},
      {kHead + "patch: " + kSumA.substr(1) + " a.ptc\n",
       "line 5: \"" + kSumA.substr(1) + "\" is not a SHA-256 (64 hexadecimal digits)"},
      {kHead + "patch: " + kSumA.substr(1) + "g a.ptc\n",
       "line 5: \"" + kSumA.substr(1) + "g\" is not a SHA-256 (64 hexadecimal digits)"},
      {kHead + patch + "a#1#.ptc | \n", "line 5: a#1#.ptc: an empty argument"},
      {kHead + patch + "a.ptc | \xC3(\n", "line 5: invalid UTF-8"},
      {kHead + std::string("patch: x\0y\n", 11), "line 5: a NUL character"},
      {kHead + "program tomb4.exe\n", "line 5: not a line of a set (key: value)"},
      {kHead + "programme: tomb4.exe\n", "line 5: unknown key \"programme\""},
      {kHead + "program: tomb4.exe\n", "line 5: a second \"program:\" line"},
      {kHead + "original-sha256:\n", "line 5: \"original-sha256:\" without a value"},
      {kHead + "note: a\rb\n", "line 5: a control character"},
      {"varnock patch set 1\nprogram: a\nsha256: " + kSumA, "the set has no \"signature:\" line"},
  };
  for (const auto& c : cases) {
    PatchSet set;
    std::string error;
    EXPECT_FALSE(ParsePatchSet(c.text, set, error)) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

// The size is judged before the file is read, and a file's errors name it.
TEST(PatchSetTest, FileErrorsNameThePath) {
  TempDir dir;
  const std::string big = dir.WriteText("big.ptcset", std::string(kMaxPatchSetBytes + 1, '#'));
  const std::string bad = dir.WriteText("bad.ptcset", "varnock patch set 1\nx\n");
  PatchSet set;
  std::string error;
  EXPECT_FALSE(ReadPatchSetFile(big, set, error));
  EXPECT_EQ(error, big + ": the set file is larger than 1 MiB (1,048,576 bytes)");
  EXPECT_FALSE(ReadPatchSetFile(bad, set, error));
  EXPECT_EQ(error, bad + ": line 2: not a line of a set (key: value)");
  EXPECT_FALSE(ReadPatchSetFile(dir.File("none.ptcset"), set, error));
  EXPECT_TRUE(error.starts_with(dir.File("none.ptcset") + ": ")) << error;
}

}  // namespace
}  // namespace varnock::testing
