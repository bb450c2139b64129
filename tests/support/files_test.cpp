#include "support/files.h"
#include "support/list_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::ReadBytes;
using testing::TempDir;
using testing::ToBytes;

void MakeReadOnly(const std::string& path) {
  fs::permissions(ToFsPath(path),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

TEST(FileTests, FileExistsOnlyForFiles) {
  TempDir dir;
  const std::string file = dir.WriteText("tomb4.exe", "MZ");
  const std::string hidden = dir.WriteText(".hidden.exe", "MZ");
  const std::string readOnly = dir.WriteText("ro.exe", "MZ");
  MakeReadOnly(readOnly);
  CreateFolder(dir.File("folder.exe"));

  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(hidden));
  EXPECT_TRUE(FileExists(readOnly));
  EXPECT_FALSE(FileExists(dir.File("folder.exe")));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.File("missing.exe")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(" \0 \0"s));
  // The path is searched untrimmed: trailing NULs name another file (and so do trailing
  // blanks, where the file system does not drop them as Windows does).
  EXPECT_FALSE(FileExists(file + "\0"s));
#ifndef _WIN32
  EXPECT_FALSE(FileExists(file + " "));
#endif
  // Wildcards are no wildcards here.
  EXPECT_FALSE(FileExists(dir.File("*.exe")));
}

TEST(FileTests, FileExistsFollowsLinks) {
  TempDir dir;
  const std::string file = dir.WriteText("tomb4.exe", "MZ");
  std::error_code error;
  fs::create_symlink(ToFsPath(file), ToFsPath(dir.File("link.exe")), error);
  fs::create_symlink(ToFsPath(dir.File("gone.exe")), ToFsPath(dir.File("dangling.exe")), error);
  if (error) {
    GTEST_SKIP() << "symbolic links are not available: " << error.message();
  }
  EXPECT_TRUE(FileExists(dir.File("link.exe")));
  EXPECT_FALSE(FileExists(dir.File("dangling.exe")));
}

TEST(FileTests, FolderExists) {
  TempDir dir;
  const std::string file = dir.WriteText("tomb4.exe", "MZ");
  EXPECT_TRUE(FolderExists(dir.path()));
  EXPECT_TRUE(FolderExists(dir.path() + Separator()));
  EXPECT_TRUE(FolderExists(std::string(1, Separator())));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(FolderExists(dir.File("missing")));
  EXPECT_FALSE(FolderExists(""));
  EXPECT_FALSE(FolderExists("   "));
}

TEST(FileTests, ReadWholeFile) {
  TempDir dir;
  EXPECT_TRUE(ReadWholeFile(dir.Write("empty.bin", {})).empty());
  EXPECT_EQ(ReadWholeFile(dir.Write("three.bin", {0, 128, 255})), (Bytes{0, 128, 255}));
  Bytes big(3 << 20);
  for (std::size_t i = 0; i < big.size(); ++i) {
    big[i] = static_cast<std::uint8_t>(i * 7);
  }
  EXPECT_EQ(ReadWholeFile(dir.Write("big.bin", big)), big);
  EXPECT_TRUE(ReadWholeFile(dir.File("missing.bin")).empty());
  EXPECT_TRUE(ReadWholeFile(dir.path()).empty());
}

TEST(FileTests, ReadWholeFileTellsWhy) {
  TempDir dir;
  Bytes content{1};
  std::string error;
  EXPECT_FALSE(ReadWholeFile(dir.File("missing.bin"), content, error));
  EXPECT_TRUE(content.empty());
  EXPECT_FALSE(error.empty());

  EXPECT_TRUE(ReadWholeFile(dir.Write("empty.bin", {}), content, error));
  EXPECT_TRUE(content.empty());
  EXPECT_EQ(error, "");
  EXPECT_TRUE(ReadWholeFile(dir.WriteText("a.bin", "abc"), content, error));
  EXPECT_EQ(content, ToBytes("abc"));
}

TEST(FileTests, RemoveFile) {
  TempDir dir;
  EXPECT_TRUE(RemoveFile(dir.File("missing.exe")));

  const std::string file = dir.WriteText("a.exe", "MZ");
  EXPECT_TRUE(RemoveFile(file));
  EXPECT_FALSE(fs::exists(ToFsPath(file)));

  const std::string readOnly = dir.WriteText("ro.exe", "MZ");
  MakeReadOnly(readOnly);
  EXPECT_TRUE(RemoveFile(readOnly));
  EXPECT_FALSE(fs::exists(ToFsPath(readOnly)));

  const std::string hidden = dir.WriteText(".hidden", "MZ");
  EXPECT_TRUE(RemoveFile(hidden));
  EXPECT_FALSE(fs::exists(ToFsPath(hidden)));

  // A folder is no file: there is nothing to remove, and it stays.
  CreateFolder(dir.File("sub"));
  EXPECT_TRUE(RemoveFile(dir.File("sub")));
  EXPECT_TRUE(FolderExists(dir.File("sub")));
}

TEST(FileTests, CreateFolderOneLevel) {
  TempDir dir;
  CreateFolder(dir.File("one"));
  EXPECT_TRUE(FolderExists(dir.File("one")));
  CreateFolder(dir.File("one"));  // already there: nothing happens
  EXPECT_TRUE(FolderExists(dir.File("one")));

  CreateFolder(JoinPath(dir.File("two"), "three"));
  EXPECT_FALSE(FolderExists(dir.File("two")));

  const std::string file = dir.WriteText("file", "x");
  CreateFolder(file);
  EXPECT_EQ(ReadBytes(file), ToBytes("x"));
}

TEST(FileTests, CopyFileOver) {
  TempDir dir;
  const std::string source = dir.WriteText("source.ptc", "new");
  const std::string destination = dir.WriteText("temp_source.ptc", "old content");
  CopyFileOver(source, destination);
  EXPECT_EQ(ReadBytes(destination), ToBytes("new"));

  const std::string fresh = dir.File("fresh.ptc");
  CopyFileOver(source, fresh);
  EXPECT_EQ(ReadBytes(fresh), ToBytes("new"));

  // A read-only destination is cleared and replaced.
  const std::string readOnly = dir.WriteText("ro.ptc", "old");
  MakeReadOnly(readOnly);
  CopyFileOver(source, readOnly);
  EXPECT_EQ(ReadBytes(readOnly), ToBytes("new"));

  // A missing source leaves nothing behind and does not throw.
  CopyFileOver(dir.File("missing.ptc"), dir.File("copy.ptc"));
  EXPECT_FALSE(FileExists(dir.File("copy.ptc")));
  EXPECT_EQ(ReadBytes(source), ToBytes("new"));
}

TEST(FileTests, PathTextsAreUtf8) {
  TempDir dir;
  const std::string name = "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.ptc";  // "été €.ptc"
  const std::string file = dir.WriteText(name, "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(FromFsPath(ToFsPath(file)), file);
  std::int32_t count = 0;
  EXPECT_EQ(ListFiles(dir.path(), "*.PTC", count), std::vector<std::string>{file});
}

TEST(FileTests, ErrorTextHasNoLineBreak) {
  const std::string text = ErrorText(std::make_error_code(std::errc::permission_denied));
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace varnock
