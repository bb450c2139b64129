// Status, dry run and operation agree: over seeded random executables and patches, what the
// status and the dry run say is what apply and remove then do.

#include <map>
#include <random>

#include "engine/dry_run.h"
#include "engine/dynamic_search.h"
#include "engine/folder_status.h"
#include "engine/patch_argument.h"
#include "engine/patch_status.h"
#include "engine/perform_patch.h"
#include "engine/silent_ui.h"
#include "engine/zone_pipeline.h"
#include "support/paths.h"
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
// it, or runs past its end into the next one. An alignment record's original bytes, its
// patched bytes or neither lie at its place.
Case MakeCase(Random& random) {
  Case c{{}, {}, random.Fill(random.Pick(1024, 4096))};
  Put(c.image, 0x3C, {0x80, 0, 0, 0});
  const int flags = (random.Chance(40) ? Dynamic : 0) | (random.Chance(25) ? DontVerifySource : 0) |
                    (random.Chance(10) ? SameExeVersionOnly : 0);
  const bool alignment = (flags & Dynamic) != 0 && random.Chance(30);
  const int record = random.Pick(0, 99);
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
    zones.push_back(record < 35   ? Zone(at, random.Fill(8), Slice(c.image, at, 8))
                    : record < 85 ? Zone(at, Slice(c.image, at, 8), random.Fill(8))
                                  : Zone(at, random.Fill(8), random.Fill(8)));
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
    // Now and then a zone that changes nothing: its patched bytes are its original ones.
    const Bytes original = Slice(c.image, at, length);
    zones.push_back(Zone(at, original, random.Chance(10) ? original : random.Fill(length)));
    at += length;
  }
  c.patch = Patch(flags | (alignment ? RecordAlignment : 0), zones);
  if (argument) {
    WithArgument(c.patch, type, {argumentAt}, maxLength);
  }
  // Untouched, applied with the name's value or another one, mixed, other bytes in a zone, or
  // the reference zone alone applied among zones of original or other bytes.
  PatchRecord applied = c.patch;
  SilentUi silent;
  ArgumentFailure failure;
  const std::string value = random.Chance(60) ? c.value : random.Value(type);
  if (!argument || InsertArgumentText("p", value, applied, silent, failure)) {
    const int state = random.Pick(0, 4);
    for (std::size_t i = FirstWrittenZone(applied); i < applied.Zones.size(); ++i) {
      const PatchZone zone = applied.Zones[i];
      const bool reference = i == ReferenceZoneIndex(applied);
      if (state == 1 || (state == 2 && random.Chance(50)) || (state == 4 && reference)) {
        Put(c.image, static_cast<std::size_t>(zone.Offset), zone.PatchBytes);
      } else if ((state == 3 && random.Chance(30)) || (state == 4 && random.Chance(50))) {
        Put(c.image, static_cast<std::size_t>(zone.Offset), random.Fill(zone.Length));
      }
    }
  }
  // A record whose original bytes lie nowhere is mostly left where it lies.
  const bool stays = (flags & Dynamic) == 0 || random.Chance(alignment && record < 35 ? 70 : 30);
  const std::int32_t shift = stays               ? 0
                             : random.Chance(80) ? random.Pick(-112, 112)
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

// The executable with the patch taken out and with it put in, where the operation places it,
// as the patch written without verification makes them; std::nullopt when it has no place.
std::optional<std::pair<Bytes, Bytes>> OutAndIn(const std::string& path, PatchRecord patch,
                                                const std::string& exe, const std::string& version,
                                                const Bytes& image,
                                                const std::optional<std::string>& value) {
  patch.Flags |= DontVerifySource;
  const auto operate = [&](const Bytes& from, bool removing) {
    return Operate(path, patch, exe, version, from, removing, value);
  };
  // The reference zone of a dynamic patch decides which way it is found; the other way then
  // starts from what the first one made.
  const auto out = operate(image, true);
  const auto in = operate(out.first == ResultDone ? out.second : image, false);
  const auto outAgain = out.first == ResultDone ? out : operate(in.second, true);
  if (in.first != ResultDone || outAgain.first != ResultDone) {
    return std::nullopt;
  }
  return std::pair(outAgain.second, in.second);
}

