// Status, dry run and operation agree: over seeded random executables and patches, what the
// status and the dry run say is what apply and remove then do.

#include <map>
#include <random>

#include "engine/dry_run.h"
#include "engine/dynamic_search.h"
#include "engine/patch_argument.h"
#include "engine/patch_status.h"
#include "engine/perform_patch.h"
#include "engine/silent_ui.h"
#include "engine/zone_pipeline.h"
#include "target/exe_version.h"
#include "tests/engine/engine_fixture.h"

namespace varnock::testing {
namespace {

constexpr std::uint32_t kSeed = 20251207;
constexpr int kCases = 3000;

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Chance(int percent) { return Pick(0, 99) < percent; }
  Bytes Fill(int size) {
    Bytes bytes(static_cast<std::size_t>(size));
    std::ranges::generate(bytes, [&] { return static_cast<std::uint8_t>(Pick(0, 255)); });
    return bytes;
  }
  std::string Value(std::int32_t type) {
    if (type < NumByte) {
      return std::string(static_cast<std::size_t>(Pick(1, 4)), static_cast<char>(Pick('a', 'z')));
    }
    const int high = type == NumByte ? 255 : type == NumWord ? 65535 : 70000;
    const int low = type >= NumLong ? -high : 0;
    return std::to_string(Pick(low, high)) + (type == NumFloat && Chance(50) ? ".5" : "");
  }

