#include "support/safe_rewrite.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/files.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::Leftovers;
using testing::Pattern;
using testing::ReadBytes;
using testing::TempDir;

TEST(RewriteFile, ReplacesTheWholeContent) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(5000, 1));
  const Bytes next = Pattern(5000, 2);
  std::string error = "stale";
  ASSERT_TRUE(RewriteFile(path, next, error)) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(ReadBytes(path), next);
  EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());

  const Bytes big = Pattern((5 << 20) + 3, 9);  // more than one write
  ASSERT_TRUE(RewriteFile(path, big, error)) << error;
  EXPECT_EQ(ReadBytes(path), big);
  ASSERT_TRUE(RewriteFile(path, {}, error)) << error;
  EXPECT_TRUE(ReadBytes(path).empty());
  EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());
}

TEST(RewriteFile, RefusesWhatCannotBeWritten) {
  TempDir dir;
  const Bytes old = Pattern(100, 1);
  std::string error;

  const std::string readOnly = dir.Write("ro.exe", old);
  fs::permissions(ToFsPath(readOnly),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(RewriteFile(readOnly, Pattern(100, 2), error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(readOnly), old);
  EXPECT_EQ(fs::status(ToFsPath(readOnly)).permissions() & fs::perms::owner_write, fs::perms::none);

  error.clear();
  EXPECT_FALSE(RewriteFile(dir.File("missing.exe"), old, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(FileExists(dir.File("missing.exe")));

  error.clear();
  fs::create_directory(ToFsPath(dir.File("folder.exe")));
  EXPECT_FALSE(RewriteFile(dir.File("folder.exe"), old, error));
  EXPECT_FALSE(error.empty());

  error.clear();
  EXPECT_FALSE(RewriteFile("", old, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(Leftovers(dir, {"ro.exe", "folder.exe"}).empty());
}

// Through the replace, or written in place for a file with a second name, a disk that fills
// half-way leaves the old bytes and length.
TEST(RewriteFile, FullDiskLeavesOldFile) {
  for (const bool secondName : {false, true}) {
    SCOPED_TRACE(secondName ? "second name" : "one name");
    TempDir dir;
    const Bytes old = Pattern(3 << 20, 1);
    const std::string path = dir.Write("tomb4.exe", old);
    if (secondName) {
      fs::create_hard_link(ToFsPath(path), ToFsPath(dir.File("other.exe")));
    }
    RewriteHooks hooks;
    std::size_t calls = 0;
    hooks.allow_write = [&calls](std::size_t offset, std::size_t) {
      ++calls;
      return offset == 0;  // the second chunk finds the disk full
    };
    std::string error;
    EXPECT_FALSE(RewriteFile(path, Pattern((3 << 20) + 10, 2), error, &hooks));
    EXPECT_EQ(calls, 2u);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Leftovers(dir, {"tomb4.exe", "other.exe"}).size(), 0u);
  }
}

TEST(RewriteFile, TemporaryFileSitsNextToTheFile) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(10, 1));
  std::string seen;
  RewriteHooks hooks;
  hooks.before_replace = [&seen, &path](const std::string& temporaryPath) {
    seen = temporaryPath;
    EXPECT_EQ(ReadBytes(temporaryPath), Pattern(10, 2));
    EXPECT_EQ(ReadBytes(path), Pattern(10, 1));  // nothing changed yet
  };
  std::string error;
  ASSERT_TRUE(RewriteFile(path, Pattern(10, 2), error, &hooks)) << error;
  const fs::path temporary = ToFsPath(seen);
  EXPECT_EQ(fs::canonical(temporary.parent_path()), fs::canonical(ToFsPath(dir.path())));
  const std::string name = FromFsPath(temporary.filename());
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(name[0], '.');
  EXPECT_NE(name.find("varnock"), std::string::npos);
  EXPECT_FALSE(fs::exists(temporary));
}

// A second writer that opens the file while the first holds it waits, and then reads what
// the first one wrote, also when the first one's rewrite put a new file in place.
TEST(LockedFile, ASecondWriterWaitsForTheFirstAndSeesItsResult) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(5000, 1));
  std::atomic<bool> opened{false};
  Bytes seenBySecond;
  std::thread second;
  {
    LockedFile first;
    Bytes content;
    std::string error;
    ASSERT_TRUE(first.Open(path, error) && first.Read(content, error)) << error;
    second = std::thread([&] {
      LockedFile file;
      std::string secondError;
      opened = file.Open(path, secondError);
      EXPECT_TRUE(opened && file.Read(seenBySecond, secondError)) << secondError;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(opened);
    ASSERT_TRUE(first.Rewrite(Pattern(5000, 2), error)) << error;
  }
  second.join();
  EXPECT_EQ(seenBySecond, Pattern(5000, 2));
  EXPECT_TRUE(Leftovers(dir, {"tomb4.exe"}).empty());
}

TEST(LockedFile, AWriterThatDoesNotLetGoIsReported) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(100, 1));
  LockedFile first;
  std::string error;
  ASSERT_TRUE(first.Open(path, error)) << error;
  RewriteHooks impatient;
  impatient.wait = std::chrono::milliseconds(50);
  std::thread([&] { EXPECT_FALSE(RewriteFile(path, Pattern(100, 2), error, &impatient)); }).join();
  EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(path), Pattern(100, 1));
}

}  // namespace
}  // namespace varnock
