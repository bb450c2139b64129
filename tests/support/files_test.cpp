#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::ReadBytes;
using testing::ToBytes;

std::string ReadOnly(const std::string& path) {
  fs::permissions(ToFsPath(path), fs::perms::owner_read);
  return path;
}

// A path with a NUL or only blanks names nothing; folders are made one level at a time, never
// over a file.
TEST(Files, WhatExists) {
  testing::TempDir dir;
  const std::string file = dir.WriteText("tomb4.exe", "MZ");
  CreateFolder(dir.File("folder"));
  CreateFolder(JoinPath(dir.File("two"), "three"));
  CreateFolder(file);
  const struct {
    std::string path;
    bool file;
    bool folder;
  } cases[] = {
      {file, true, false},
      {ReadOnly(dir.WriteText(".hidden.exe", "MZ")), true, false},
      {dir.WriteText("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.ptc", "x"), true, false},
      {dir.File("folder"), false, true},
      {dir.path() + Separator(), false, true},
      {dir.File("two"), false, false},
      {file + "\0"s, false, false},
      {"   ", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    EXPECT_EQ(FolderExists(c.path), c.folder) << c.path;
  }
  EXPECT_EQ(ReadBytes(file), ToBytes("MZ"));
}

// Reading tells why it cannot; read-only files are removed; a folder is no file and stays.
TEST(Files, ReadAndRemove) {
  testing::TempDir dir;
  Bytes content{1};
  std::string error;
  EXPECT_FALSE(ReadWholeFile(dir.path(), content, error));
  EXPECT_EQ(error, "the path names a folder, not a file");
  EXPECT_TRUE(content.empty());
  for (const std::string& path :
       {dir.File("missing.exe"), dir.WriteText("a.ptc", "x"), ReadOnly(dir.WriteText("ro", "x"))}) {
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(fs::exists(ToFsPath(path)));
  }
  CreateFolder(dir.File("folder"));
  EXPECT_TRUE(RemoveFile(dir.File("folder")));
  EXPECT_TRUE(FolderExists(dir.File("folder")));
}

}  // namespace
}  // namespace varnock
