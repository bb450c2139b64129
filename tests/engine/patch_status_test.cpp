#include "engine/patch_status.h"

#include "engine/dry_run.h"
#include "engine/perform_patch.h"
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

// Patches once misjudged, on a tomb4.exe of 2,048 bytes whose byte i is i * 7 + 3 (so 0x100,
// 0x200 and 0x300 hold 03 0A 11 18): the words of the status (which the check says too), with
// the value read back, what apply with the file name's value returns, and the words after it.
TEST_F(PatchStatusTest, WordsOfUnverifiedPatchesAndAlignmentRecords) {
  Bytes tomb4(2048);
  for (std::size_t i = 0; i < tomb4.size(); ++i) {
    tomb4[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  Put(tomb4, 0x3C, {0x80, 0, 0, 0});
  const Bytes start = {0x03, 0x0A, 0x11, 0x18};
  const PatchZone first = Zone(0x100, start, {0x11, 0x22, 0x33, 0x44});
  const PatchZone second = Zone(0x200, start, {0x55, 0x66, 0x77, 0x88});
  const Bytes with100 = {0x55, 100, 0x77, 0x88};
  const PatchZone reference =
      Zone(0x200, {tomb4.begin() + 0x200, tomb4.begin() + 0x208}, Bytes(8, 9));
  struct Row {
    const char* layout;
    std::int32_t flags;
    std::vector<PatchZone> zones;
    std::vector<std::pair<std::size_t, Bytes>> held;  // the file's bytes there
    std::string outcome;
  };
  const Row rows[] = {
      {"other bytes",
       DontVerifySource,
       {first},
       {{0x100, {0xAA, 0xBB, 0xCC, 0xDD}}},
       "does-not-fit, apply 3, then applied"},
      {"half applied",
       DontVerifySource,
       {first, second},
       {{0x100, first.PatchBytes}},
       "partly-applied, apply 3, then applied"},
      {"applied with 100",
       DontVerifySource | HasArgument,
       {first, second},
       {{0x100, first.PatchBytes}, {0x200, with100}},
       "applied with 100, apply 3, then applied"},
      {"applied with 100, verified",
       HasArgument,
       {first, second},
       {{0x100, first.PatchBytes}, {0x200, with100}},
       "applied with 100, apply 1, then applied with 100"},
      {"reference zone alone",
       Dynamic | DontVerifySource,
       {Zone(0x100, {0x03, 0x0A}, {0x01, 0x02}), reference},
       {{0x100, {0xEE, 0xEE}}, {0x200, reference.PatchBytes}},
       "does-not-fit, apply 1, then does-not-fit"},
      {"record's patched bytes in place",
       Dynamic | RecordAlignment,
       {Zone(0x300, Bytes(4, 0x90), start), second},
       {},
       "not-applied, apply 3, then applied"},
  };
  const auto said = [&](const std::string& path) {
    std::string version;
    const PatchStatus status = GetPatchStatus(path, exe, std::nullopt, version);
    const DryRun check = CheckOperation(path, exe, false, std::nullopt, ui);
    EXPECT_EQ(check.status.state, status.state);
    return StateWord(status.state) + (status.argument ? " with " + *status.argument : "");
  };
  for (const Row& row : rows) {
    PatchRecord patch = Patch(row.flags, row.zones);
    if (patch.Has(HasArgument)) {
      WithArgument(patch, NumByte, {0x201});
    }
    const std::string path = dir.File(patch.Has(HasArgument) ? "P#7#.ptc" : "P.ptc");
    ASSERT_TRUE(WritePatchFile(path, patch));
    Bytes held = tomb4;
    for (const auto& [at, bytes] : row.held) {
      Put(held, at, bytes);
    }
    WriteExe(held);
    std::string outcome = said(path);
    std::string version;
    PatchRecord loaded;
    outcome +=
        ", apply " + std::to_string(PerformPatch(path, exe, false, version, loaded, {.ui = ui}));
    EXPECT_EQ(outcome + ", then " + said(path), row.outcome) << row.layout;
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace varnock::testing
