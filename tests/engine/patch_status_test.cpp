#include "engine/patch_status.h"

#include "target/exe_version.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

class PatchStatusTest : public ImageTest {
 protected:
  PatchStatus Status(const PatchRecord& patch, const std::string& name = "patch.ptc",
                     std::optional<std::string> argument = std::nullopt) {
    EXPECT_TRUE(WritePatchFile(dir.File(name), patch));
    std::string version;
    return GetPatchStatus(dir.File(name), exe, argument, version);
  }
  std::string Word(const PatchRecord& patch, const std::string& name = "patch.ptc") {
    return StateWord(Status(patch, name).state);
  }
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

  PatchRecord bound = TwoZones(SameExeVersionOnly);
  bound.ExeVersion = "LE_other build";
  EXPECT_EQ(Word(bound), "other-build");
  bound.ExeVersion = GetExeVersion(exe, ui);
  EXPECT_EQ(Word(bound), "not-applied");

  PatchRecord converter = patch;
  converter.ExeName = "TOM2PC.EXE";
  EXPECT_EQ(Word(converter), "other-program");
  converter.ExeName = "custom.exe";  // outside the four programs: judged by its bytes
  EXPECT_EQ(Word(converter), "not-applied");

  dir.WriteText("broken.ptc", "not a patch");
  std::string version;
  const PatchStatus broken = GetPatchStatus(dir.File("broken.ptc"), exe, std::nullopt, version);
  EXPECT_EQ(StateWord(broken.state), std::string("broken"));
  EXPECT_EQ(broken.reason.rfind("Error trying to load binary patch", 0), 0U);
  PatchRecord withArgument = patch;
  WithArgument(withArgument, NumByte, {101});
  EXPECT_EQ(Word(withArgument, "no_argument_in_name.ptc"), "broken");
  EXPECT_EQ(ReadBytes(exe), image) << "a status never writes";
}

TEST_F(PatchStatusTest, AnArgumentAppliedWithAnotherValueIsReadBack) {
  struct Case {
    std::int32_t type;
    Bytes inPlace;  // at the start of the first zone
    std::string value;
  };
  for (const Case& c :
       {Case{NumByte, {7}, "7"}, Case{NumWord, {0x34, 0x12}, "4660"},
        Case{NumLong, {0xFE, 0xFF, 0xFF, 0xFF}, "-2"}, Case{NumFloat, {0, 0, 0xC0, 0x3F}, "1.5"},
        Case{TextStringZ, {'h', 'i', 0}, "hi"}}) {
    PatchRecord patch = TwoZones();
    WithArgument(patch, c.type, {100}, 2);
    Bytes applied = Applied();
    Put(applied, 100, c.inPlace);
    WriteExe(applied);
    const PatchStatus status = Status(patch, "p#250#.ptc");
    EXPECT_EQ(status.state, PatchState::Applied) << c.value;
    EXPECT_EQ(status.argument, c.value);
    EXPECT_EQ(status.zones.at(0).verdict, ZoneVerdict::Patched) << c.value;
    Put(applied, 300, {5, 7});  // the bytes outside the argument decide
    WriteExe(applied);
    EXPECT_EQ(Status(patch, "p#250#.ptc").argument, std::nullopt) << c.value;
  }
  PatchRecord patch = TwoZones();
  WithArgument(patch, NumByte, {101});
  Bytes applied = Applied();
  Put(applied, 101, {250});
  WriteExe(applied);
  EXPECT_EQ(Status(patch, "p#250#.ptc").argument, std::nullopt) << "only another value is told";
  EXPECT_EQ(Status(patch, "p#250#.ptc", "9").argument, "250");
}

}  // namespace
}  // namespace varnock::testing
