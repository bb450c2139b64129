#include "tools/bundle_writer.h"

#include <gtest/gtest.h>

#include "tests/common/temp_dir.h"

namespace varnock::tools {
namespace {

using varnock::testing::ReadBytes;
using varnock::testing::ToBytes;

// The program's own bytes stay, even where they look like a bundle's header; appending again
// replaces the earlier bundle; a file the program would not unpack is refused, the program
// left as it was.
TEST(BundleWriter, AppendingAgainReplacesTheBundleAndUnfitNamesAreRefused) {
  varnock::testing::TempDir dir;
  Bytes expected = ToBytes("MZ image with ZA-VA-Y_V1.5____");
  const std::string exe = dir.Write("program.exe", expected);
  const std::vector<BundleFile> files = {{"one.ptc", ToBytes("1")}, {"two.ptc", ToBytes("22")}};
  const Bytes bundle = BundleBytes(expected.size(), files);
  expected.insert(expected.end(), bundle.begin(), bundle.end());
  std::string error;
  ASSERT_TRUE(AppendBundle(exe, {{"three.ptc", ToBytes("333")}}, error)) << error;
  ASSERT_TRUE(AppendBundle(exe, files, error)) << error;
  EXPECT_EQ(ReadBytes(exe), expected);
  EXPECT_FALSE(AppendBundle(exe, {{"../up.ptc", ToBytes("1")}}, error));
  EXPECT_EQ(error, "unfit name for a bundled file: \"../up.ptc\"");
  EXPECT_EQ(ReadBytes(exe), expected);
}

}  // namespace
}  // namespace varnock::tools
