#include "tools/bundle_writer.h"

#include <gtest/gtest.h>

#include "patchfile/bundle_unpack.h"
#include "support/paths.h"
#include "tests/common/temp_dir.h"

namespace varnock::tools {
namespace {

using varnock::testing::ReadBytes;
using varnock::testing::TempDir;
using varnock::testing::ToBytes;

// The program's own bytes stay; appending again replaces the earlier bundle, found only by a
// valid header.
TEST(BundleWriter, WhatItAppendsUnpacksAndAppendingAgainReplacesIt) {
  TempDir dir;
  const Bytes image = ToBytes("MZ image with ZA-VA-Y_V1.5____");
  const std::string exe = dir.Write("program.exe", image);
  EXPECT_EQ(ExistingBundleStart(image), image.size());
  std::string error;
  ASSERT_TRUE(AppendBundle(exe, {{"one.ptc", ToBytes("1")}, {"two.ptc", ToBytes("22")}}, error))
      << error;
  const Bytes once = ReadBytes(exe);
  EXPECT_EQ(Bytes(once.begin(), once.begin() + static_cast<long>(image.size())), image);
  EXPECT_EQ(ExistingBundleStart(once), image.size());
  ASSERT_TRUE(AppendBundle(exe, {{"three.ptc", ToBytes("333")}}, error)) << error;
  std::vector<std::string> unpacked;
  std::int32_t count = 0;
  ASSERT_TRUE(UnpackBundle(exe, dir.File("out"), unpacked, count));
  EXPECT_EQ(unpacked, std::vector<std::string>{JoinPath(dir.File("out"), "three.ptc")});
  EXPECT_EQ(ReadBytes(unpacked[0]), ToBytes("333"));
  ASSERT_TRUE(AppendBundle(exe, {{"one.ptc", ToBytes("1")}, {"two.ptc", ToBytes("22")}}, error));
  EXPECT_EQ(ReadBytes(exe), once);
}

TEST(BundleWriter, RefusesFilesTheProgramWouldNotUnpack) {
  TempDir dir;
  const std::string exe = dir.WriteText("program.exe", "MZ image");
  std::string error;
  EXPECT_FALSE(AppendBundle(exe, {{"../up.ptc", ToBytes("1")}}, error));
  EXPECT_EQ(error, "unfit name for a bundled file: \"../up.ptc\"");
  EXPECT_FALSE(AppendBundle(exe, {{"empty.ptc", {}}}, error));
  EXPECT_EQ(error, "a bundled file must hold 1 byte to 2 GB: empty.ptc");
  EXPECT_FALSE(AppendBundle(dir.File("missing.exe"), {{"a.ptc", ToBytes("1")}}, error));
  EXPECT_EQ(ReadBytes(exe), ToBytes("MZ image"));
}

}  // namespace
}  // namespace varnock::tools
