#include "patchfile/bundle_unpack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patchfile/patch_writer.h"
#include "support/files.h"
#include "support/list_files.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::ToBytes;

struct Entry {
  std::int32_t size;
  std::string name;
  std::string data;
};

Entry Of(const std::string& name, const std::string& data) {
  return {static_cast<std::int32_t>(data.size()), name, data};
}

// An executable image followed by a bundle written by hand, field by field.
Bytes Executable(const std::vector<Entry>& entries, const std::string& magic = "ZA-VA-Z") {
  Bytes out = ToBytes("MZ image bytes");
  const auto header = static_cast<std::int32_t>(out.size());
  const Bytes tag = ToBytes(magic + '\0' + "V1.5");
  out.insert(out.end(), tag.begin(), tag.end());
  AppendInt32(out, static_cast<std::int32_t>(entries.size()));
  for (const Entry& entry : entries) {
    AppendInt32(out, entry.size);
    const Bytes named = ToBytes(entry.name + '\0' + entry.data);
    out.insert(out.end(), named.begin(), named.end());
  }
  AppendInt32(out, header);
  return out;
}

class BundleUnpack : public ::testing::Test {
 protected:
  bool Unpack(const Bytes& executable) {
    return UnpackBundle(dir.Write("varnock.exe", executable), folder, unpacked);
  }
  std::vector<std::string> FilesInFolder() { return ListFiles(folder, "*"); }

  TempDir dir;
  std::string folder = dir.File("patches");
  std::vector<std::string> unpacked;
};

// Names are ANSI and end at their NUL; the magic may be in any case.
TEST_F(BundleUnpack, WritesEveryEntryAndRecordsTheNewOnes) {
  dir.WriteText("patches/old.ptc", "an older, longer copy of this file");
  EXPECT_TRUE(Unpack(Executable({Of("caf\xE9.ptc", "NEW"), Of("old.ptc", "OLD")}, "za-va-z")));
  const std::string made = JoinPath(folder, "caf\xC3\xA9.ptc");
  EXPECT_EQ(ReadBytes(made), ToBytes("NEW"));
  EXPECT_EQ(ReadBytes(JoinPath(folder, "old.ptc")), ToBytes("OLD"));
  EXPECT_EQ(unpacked, std::vector<std::string>{made});
  // An empty bundle still makes the folder.
  EXPECT_TRUE(UnpackBundle(dir.Write("empty.exe", Executable({})), dir.File("out"), unpacked));
  EXPECT_TRUE(FolderExists(dir.File("out")));
}

// Huge counts and sizes are tested in tests/fault.
TEST_F(BundleUnpack, NoBundleOrADamagedOneWritesNothingAfterTheDamage) {
  Bytes pointsPastEnd = Executable({Of("a.ptc", "A")});
  pointsPastEnd.back() = 0x7F;
  Bytes negative = Executable({Of("a.ptc", "A")});
  negative.back() = 0xFF;
  for (const Bytes& exe :
       {ToBytes("MZ a program without any bundle at all"), ToBytes("MZ"), Bytes{},
        Executable({Of("a.ptc", "A")}, "ZA-VA-X"), pointsPastEnd, negative}) {
    EXPECT_FALSE(Unpack(exe));
  }
  EXPECT_FALSE(UnpackBundle(dir.File("missing.exe"), folder, unpacked));
  EXPECT_FALSE(FolderExists(folder));

  Bytes intoTrailer = Executable({Of("a.ptc", "A")});
  intoTrailer[intoTrailer.size() - 4 - 1 - 6 - 4] = 5;  // the entry claims the trailer too
  EXPECT_FALSE(Unpack(intoTrailer));
  for (const Entry& bad : {Entry{0, "zero.ptc", ""}, Entry{-5, "negative.ptc", "abc"},
                           Entry{1000, "long.ptc", "short"}}) {
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
  EXPECT_TRUE(unpacked.empty());
}

}  // namespace
}  // namespace varnock
