#include "engine/patch_batch.h"

#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

class PatchBatchTest : public ::testing::Test {
 protected:
  PatchBatchTest() : image(RandomImage(4096)) {
    exe = dir.Write("tomb4.exe", image);
    hooks.before_replace = [this](const std::string&) { ++rewrites; };
  }

  // A one-zone patch at `offset` that writes `patched` over the image's bytes.
  std::string Write(const std::string& name, std::int32_t offset, const Bytes& patched,
                    std::int32_t flags = 0) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(
        WritePatchFile(path, Patch(flags, {Zone(offset, Slice(offset, patched.size()), patched)})));
    return path;
  }
  Bytes Slice(std::size_t at, std::size_t size) const {
    return Bytes(image.begin() + static_cast<long>(at),
                 image.begin() + static_cast<long>(at + size));
  }

  ResultCode Run(const std::vector<std::string>& paths, bool removing,
                 std::optional<std::string> argument = std::nullopt) {
    std::vector<BatchItem> items;
    for (const std::string& path : paths) {
      items.push_back({path, argument});
    }
    return PerformBatch(items, exe, removing, ui, &hooks);
  }

  TempDir dir;
  RecordingUi ui;
  Bytes image;
  std::string exe;
  RewriteHooks hooks;
  int rewrites = 0;
};

TEST_F(PatchBatchTest, SeveralPatchesGoOnAndOffInOneRewriteEach) {
  const std::string a = Write("a.ptc", 100, {1, 2, 3, 4});
  const std::string b = Write("b.ptc", 104, {5, 6});  // right after a: no byte shared
  Bytes applied = image;
  Put(applied, 100, {1, 2, 3, 4, 5, 6});

  EXPECT_EQ(Run({a, b}, false), ResultDone);
  EXPECT_EQ(ReadBytes(exe), applied);
  EXPECT_EQ(rewrites, 1);
  EXPECT_EQ(Run({a, b}, false), ResultAlreadyDone);
  EXPECT_EQ(Run({a, b}, true), ResultDone);
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_EQ(Run({a, b}, true), ResultAlreadyDone);
  EXPECT_EQ(rewrites, 2);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PatchBatchTest, NothingIsWrittenWhenAnyPatchWouldFailAndTheMessageSaysWhere) {
  const std::string a = Write("a.ptc", 100, {1, 2, 3, 4});
  const std::string b = Write("b.ptc", 200, {5, 6});
  const std::string c = Write("c.ptc", 0xABC, {7, 8});
  Bytes other = image;
  Put(other, 0xABC, {9, 9});
  dir.Write("tomb4.exe", other);
  EXPECT_EQ(Run({a, b, c}, false), ResultFailed);
  EXPECT_TRUE(ui.OnlyCritical(
      "ERROR: c.ptc: zone 0 at offset 0xABC holds neither its original nor its patched bytes"));
  EXPECT_EQ(ReadBytes(exe), other);

  // Removing goes backwards: the last patch of the list is the first to fail.
  ui.Clear();
  EXPECT_EQ(Run({b, c}, true), ResultFailed);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"ERROR: c.ptc: zone 0 at offset 0xABC holds "
                                                 "neither its original nor its patched bytes"});
  ui.Clear();
  const std::string d = dir.File("d.ptc");
  ASSERT_TRUE(WritePatchFile(d, Patch(0, {Zone(4094, {0, 0, 0, 0}, {1, 1, 1, 1})})));
  EXPECT_EQ(Run({a, d}, false), ResultFailed);
  EXPECT_TRUE(ui.OnlyCritical("ERROR: d.ptc: zone 0 at offset 0xFFE lies outside the executable"));
  EXPECT_EQ(rewrites, 0);
  EXPECT_TRUE(Leftovers(dir.path(), {"tomb4.exe", "a.ptc", "b.ptc", "c.ptc", "d.ptc"}).empty());
}

TEST_F(PatchBatchTest, PatchesThatShareABytesAreRefused) {
  const std::string a = Write("a.ptc", 100, {1, 2, 3, 4});
  const std::string b = Write("b.ptc", 102, {5, 6});
  EXPECT_EQ(Run({a, b}, false), ResultFailed);
  EXPECT_TRUE(
      ui.OnlyCritical("ERROR: a.ptc and b.ptc conflict: zone 0 of a.ptc and zone 0 of "
                      "b.ptc share the byte at offset 0x66"));
  EXPECT_EQ(ReadBytes(exe), image);
}

TEST_F(PatchBatchTest, AMixOfDoneAndAlreadyDoneWritesNothing) {
  const std::string a = Write("a.ptc", 100, {1, 2, 3, 4});
  const std::string b = Write("b.ptc", 200, {5, 6});
  Bytes half = image;
  Put(half, 200, {5, 6});
  dir.Write("tomb4.exe", half);
  EXPECT_EQ(Run({a, b}, false), ResultFailed);
  EXPECT_TRUE(ui.OnlyCritical(
      "ERROR: b.ptc: zone 0 at offset 0xC8 already holds its patched bytes, while other "
      "patches of the list are not applied yet"));
  EXPECT_EQ(ReadBytes(exe), half);
}

TEST_F(PatchBatchTest, ArgumentsAndDynamicPatchesGoThroughTheEngine) {
  PatchRecord withArgument = Patch(0, {Zone(100, Slice(100, 4), {1, 2, 3, 4})});
  WithArgument(withArgument, NumByte, {101});
  const std::string a = dir.File("a#5#.ptc");
  ASSERT_TRUE(WritePatchFile(a, withArgument));
  // Recorded 16 bytes before where its bytes lie.
  const std::string b = dir.File("b.ptc");
  ASSERT_TRUE(WritePatchFile(b, Patch(Dynamic, {Zone(484, Slice(500, 8), Bytes(8, 0x90))})));
  EXPECT_EQ(Run({a, b}, false, "9"), ResultDone);
  Bytes applied = image;
  Put(applied, 100, {1, 9, 3, 4});
  Put(applied, 500, Bytes(8, 0x90));
  EXPECT_EQ(ReadBytes(exe), applied);
  EXPECT_EQ(Run({a, b}, true), ResultFailed) << "the name's 5 is not what was applied";
  EXPECT_EQ(ReadBytes(exe), applied);
  ui.Clear();
  EXPECT_EQ(Run({a, b}, true, "9"), ResultDone);
  EXPECT_EQ(ReadBytes(exe), image);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PatchBatchTest, APatchThatDoesNotLoadStopsTheBatchWithTheLoaderMessage) {
  const std::string a = Write("a.ptc", 100, {1, 2, 3, 4});
  EXPECT_EQ(Run({a, dir.File("missing.ptc")}, false), ResultFailed);
  EXPECT_TRUE(ui.OnlyCritical("ERROR: cann't find patch file: " + dir.File("missing.ptc")));
  EXPECT_EQ(ReadBytes(exe), image);
}

}  // namespace
}  // namespace varnock::testing