// The word the bytes call for, whatever the operation does: every written zone (where the
// status places it) holds what the patch taken out leaves there, what it put in leaves, one or
// the other zone by zone, or some zone neither.
std::string WordOfBytes(const Bytes& image, const PatchStatus& status,
                        const std::optional<std::pair<Bytes, Bytes>>& outAndIn) {
  if (!outAndIn) {
    return "does-not-fit";
  }
  const auto& [out, in] = *outAndIn;
  if (image == out || image == in) {
    return image == out ? "not-applied" : "applied";
  }
  for (const ZoneReport& zone : status.zones) {
    const auto at = static_cast<std::int32_t>(zone.offset);
    const Bytes held = Slice(image, at, zone.length);
    if (zone.written && held != Slice(out, at, zone.length) && held != Slice(in, at, zone.length)) {
      return "does-not-fit";
    }
  }
  return "partly-applied";
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
    const PatchStatus status = StatusOfPatch(path, std::nullopt, patch, {exe, c.image, version});
    const std::string word = StateWord(status.state);
    Count(patch, c.image, status);
    const std::string window = Elsewhere(path, patch, c.image, exe, version, status, onDisk);
    if (!window.empty()) {
      return word + ": " + window;
    }
    PatchRecord expected = patch;
    SilentUi silent;
    const bool inserted = InsertArgument(path, std::nullopt, expected, silent);
    std::pair<ResultCode, Bytes> done[2];
    for (const bool removing : {false, true}) {
      const auto& [result, after] = done[removing] =
          Operate(path, patch, exe, version, c.image, removing);
      const DryRun dry = onDisk ? CheckOperation(path, exe, removing, std::nullopt, silent)
                                : CheckOperation(path, patch, {exe, c.image, version}, removing,
                                                 std::nullopt, silent);
      if (dry.would != result ||
          (!dry.status.placed && dry.ZoneCount() > 0 && dry.status.reason.empty())) {
        return word + ": check would " + std::to_string(dry.would) + ", not " +
               std::to_string(result) + ", or does not say why";
      }
      if (dry.status.state != status.state || dry.status.argument != status.argument) {
        return word + ": check says " + StateWord(dry.status.state);
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
      if (onDisk && (PerformPatch(path, exe, removing, version, loaded, {.ui = silent}) != result ||
                     ReadBytes(exe) != after)) {
        return word + ": the operation is not its steps";
      }
      if (onDisk) {
        Fresh("tomb4.exe", c.image);
      }
    }
    return Rules(path, patch, c.image, status, done[0].first, done[1].first, exe, version);
  }

  std::string Rules(const std::string& casePath, const PatchRecord& patch, const Bytes& image,
                    const PatchStatus& status, ResultCode apply, ResultCode remove,
                    const std::string& exe, const std::string& version) {
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
    const std::string bytes =
        WordOfBytes(image, status, OutAndIn(casePath, patch, exe, version, image, status.argument));
    if (bytes != StateWord(status.state)) {
      return word + ", though the bytes say " + bytes;
    }
    // Without verification every zone is written whatever it holds: apply and remove then
    // succeed where a verified patch stops.
    const bool blind = patch.Has(DontVerifySource);
    if (blind ? (notApplied && apply != ResultDone) ||
                    (applied && !status.argument && remove != ResultDone)
              : notApplied != (apply == ResultDone) ||
                    (!status.argument &&
                     applied != (apply == ResultAlreadyDone && remove == ResultDone)) ||
                    (!applied && !notApplied && (apply == ResultDone || remove == ResultDone))) {
      return word;
    }
    if (!status.argument) {
      return "";
    }
    // Read back: applied with that value, and written back with it, every byte comes back.
    const std::string path = PatchPath(patch, "");
    const auto kept = Operate(path, patch, exe, version, image, false, status.argument);
    const auto removed = Operate(path, patch, exe, version, image, true, status.argument);
    const auto again = Operate(path, patch, exe, version, removed.second, false, status.argument);
    const bool agree = (blind ? kept.first != ResultFailed && kept.second == image
                              : kept.first == ResultAlreadyDone) &&
                       removed.first == ResultDone && again == std::make_pair(ResultDone, image);
    return agree ? "" : word + ", not so with " + *status.argument;
  }

  // What the Patches window (and the folder's status, for a case on disk) say, against the
  // status; empty when they agree.
  std::string Elsewhere(const std::string& path, const PatchRecord& patch, const Bytes& image,
                        const std::string& exe, std::string version, const PatchStatus& status,
                        bool onDisk) {
    const PatchStatus brief =
        StatusOfPatch(path, std::nullopt, patch, {exe, image, version}, ZoneDetail::StateOnly);
    std::optional<PatchStatus> listed;
    FolderStatus folder;
    if (onDisk && GetFolderStatus(dir.path(), exe, folder, ui)) {
      listed = folder.entries.at(folder.IndexOf(GetFileName(path)).value()).status;
    }
    for (const PatchStatus& other : {brief, listed.value_or(brief)}) {
      if (other.state != status.state || other.argument != status.argument) {
        return std::string("the Patches window says ") + StateWord(other.state);
      }
    }
    return "";
  }

  // How many cases ended in each status, of every patch and of those that do not verify their
  // source or whose alignment record holds its patched bytes in place.
  void Count(const PatchRecord& patch, const Bytes& image, const PatchStatus& status) {
    const std::string word =
        status.argument ? "applied with another value" : StateWord(status.state);
    ++seen[word];
    if (patch.Has(DontVerifySource)) {
      ++seen["unverified, " + word];
    }
    const PatchZone& record = patch.Zones[0];
    const bool inside = record.Offset >= 0 && record.Offset + record.Length <= std::ssize(image);
    if (patch.Has(RecordAlignment) && status.placed && status.shift == 0 && inside &&
        Slice(image, record.Offset, record.Length) == record.PatchBytes) {
      ++seen["record in place, " + word];
    }
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
        "broken", "applied with another value", "unverified, applied", "unverified, not-applied",
        "unverified, partly-applied", "unverified, does-not-fit",
        "unverified, applied with another value", "record in place, not-applied",
        "record in place, applied"}) {
    EXPECT_GE(seen[word], kCases / 300) << word;
  }
}

}  // namespace
}  // namespace varnock::testing
