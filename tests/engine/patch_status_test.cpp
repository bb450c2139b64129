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
// 0x200 and 0x300 hold 03 0A 11 18): the word the status and the check say, the value read
// back, what apply with the file name's value does, and the word after it.
TEST_F(PatchStatusTest, WordsOfUnverifiedPatchesAndAlignmentRecords) {
  Bytes tomb4(2048);
  for (std::size_t i = 0; i < tomb4.size(); ++i) {
    tomb4[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  Put(tomb4, 0x3C, {0x80, 0, 0, 0});
  const Bytes start = {0x03, 0x0A, 0x11, 0x18};
  const Bytes eight(tomb4.begin() + 0x200, tomb4.begin() + 0x208);
  const PatchZone first = Zone(0x100, start, {0x11, 0x22, 0x33, 0x44});
  const PatchZone second = Zone(0x200, start, {0x55, 0x66, 0x77, 0x88});
  struct Row {
    const char* layout;
    std::int32_t flags;
    std::vector<PatchZone> zones;
    std::vector<std::pair<std::size_t, Bytes>> held;  // the file's bytes there
    std::string word;
    std::string readBack;
    ResultCode apply;
    std::string after;
  };
  const Row rows[] = {
      {"other bytes",
       DontVerifySource,
       {first},
       {{0x100, {0xAA, 0xBB, 0xCC, 0xDD}}},
       "does-not-fit",
       "",
       ResultDone,
       "applied"},
      {"half applied",
       DontVerifySource,
       {first, second},
       {{0x100, first.PatchBytes}},
       "partly-applied",
       "",
       ResultDone,
       "applied"},
      {"applied with 100",
       DontVerifySource | HasArgument,
       {first, second},
       {{0x100, first.PatchBytes}, {0x200, {0x55, 100, 0x77, 0x88}}},
       "applied",
       "100",
       ResultDone,
       "applied"},
      {"applied with 100, verified",
       HasArgument,
       {first, second},
       {{0x100, first.PatchBytes}, {0x200, {0x55, 100, 0x77, 0x88}}},
       "applied",
       "100",
       ResultAlreadyDone,
       "applied"},
      {"reference zone alone",
       Dynamic | DontVerifySource,
       {Zone(0x100, {0x03, 0x0A}, {0x01, 0x02}), Zone(0x200, eight, Bytes(8, 0x99))},
       {{0x100, {0xEE, 0xEE}}, {0x200, Bytes(8, 0x99)}},
       "does-not-fit",
       "",
       ResultAlreadyDone,
       "does-not-fit"},
      {"record's patched bytes in place",
       Dynamic | RecordAlignment,
       {Zone(0x300, Bytes(4, 0x90), start), second},
       {},
       "not-applied",
       "",
       ResultDone,
       "applied"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.layout);
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
    std::string version;
    const PatchStatus status = GetPatchStatus(path, exe, std::nullopt, version);
    EXPECT_EQ(StateWord(status.state), row.word);
    EXPECT_EQ(status.argument.value_or(""), row.readBack);
    const DryRun check = CheckOperation(path, exe, false, std::nullopt, ui);
    EXPECT_EQ(StateWord(check.status.state), row.word);
    EXPECT_EQ(check.would, row.apply);
    PatchRecord loaded;
    EXPECT_EQ(PerformPatch(path, exe, false, version, loaded, ui), row.apply);
    EXPECT_EQ(StateWord(GetPatchStatus(path, exe, std::nullopt, version).state), row.after);
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace varnock::testing
