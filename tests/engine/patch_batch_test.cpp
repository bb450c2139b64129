#include "engine/patch_batch.h"

#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

class PatchBatchTest : public ImageTest {
 protected:
  PatchBatchTest() {
    hooks.before_replace = [this](const std::string&) { ++rewrites; };
  }
  // A one-zone patch at `offset` that writes `patched` over the image's bytes.
  std::string Write(const std::string& name, std::int32_t offset, const Bytes& patched) {
    EXPECT_TRUE(WritePatchFile(dir.File(name),
                               Patch(0, {Zone(offset, Slice(offset, patched.size()), patched)})));
    return dir.File(name);
  }
  ResultCode Run(const std::vector<std::string>& paths, bool removing) {
    std::vector<BatchItem> items;
    for (const std::string& path : paths) {
      items.push_back({path, std::nullopt});
    }
    return PerformBatch(items, exe, removing, {.ui = ui, .faults = hooks});
  }

  WriteFaults hooks;
  int rewrites = 0;
};

// Nothing is written when any patch of the list would fail, and the message says which.
TEST_F(PatchBatchTest, AListThatCannotGoWholeWritesNothing) {
  const std::string a = Write("a.ptc", 100, {1, 2, 3, 4});
  const std::string b = Write("b.ptc", 200, {5, 6});
  const std::string c = Write("c.ptc", 0xABC, {7, 8});
  const std::string overlap = Write("o.ptc", 102, {5, 6});
  const std::string d = dir.File("d.ptc");
  ASSERT_TRUE(WritePatchFile(d, Patch(0, {Zone(4094, {0, 0, 0, 0}, {1, 1, 1, 1})})));
  Bytes other = image;
  Put(other, 0xABC, {9, 9});
  Bytes half = image;
  Put(half, 200, {5, 6});
  const std::string neither =
      "ERROR: c.ptc: zone 0 at offset 0xABC holds neither its original nor its patched bytes";
  const struct {
    std::string message;
    std::vector<std::string> patches;
    Bytes exe;
    bool removing = false;
  } cases[] = {
      {neither, {a, b, c}, other},
      {neither, {b, c}, other, true},  // removing goes backwards: c fails first
      {"ERROR: d.ptc: zone 0 at offset 0xFFE lies outside the executable", {a, d}, image},
      {"ERROR: a.ptc and o.ptc conflict: zone 0 of a.ptc and zone 0 of o.ptc share the byte at "
       "offset 0x66",
       {a, overlap},
       image},
      {"ERROR: b.ptc: zone 0 at offset 0xC8 already holds its patched bytes, while other patches "
       "of the list are not applied yet",
       {a, b},
       half},
      {"ERROR: cann't find patch file: " + dir.File("missing.ptc"),
       {a, dir.File("missing.ptc")},
       image},
  };
  for (const auto& row : cases) {
    ui.Clear();
    dir.Write("tomb4.exe", row.exe);
    EXPECT_EQ(Run(row.patches, row.removing), ResultFailed) << row.message;
    EXPECT_TRUE(ui.OnlyCritical(row.message)) << ::testing::PrintToString(ui.Texts());
    EXPECT_EQ(ReadBytes(exe), row.exe);
  }
  EXPECT_EQ(rewrites, 0);
  EXPECT_TRUE(
      Leftovers(dir.path(), {"tomb4.exe", "a.ptc", "b.ptc", "c.ptc", "d.ptc", "o.ptc"}).empty());
}

}  // namespace
}  // namespace varnock::testing
