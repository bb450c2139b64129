#include "support/safe_rewrite.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/shared_read.h"
#include "tests/common/faulty_rewrite.h"
#include "tests/common/temp_dir.h"
#include "tests/support/folder_contents.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::Names;
using testing::NamesIn;
using testing::Pattern;
using testing::ReadBytes;
using testing::TempDir;

// Rewritten whole, at any size (more than one write, nothing at all): the new content waits,
// whole, in a hidden file beside the old one until the replace, and nothing is left beside.
TEST(RewriteFile, ReplacesTheWholeContentThroughAHiddenFileBesideIt) {
  TempDir dir;
  Bytes old = Pattern(5000, 1);
  const std::string path = dir.Write("tomb4.exe", old);
  for (const Bytes& next : {Pattern(5000, 2), Pattern((5 << 20) + 3, 9), Bytes()}) {
    std::string seen;
    WriteFaults hooks;
    hooks.before_replace = [&](const std::string& temporaryPath) {
      seen = temporaryPath;
      EXPECT_EQ(ReadBytes(temporaryPath), next);
      EXPECT_EQ(ReadBytes(path), old);
    };
    std::string error = "stale";
    ASSERT_TRUE(RewriteFileWith(hooks, path, next, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadBytes(path), next);
    EXPECT_EQ(GetParentFolder(seen), dir.path());
    EXPECT_TRUE(GetFileName(seen).starts_with(".tomb4.exe.varnock-")) << seen;
    old = next;
  }
  EXPECT_EQ(NamesIn(dir), Names{"tomb4.exe"});
}

// What may not be written is refused with the reason and left as it was, read-only mark included.
TEST(RewriteFile, RefusesWhatCannotBeWritten) {
  TempDir dir;
  const std::string readOnly = dir.Write("ro.exe", Pattern(100, 1));
  fs::permissions(ToFsPath(readOnly), fs::perms::owner_read);
  fs::create_directory(ToFsPath(dir.File("folder.exe")));
  for (const std::string& path :
       {readOnly, dir.File("missing.exe"), dir.File("folder.exe"), std::string()}) {
    std::string error;
    EXPECT_FALSE(RewriteFile(path, Pattern(100, 2), error)) << path;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(ReadBytes(readOnly), Pattern(100, 1));
  EXPECT_EQ(fs::status(ToFsPath(readOnly)).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_FALSE(FileExists(dir.File("missing.exe")));
  EXPECT_EQ(NamesIn(dir), (Names{"ro.exe", "folder.exe"}));
}

// Through the replace, or written in place for a file with a second name, a disk that fills
// half-way leaves the old bytes and length.
TEST(RewriteFile, FullDiskLeavesOldFile) {
  for (const bool secondName : {false, true}) {
    SCOPED_TRACE(secondName ? "second name" : "one name");
    TempDir dir;
    const std::string path = dir.Write("tomb4.exe", Pattern(3 << 20, 1));
    if (secondName) {
      fs::create_hard_link(ToFsPath(path), ToFsPath(dir.File("other.exe")));
    }
    WriteFaults hooks;
    std::size_t calls = 0;
    hooks.allow_write = [&calls](std::size_t offset, std::size_t) {
      ++calls;
      return offset == 0;  // the second chunk finds the disk full
    };
    std::string error;
    EXPECT_FALSE(RewriteFileWith(hooks, path, Pattern((3 << 20) + 10, 2), error));
    EXPECT_EQ(calls, 2u);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), Pattern(3 << 20, 1));
    EXPECT_EQ(NamesIn(dir), (secondName ? Names{"tomb4.exe", "other.exe"} : Names{"tomb4.exe"}));
  }
}

// A write in place stopped half-way (an exception stands for a crash) leaves a journal of the
// old bytes beside the file; the next opening puts them back, says so once, and removes it.
// A journal cut short (the write was stopped before it touched the file), damaged or of another
// file is never applied: it is refused with the reason, and the file stays as it is.
TEST(RewriteFile, AnInterruptedWriteInPlaceIsUndoneOnlyByItsOwnWholeJournal) {
  TempDir dir;
  const Bytes old = Pattern(3 << 20, 1);
  const std::string path = dir.Write("tomb4.exe", old);
  std::error_code linked;
  fs::create_hard_link(ToFsPath(path), ToFsPath(dir.File("other.exe")), linked);
  if (linked) {
    GTEST_SKIP() << "no second names here";
  }
  const std::string journalPath = dir.File(".tomb4.exe.varnock-journal");
  const auto opened = [&](const std::string& file) {
    LockedFile held;
    std::string error;
    EXPECT_TRUE(held.Open(file, error)) << error;
    return held.Interrupted();
  };
  // Stopped at its second write (a kill at any moment is tested in tests/fault): the next
  // opening puts the old bytes back from the journal, once.
  Bytes next = old;
  std::fill_n(next.begin() + 1000, 2 << 20, 9);
  int writes = 0;
  WriteFaults crash;
  crash.allow_write = [&](std::size_t, std::size_t) {
    return ++writes < 2 || (throw std::runtime_error("crash"), false);
  };
  std::string error;
  EXPECT_THROW(RewriteFileWith(crash, path, next, error), std::runtime_error);
  const Bytes journal = ReadBytes(journalPath);
  EXPECT_EQ(opened(path).notice, path + " was restored to its state before an interrupted write");
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(opened(path).notice, "");
  EXPECT_EQ(NamesIn(dir), (Names{"tomb4.exe", "other.exe"}));

  std::mt19937 random(24);
  std::vector<Bytes> damaged = {{}, Pattern(journal.size(), 7)};
  for (int k = 0; k < 6; ++k) {
    damaged.emplace_back(journal.begin(), journal.begin() + random() % journal.size());
    damaged.push_back(journal);
    damaged.back()[random() % journal.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
  }
  for (const Bytes& bad : damaged) {
    dir.Write(".tomb4.exe.varnock-journal", bad);
    const InterruptedWrite refused = opened(path);
    EXPECT_TRUE(refused.refused);
    EXPECT_NE(refused.notice.find("incomplete or damaged"), std::string::npos) << refused.notice;
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_FALSE(FileExists(journalPath));
  }
  // Grown since by another program, the file keeps what it gained.
  std::ofstream(ToFsPath(path), std::ios::binary | std::ios::app) << std::string(old.size(), 'x');
  dir.Write(".tomb4.exe.varnock-journal", journal);
  EXPECT_TRUE(opened(path).refused);
  EXPECT_EQ(ReadBytes(path).size(), 2 * old.size());
  const std::string copy = dir.Write("copy.exe", old);
  dir.Write(".copy.exe.varnock-journal", journal);
  const InterruptedWrite foreign = opened(copy);
  EXPECT_TRUE(foreign.refused);
  EXPECT_NE(foreign.notice.find("does not fit " + copy), std::string::npos) << foreign.notice;
  EXPECT_EQ(ReadBytes(copy), old);
  EXPECT_EQ(ReadBytes(dir.File(".copy.exe.varnock-journal")), journal);
}

// A second writer, and a reader, wait for the first writer, then read what it wrote (a new file
// in the old one's place); one that waits too long is told the file is in use, and the file
// stays as it was.
TEST(LockedFile, ASecondWriterWaitsForTheFirstAndSeesItsResult) {
  TempDir dir;
  const std::string path = dir.Write("tomb4.exe", Pattern(5000, 1));
  std::atomic<bool> opened{false};
  Bytes seenBySecond;
  Bytes seenByReader;
  std::thread second;
  std::thread reader;
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
    reader = std::thread([&] {
      std::string readError;
      EXPECT_TRUE(ReadFileShared(path, seenByReader, readError)) << readError;
    });
    WriteFaults impatient;
    impatient.wait = std::chrono::milliseconds(50);
    std::thread([&] {
      EXPECT_FALSE(RewriteFileWith(impatient, path, Pattern(5000, 3), error));
    }).join();
    EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
    EXPECT_FALSE(ReadFileShared(path, content, error, impatient.wait));
    EXPECT_EQ(error, "the file is in use by another program: " + path);
    EXPECT_FALSE(opened);
    EXPECT_EQ(ReadBytes(path), Pattern(5000, 1));
    ASSERT_TRUE(first.Rewrite(Pattern(5000, 2), error)) << error;
  }
  second.join();
  reader.join();
  EXPECT_EQ(seenBySecond, Pattern(5000, 2));
  EXPECT_EQ(seenByReader, Pattern(5000, 2));
  EXPECT_EQ(NamesIn(dir), Names{"tomb4.exe"});
}

}  // namespace
}  // namespace varnock
