#include "engine/patch_status.h"

#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

// That the statuses agree with the operation is tested over random patches in
// judge_property_test; here each word stands for its own layout of bytes.
class PatchStatusTest : public ImageTest {
 protected:
  PatchStatus Status(const PatchRecord& patch) {
    EXPECT_TRUE(WritePatchFile(dir.File("patch.ptc"), patch));
    std::string version;
    return GetPatchStatus(dir.File("patch.ptc"), exe, std::nullopt, version);
  }
  std::string Word(const PatchRecord& patch) { return StateWord(Status(patch).state); }
  void WriteExe(const Bytes& bytes) { dir.Write("tomb4.exe", bytes); }
};

TEST_F(PatchStatusTest, EveryStatusWord) {
  const PatchRecord patch = TwoZones();
  Bytes changed = image;
  for (const auto& [at, bytes, word] :
       std::initializer_list<std::tuple<int, Bytes, std::string>>{{0, {}, "not-applied"},
                                                                  {300, {5, 6}, "partly-applied"},
                                                                  {100, {1, 2, 3, 4}, "applied"},
                                                                  {101, {9}, "does-not-fit"}}) {
    Put(changed, at, bytes);
    WriteExe(changed);
    EXPECT_EQ(Word(patch), word);
  }
  WriteExe(image);

  PatchRecord outside = patch;
  outside.Zones.SetOffset(1, 4095);
  EXPECT_EQ(Word(outside), "does-not-fit");
  EXPECT_EQ(Status(outside).zones[1].verdict, ZoneVerdict::Outside);

  PatchRecord converter = patch;  // outside the four programs: judged by its bytes
  converter.ExeName = "custom.exe";
  EXPECT_EQ(Word(converter), "not-applied");
  EXPECT_EQ(ReadBytes(exe), image) << "a status never writes";
}

}  // namespace
}  // namespace varnock::testing
