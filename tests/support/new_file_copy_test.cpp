#include "support/new_file_copy.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "tests/common/temp_dir.h"

namespace varnock::testing {
namespace {

// A new file is made only where nothing has the name yet, not even a link that leads nowhere
// (no file appears where it points); whatever has the name stays as it was.
TEST(WriteNewFile, MakesOnlyANewFileAndLeavesWhatIsThere) {
  TempDir dir;
  const Bytes content = {'p', 't', 'c', 0, 0xFF};
  std::string error;
  EXPECT_EQ(WriteNewFile(dir.File("new.ptc"), content, error), NewCopy::Made);
  EXPECT_EQ(WriteNewFile(dir.File("new.ptc"), {'x'}, error), NewCopy::Taken);
  EXPECT_EQ(ReadBytes(dir.File("new.ptc")), content);
#ifndef _WIN32
  std::filesystem::create_symlink(ToFsPath(dir.File("target.ptc")), ToFsPath(dir.File("link")));
  EXPECT_EQ(WriteNewFile(dir.File("link"), content, error), NewCopy::Taken);
  EXPECT_FALSE(FileExists(dir.File("target.ptc")));
#endif
  EXPECT_EQ(WriteNewFile(dir.File("missing/new.ptc"), content, error), NewCopy::Failed);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace varnock::testing
