#include "patchfile/bundle_unpack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::ToBytes;

void Int32(Bytes& out, std::int64_t value) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
  }
}

struct Entry {
  std::int64_t size;
  std::string name;
  Bytes data;
};

Entry Of(const std::string& name, const std::string& data) {
  return {static_cast<std::int64_t>(data.size()), name, ToBytes(data)};
}

// An executable image followed by a bundle written by hand, field by field.
Bytes Executable(const std::vector<Entry>& entries, const std::string& magic = "ZA-VA-Z",
                 std::int64_t count = -1) {
  Bytes out = ToBytes("MZ image bytes");
  const std::size_t header = out.size();
  out.insert(out.end(), magic.begin(), magic.end());
  out.push_back(0);
  const std::string tag = "V1.5";
  out.insert(out.end(), tag.begin(), tag.end());
  Int32(out, count < 0 ? static_cast<std::int64_t>(entries.size()) : count);
  for (const Entry& entry : entries) {
    Int32(out, entry.size);
    out.insert(out.end(), entry.name.begin(), entry.name.end());
    out.push_back(0);
    out.insert(out.end(), entry.data.begin(), entry.data.end());
  }
  Int32(out, static_cast<std::int64_t>(header));
  return out;
}

class BundleUnpack : public ::testing::Test {
 protected:
  bool Unpack(const Bytes& executable) {
    const std::string exe = dir.Write("varnock.exe", executable);
    return UnpackBundle(exe, folder, unpacked, count);
  }

  std::vector<std::string> FilesInFolder() {
    std::int32_t n = 0;
    return ListFiles(folder, "*", n);
  }

  TempDir dir;
  std::string folder = dir.File("patches");
  std::vector<std::string> unpacked;
  std::int32_t count = 0;
};

TEST_F(BundleUnpack, WritesEveryEntryAndRecordsTheNewOnes) {
  dir.WriteText("patches/old.ptc", "an older, longer copy of this file");
  EXPECT_TRUE(Unpack(Executable({Of("new.ptc", "NEW"), Of("old.ptc", "OLD")})));
  EXPECT_EQ(ReadBytes(JoinPath(folder, "new.ptc")), ToBytes("NEW"));
  EXPECT_EQ(ReadBytes(JoinPath(folder, "old.ptc")), ToBytes("OLD"));
  EXPECT_EQ(unpacked, std::vector<std::string>{JoinPath(folder, "new.ptc")});
  EXPECT_EQ(count, 1);
}

TEST_F(BundleUnpack, CreatesTheFolderAcceptsAnyCaseMagicAndNoEntries) {
  EXPECT_TRUE(Unpack(Executable({Of("a.ptc", "A")}, "za-va-z")));
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_TRUE(
      UnpackBundle(dir.Write("empty.exe", Executable({})), dir.File("out"), unpacked, count));
  EXPECT_EQ(count, 1);
}

// Huge counts and sizes are tested in tests/fault.
TEST_F(BundleUnpack, NoBundleOrADamagedOneWritesNothingAfterTheDamage) {
  Bytes pointsPastEnd = Executable({Of("a.ptc", "A")});
  pointsPastEnd.back() = 0x7F;
  Bytes negative = Executable({Of("a.ptc", "A")});
  negative.back() = 0xFF;
  Bytes intoTrailer = Executable({Of("a.ptc", "A")});
  intoTrailer[intoTrailer.size() - 4 - 1 - 6 - 4] = 5;  // the entry claims the trailer too
  for (const Bytes& exe :
       {ToBytes("MZ a program without any bundle at all"), ToBytes("MZ"), Bytes{},
        Executable({Of("a.ptc", "A")}, "ZA-VA-X"), pointsPastEnd, negative}) {
    EXPECT_FALSE(Unpack(exe));
  }
  EXPECT_FALSE(UnpackBundle(dir.File("missing.exe"), folder, unpacked, count));
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_EQ(count, 0);

  EXPECT_FALSE(Unpack(intoTrailer));
  for (const Entry& bad : {Entry{0, "zero.ptc", {}}, Entry{-5, "negative.ptc", ToBytes("abc")},
                           Entry{1000, "long.ptc", ToBytes("short")}}) {
    EXPECT_FALSE(Unpack(Executable({Of("good.ptc", "G"), bad, Of("after.ptc", "X")})));
  }
  EXPECT_EQ(FilesInFolder(), std::vector<std::string>{JoinPath(folder, "good.ptc")});
  EXPECT_EQ(unpacked, std::vector<std::string>{JoinPath(folder, "good.ptc")});
}

TEST_F(BundleUnpack, NamesCanOnlyNameFilesInsideTheFolder) {
  for (const std::string name : {"", ".", "..", "../escape.ptc", "..\\escape.ptc", "sub/a.ptc",
                                 "C:escape.ptc", "/tmp/abs.ptc", "tab\tname"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Unpack(Executable({Of(name, "EVIL"), Of("after.ptc", "X")})));
  }
  EXPECT_TRUE(FilesInFolder().empty());
  EXPECT_FALSE(FileExists(dir.File("escape.ptc")));
  EXPECT_EQ(count, 0);
}

TEST_F(BundleUnpack, NamesAreAnsiAndEndAtTheirNul) {
  Bytes content = ToBytes("caf\xE9.ptc");
  content.push_back(0);
  content.push_back('x');
  std::size_t position = 0;
  std::string name;
  ASSERT_TRUE(ReadNulTerminatedName(content, position, name));
  EXPECT_EQ(name, "caf\xC3\xA9.ptc");
  EXPECT_EQ(position, 9u);
  EXPECT_FALSE(ReadNulTerminatedName(content, position, name));
  EXPECT_EQ(position, 9u);
}

}  // namespace
}  // namespace varnock
