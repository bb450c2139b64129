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

TEST(BundleWriter, WhatItAppendsUnpacksAndAppendingAgainReplacesIt) {
  TempDir dir;
  const Bytes image = ToBytes("MZ the program's own bytes");
  const std::string exe = dir.Write("program.exe", image);
  std::string error;
  ASSERT_TRUE(AppendBundle(exe, {{"one.ptc", ToBytes("1")}, {"two.ptc", ToBytes("22")}}, error))
      << error;
  const Bytes once = ReadBytes(exe);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), once.begin()));
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

TEST(BundleWriter, TheHeaderCarriesTagAndCountAndTheTrailerItsOffset) {
  const Bytes bundle = BundleBytes(0x1C000, {{"a", ToBytes("xy")}});
  const Bytes expected = {'Z', 'A', '-', 'V', 'A', '-', 'Z', 0, 'V', '1', '.', '5',  1, 0,
                          0,   0,   2,   0,   0,   0,   'a', 0, 'x', 'y', 0,   0xC0, 1, 0};
  EXPECT_EQ(bundle, expected);
}

TEST(BundleWriter, RefusesFilesTheProgramWouldNotUnpack) {
  TempDir dir;
  const Bytes image = ToBytes("MZ image");
  const std::string exe = dir.Write("program.exe", image);
  std::string error;
  EXPECT_FALSE(AppendBundle(exe, {{"../up.ptc", ToBytes("1")}}, error));
  EXPECT_EQ(error, "unfit name for a bundled file: \"../up.ptc\"");
  EXPECT_FALSE(AppendBundle(exe, {{"empty.ptc", {}}}, error));
  EXPECT_EQ(error, "a bundled file must hold 1 byte to 2 GB: empty.ptc");
  EXPECT_FALSE(AppendBundle(dir.File("missing.exe"), {{"a.ptc", ToBytes("1")}}, error));
  EXPECT_EQ(ReadBytes(exe), image);
}

TEST(BundleWriter, OnlyAValidHeaderCountsAsAnEarlierBundle) {
  Bytes content = ToBytes("MZ image without a bundle....");
  EXPECT_EQ(ExistingBundleStart(content), content.size());
  content = {1, 2, 3};
  EXPECT_EQ(ExistingBundleStart(content), 3u);
  content = ToBytes("ZA-VA-Y_V1.5____");
  content.insert(content.end(), {0, 0, 0, 0});
  EXPECT_EQ(ExistingBundleStart(content), content.size());
}

}  // namespace
}  // namespace varnock::tools