 private:
  std::mt19937 engine_;
};

struct Case {
  PatchRecord patch;  // offsets as recorded
  std::string value;  // the value the patch file's name carries
  Bytes image;
};

Bytes Slice(const Bytes& image, std::int32_t at, int length) {
  return {image.begin() + at, image.begin() + at + length};
}

// Zones lie apart at their places in this build, which holds each in the state drawn for the
// case; the patch is recorded `shift` bytes away. An argument covers part of its zone, all of
// it, or runs past its end into the next one.
Case MakeCase(Random& random) {
  Case c{{}, {}, random.Fill(random.Pick(1024, 4096))};
  Put(c.image, 0x3C, {0x80, 0, 0, 0});
  const int flags = (random.Chance(40) ? Dynamic : 0) | (random.Chance(5) ? DontVerifySource : 0) |
                    (random.Chance(10) ? SameExeVersionOnly : 0);
  const bool alignment = (flags & Dynamic) != 0 && random.Chance(30);
  const bool argument = random.Chance(40);
  const std::int32_t type = random.Pick(TextString, NumFloat);
  const std::int32_t maxLength = random.Pick(1, 4);
  c.value = argument && random.Chance(97) ? random.Value(type) : "";
  const int kept = std::min(static_cast<int>(c.value.size()), maxLength);
  const int width = type == TextString    ? kept
                    : type == TextStringZ ? kept + 1
                                          : std::min(4, 1 << (type - 3));
  const int mode = random.Pick(0, 2);
  std::vector<PatchZone> zones;
  std::int32_t at = 200;
  if (alignment) {
    zones.push_back(
        Zone(at, random.Chance(85) ? Slice(c.image, at, 8) : random.Fill(8), random.Fill(8)));
    at += 8;
  }
  std::int32_t argumentAt = 0;
  for (int i = random.Pick(1, 4); i > 0; --i) {
    at += mode == 2 && !zones.empty() ? 0 : random.Pick(0, 40);
    int length = random.Pick(1, 8);
    if (argument && argumentAt == 0) {
      length = mode == 0 ? width + random.Pick(1, 3) : std::max(1, width - (mode == 2));
      argumentAt = at + (mode == 0 ? random.Pick(0, length - width) : 0);
    }
    zones.push_back(Zone(at, Slice(c.image, at, length), random.Fill(length)));
    at += length;
  }
  c.patch = Patch(flags | (alignment ? RecordAlignment : 0), zones);
  if (argument) {
    WithArgument(c.patch, type, {argumentAt}, maxLength);
  }
  // Untouched, applied with the name's value or another one, mixed, or other bytes in a zone.
  PatchRecord applied = c.patch;
  SilentUi silent;
  ArgumentFailure failure;
  const std::string value = random.Chance(60) ? c.value : random.Value(type);
  if (!argument || InsertArgumentText("p", value, applied, silent, failure)) {
    const int state = random.Pick(0, 3);
    for (std::size_t i = FirstWrittenZone(applied); i < applied.Zones.size(); ++i) {
      const PatchZone zone = applied.Zones[i];
      if (state == 1 || (state == 2 && random.Chance(50))) {
        Put(c.image, static_cast<std::size_t>(zone.Offset), zone.PatchBytes);
      } else if (state == 3 && random.Chance(30)) {
        Put(c.image, static_cast<std::size_t>(zone.Offset), random.Fill(zone.Length));
      }
    }
  }
  const std::int32_t shift = (flags & Dynamic) == 0 || random.Chance(30) ? 0
                             : random.Chance(80)                         ? random.Pick(-112, 112)
                                                                         : random.Pick(300, 600);
  MoveZones(c.patch, -shift);
  std::ranges::for_each(c.patch.ArgOffsets, [&](std::int32_t& offset) { offset -= shift; });
  c.patch.ExeName = random.Chance(4) ? "tom2pc.exe" : "tomb4.exe";
  if (random.Chance(3)) {
    c.patch.Zones.SetOffset(0, static_cast<std::int32_t>(c.image.size()) - 1);
  }
  return c;
}

// Patches that were misjudged once, on an executable whose byte i is i * 7 + 3: an argument
// over a whole zone that holds its original byte, one applied with another value, a dynamic
// patch whose alignment record is found nowhere, and one written without verification whose
// reference zone alone holds another value.
std::vector<Case> KnownCases() {
  Bytes image(2048);
  for (std::size_t i = 0; i < image.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  Put(image, 0x3C, {0x80, 0, 0, 0});
  std::vector<Case> cases(4, Case{{}, "7", image});
  cases[0].patch = Patch(0, {Zone(0x100, {0x03}, {0xFF})});
  cases[1].patch = Patch(0, {Zone(0x200, Slice(image, 0x200, 4), {0, 0x11, 0x22, 0x33})});
  Put(cases[1].image, 0x200, {0xFF, 0x11, 0x22, 0x33});
  for (const std::int32_t i : {0, 1}) {
    WithArgument(cases[i].patch, NumByte, {0x100 * (i + 1)});
  }
  cases[2].patch = Patch(Dynamic | RecordAlignment,
                         {Zone(0x100, Bytes(8, 'Z'), Bytes(8, 'Y')),
                          Zone(0x200, Slice(image, 0x200, 4), {0xAA, 0xBB, 0xCC, 0xDD})});
  Put(cases[2].image, 0x200, {0xAA, 0xBB, 0xCC, 0xDD});
  cases[3].patch = Patch(Dynamic | DontVerifySource,
                         {cases[1].patch.Zones[0], Zone(0x300, Slice(image, 0x300, 1), {2})});
  WithArgument(cases[3].patch, NumByte, {0x200});
  cases[3].image = cases[1].image;
  return cases;
}

// The operation's own steps, as PerformPatch takes them after the load, on an image in memory.
std::pair<ResultCode, Bytes> Operate(const std::string& patchPath, PatchRecord record,
                                     const std::string& exe, std::string version, Bytes image,
                                     bool removing, std::optional<std::string> value = {}) {
  SilentUi silent;
  ResultCode result = ResultFailed;
  if (VersionAccepted(exe, record, version, silent)) {
    result = PrepareZones(patchPath, value, image, record, removing, silent);
  }
  Bytes changed = image;
  result = result == ResultDone ? ApplyZones(changed, record, removing) : result;
  return {result, result == ResultDone ? changed : image};
}

class JudgeProperty : public ::testing::Test {
 protected:
  // What the status or the dry run say that the operation does not do; empty when they agree.
  // Every hundredth case goes through the files, the others stay in memory.
  std::string Disagreement(const Case& c, int index) {
    const bool onDisk = index % 100 == 0;
    const std::string exe = dir.File("tomb4.exe");
    if (onDisk) {
      Fresh("tomb4.exe", c.image);
    }
    // In memory the signature is only compared: any text stands for it.
    const bool bound = c.patch.Has(SameExeVersionOnly);
    std::string version = !bound ? "" : onDisk ? GetExeVersion(exe, ui) : "LE_this build";
    PatchRecord patch = c.patch;
    patch.ExeVersion = index % 2 == 0 ? version : "LE_other build";
    const std::string path = PatchPath(patch, c.value);
    if (onDisk) {
      std::filesystem::remove(path);
      EXPECT_TRUE(WritePatchFile(path, patch));
    }
    const PatchStatus status = StatusOfPatch(path, std::nullopt, patch, c.image, exe, version);
    const std::string word = StateWord(status.state);
    ++seen[status.argument ? "applied with another value" : word];
    PatchRecord expected = patch;
    SilentUi silent;
    const bool inserted = InsertArgument(path, std::nullopt, expected, silent);
    std::pair<ResultCode, Bytes> done[2];
    for (const bool removing : {false, true}) {
      const auto& [result, after] = done[removing] =
          Operate(path, patch, exe, version, c.image, removing);
      const DryRun dry = onDisk ? CheckOperation(path, exe, removing, std::nullopt, silent)
                                : CheckOperation(path, patch, c.image, exe, removing, std::nullopt,
                                                 version, silent);
      if (dry.would != result ||
          (!dry.status.placed && dry.ZoneCount() > 0 && dry.status.reason.empty())) {
        return word + ": check would " + std::to_string(dry.would) + ", not " +
               std::to_string(result) + ", or does not say why";
      }
      for (std::size_t i = 0; i < dry.ZoneCount(); ++i) {
        const ZoneReport zone = dry.Zone(i);
        const PatchZone own = expected.Zones[zone.index];
        const Bytes& wanted = removing ? zone.original : zone.patched;
        if ((inserted && (zone.patched != own.PatchBytes || zone.original != own.OriginalBytes)) ||
            (result == ResultDone && zone.written &&
             Slice(after, static_cast<std::int32_t>(zone.offset), zone.length) != wanted)) {
          return word + ": check shows zone " + std::to_string(zone.index) + " otherwise";
        }
      }
      PatchRecord loaded;
      if (onDisk && (PerformPatch(path, exe, removing, version, loaded, silent) != result ||
                     ReadBytes(exe) != after)) {
        return word + ": the operation is not its steps";
      }
      if (onDisk) {
        Fresh("tomb4.exe", c.image);
      }
    }
    return Rules(patch, c.image, status, done[0].first, done[1].first, exe, version);
  }

  std::string Rules(const PatchRecord& patch, const Bytes& image, const PatchStatus& status,
                    ResultCode apply, ResultCode remove, const std::string& exe,
                    const std::string& version) {
    const std::string word = StateWord(status.state) + std::string(": apply ") +
                             std::to_string(apply) + ", remove " + std::to_string(remove);
    const bool applied = status.state == PatchState::Applied;
    const bool notApplied = status.state == PatchState::NotApplied;
    if (status.state >= PatchState::OtherBuild) {
      // A patch for another program is told before any zone is looked at; the operation,
      // which may still be run on it, decides by the bytes.
      const bool failed = status.state == PatchState::OtherProgram ||
                          (apply == ResultFailed && remove == ResultFailed);
      return failed && status.zones.empty() ? "" : word;
    }
    if (patch.Has(DontVerifySource) && !status.argument) {
      const bool agree =
          (applied || notApplied) == (apply != ResultFailed && remove != ResultFailed) &&
          (!notApplied || apply == ResultDone) && (!applied || remove == ResultDone);
      return agree ? "" : word;
    }
    if (notApplied != (apply == ResultDone) ||
        (!status.argument && applied != (apply == ResultAlreadyDone && remove == ResultDone)) ||
        (!applied && !notApplied && (apply == ResultDone || remove == ResultDone))) {
      return word;
    }
    if (!status.argument) {
      return "";
    }
    // Read back: applied with that value, and written back with it, every byte comes back.
    const std::string path = PatchPath(patch, "");
    const auto removed = Operate(path, patch, exe, version, image, true, status.argument);
    const auto again = Operate(path, patch, exe, version, removed.second, false, status.argument);
    const bool agree = Operate(path, patch, exe, version, image, false, status.argument).first ==
                           ResultAlreadyDone &&
                       removed.first == ResultDone && again == std::make_pair(ResultDone, image);
    return agree ? "" : word + ", not so with " + *status.argument;
  }

  std::string PatchPath(const PatchRecord& patch, const std::string& value) {
    return dir.File(patch.Has(HasArgument) && !value.empty() ? "p#" + value + "#.ptc" : "p.ptc");
  }

  // A new file each time: a file cut short and written again is flushed to the disk at once.
  std::string Fresh(const std::string& name, const Bytes& content) {
    std::filesystem::remove(dir.File(name));
    return dir.Write(name, content);
  }

  TempDir dir;
  RecordingUi ui;
  std::map<std::string, int> seen;  // how many cases ended in each status
};

TEST_F(JudgeProperty, StatusAndCheckSayWhatApplyAndRemoveDo) {
  const std::vector<Case> known = KnownCases();
  for (std::size_t i = 0; i < known.size(); ++i) {
    EXPECT_EQ(Disagreement(known[i], 1), "") << "known case " << i;
  }
  Random random(kSeed);
  for (int i = 0; i < kCases; ++i) {
    ASSERT_EQ(Disagreement(MakeCase(random), i), "") << "seed " << kSeed << ", case " << i;
  }
  for (const char* word :
       {"applied", "not-applied", "partly-applied", "does-not-fit", "other-build", "other-program",
        "broken", "applied with another value"}) {
    EXPECT_GE(seen[word], kCases / 200) << word;
  }
}

}  // namespace
}  // namespace varnock::testing
