// Sets over seeded random folders: a set saved from an executable and applied to another copy
// of the original gives that executable byte for byte, verify then finds no difference, a set
// that cannot be applied, or whose executable changes between the check and the apply, leaves
// the copy byte for byte as it was, and a patch file changed after the check changes nothing
// of what the apply writes.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "engine/patch_batch.h"
#include "history/history_store.h"
#include "history/operation_history.h"
#include "sets/set_operations.h"
#include "support/sha256.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tools/patch_file.h"

namespace varnock::testing {
namespace {

constexpr std::uint32_t kSeed = 20261208;
#ifdef _WIN32
constexpr int kCases = 100;  // every rewrite is flushed to a real disk under Wine
#else
constexpr int kCases = 2000;
#endif
constexpr std::int32_t kSlot = 96;  // each patch writes only within its own slot

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Chance(int percent) { return Pick(0, 99) < percent; }
  Bytes Fill(std::size_t size) {
    Bytes bytes(size);
    std::ranges::generate(bytes, [&] { return static_cast<std::uint8_t>(Pick(0, 255)); });
    return bytes;
  }
  // A value of the type; text values fill the whole length the patch keeps.
  std::string Value(std::int32_t type, std::int32_t maxLength) {
    switch (type) {
      case TextString:
        return std::string(static_cast<std::size_t>(maxLength), static_cast<char>(Pick('a', 'z')));
      case NumByte:
        return std::to_string(Pick(0, 255));
      case NumWord:
        return std::to_string(Pick(0, 65535));
      case NumLong:
        return std::to_string(Pick(-100000, 100000));
      default:
        return std::to_string(Pick(-500, 500)) + (Chance(50) ? ".5" : ".25");
    }
  }

 private:
  std::mt19937 engine_;
};

struct FolderPatch {
  std::string path;
  PatchRecord record;
  std::string nameValue;  // the value the file name carries; empty without an argument
};

Bytes Image(Random& random) {
  Bytes image = random.Fill(4096);
  image[0x3C] = 0x80;
  image[0x3D] = image[0x3E] = image[0x3F] = 0;
  return image;
}

// Patch `i` writes one or two zones in its slot; some take an argument in their first zone.
FolderPatch MakePatch(Random& random, const Bytes& image, const TempDir& dir, int i) {
  FolderPatch patch;
  PatchRecord& record = patch.record;
  record.ExeName = "tomb4.exe";
  const std::int32_t base = 0x200 + i * kSlot;
  const int zones = random.Pick(1, 2);
  for (int z = 0; z < zones; ++z) {
    const std::int32_t at = base + z * 40;
    const auto length = static_cast<std::int32_t>(random.Pick(4, 8));
    Bytes original(image.begin() + at, image.begin() + at + length);
    record.Zones.push_back({at, length, std::move(original), random.Fill(length)});
  }
  std::string name = "p" + std::to_string(i);
  if (random.Chance(50)) {
    record.Flags |= HasArgument;
    const std::int32_t types[] = {TextString, NumByte, NumWord, NumLong, NumFloat};
    record.ArgType = types[random.Pick(0, 4)];
    record.ArgMaxLength = record.ArgType == TextString ? random.Pick(1, 4) : 0;
    record.ArgOffsets = {base};
    patch.nameValue = random.Value(record.ArgType, record.ArgMaxLength);
    name += "#" + patch.nameValue + "#";
  }
  patch.path = dir.File(name + ".ptc");
  EXPECT_TRUE(WritePatchFile(patch.path, record));
  return patch;
}

// Applies a random part of the folder with random values.
void ApplySome(Random& random, const std::vector<FolderPatch>& folder, const std::string& exe) {
  std::vector<BatchItem> items;
  for (const FolderPatch& patch : folder) {
    if (random.Chance(50)) {
      const bool own = patch.nameValue.empty() || random.Chance(50);
      items.push_back({patch.path, own ? std::nullopt
                                       : std::optional(random.Value(patch.record.ArgType,
                                                                    patch.record.ArgMaxLength))});
    }
  }
  RecordingUi ui;
  const ResultCode result = PerformChanges({}, items, exe, {.ui = ui});
  ASSERT_TRUE(result == ResultDone || items.empty())
      << (ui.messages.empty() ? "" : ui.messages[0].text);
}

// The set read back from its own text, as a user shares it.
PatchSet Shared(const PatchSet& set) {
  PatchSet read;
  std::string error;
  EXPECT_TRUE(ParsePatchSet(PatchSetText(set), read, error)) << error;
  return read;
}

// One of the ways a set cannot be applied, made on `set` or on the copy at `exe`.
void Spoil(Random& random, PatchSet& set, const std::vector<FolderPatch>& folder,
           const std::string& exe, const Bytes& copy) {
  const int way = set.patches.empty() ? 2 : random.Pick(0, 2);
  if (way == 0) {
    std::string& sum = set.patches[0].sha256;
    sum[0] = sum[0] == '0' ? '1' : '0';
  } else if (way == 1) {
    set.patches[0].name = "none.ptc";
  } else {
    // A patch with two zones half applied on the copy (one without an argument, whose first
    // zone then holds exactly its patched bytes).
    for (const FolderPatch& p : folder) {
      if (p.record.Zones.size() == 2 && !p.record.Has(HasArgument)) {
        Bytes half = copy;
        const ZoneView zone = p.record.Zones.View(0);
        std::ranges::copy(p.record.Zones[0].PatchBytes, half.begin() + zone.Offset);
        const bool changed = half != copy;
        std::ofstream(exe, std::ios::binary)
            .write(reinterpret_cast<const char*>(half.data()), static_cast<long>(half.size()));
        if (changed) {
          return;
        }
      }
    }
    set.patches.push_back({"none.ptc", std::string(64, 'a'), std::nullopt, 99});
  }
}

// Changes, between the check and the apply, a patched byte (one no argument covers) of a patch
// file the plan applies, in place and the size kept; false when there is none.
bool ChangePatchAfterCheck(const SetCheck& check, std::vector<FolderPatch>& folder) {
  for (const BatchItem& item : check.plan.applications) {
    for (FolderPatch& p : folder) {
      if (p.path == item.patchPath && !p.record.Has(HasArgument)) {
        p.record.Zones.PatchBytes(0).back() ^= 0x5A;
        EXPECT_TRUE(WritePatchFile(p.path, p.record));
        return true;
      }
    }
  }
  return false;
}

// Changes a byte of the executable outside every slot between the check and the apply.
void ChangeExeAfterCheck(const std::string& exe, const Bytes& copy) {
  Bytes changed = copy;
  changed[0x10] ^= 0x5A;
  std::ofstream(exe, std::ios::binary)
      .write(reinterpret_cast<const char*>(changed.data()), static_cast<long>(changed.size()));
}

TEST(SetPropertyTest, SavedAppliedVerifiedGivesTheSameExecutable) {
  // Every rewrite is flushed to disk: a memory-backed folder keeps thousands of them quick.
  TempDirsInMemory();
  Random random(kSeed);
  int refused = 0;
  int changed = 0;
  int patchesChanged = 0;
  for (int c = 0; c < kCases; ++c) {
    SCOPED_TRACE("case " + std::to_string(c));
    TempDir dir;
    const Bytes original = Image(random);
    std::vector<FolderPatch> folder;
    const int count = random.Pick(1, 7);
    for (int i = 0; i < count; ++i) {
      folder.push_back(MakePatch(random, original, dir, i));
    }
    const std::string saved = dir.Write("saved/tomb4.exe", original);
    const std::string copy = dir.Write("copy/tomb4.exe", original);
    ApplySome(random, folder, saved);
    ApplySome(random, folder, copy);
    RecordingUi ui;
    PatchSet set;
    ASSERT_TRUE(SaveSetFrom(dir.path(), saved, set, ui));
    set = Shared(set);
    const Bytes before = ReadBytes(copy);
    if (random.Chance(25)) {
      // A copy that does not hold the set yet may also change after the check.
      const bool late = before != ReadBytes(saved) && random.Chance(30);
      if (!late) {
        Spoil(random, set, folder, copy, before);
      }
      const SetCheck check = CheckSet(set, dir.path(), copy, ui);
      if (late) {
        ChangeExeAfterCheck(copy, before);
      }
      const Bytes spoiled = ReadBytes(copy);
      ASSERT_EQ(ApplySet(set, check, copy, {.ui = ui}), ResultFailed);
      ASSERT_EQ(ReadBytes(copy), spoiled);
      ASSERT_FALSE(ui.messages.empty());
      ++refused;
      continue;
    }
    const SetCheck check = CheckSet(set, dir.path(), copy, ui);
    ASSERT_EQ(check.plan.Holds(), before == ReadBytes(saved));
    // The apply writes the patches as the check judged them, by the sums the set names.
    const bool patchChanged = random.Chance(10) && ChangePatchAfterCheck(check, folder);
    patchesChanged += patchChanged;
    const ResultCode result = ApplySet(set, check, copy, {.ui = ui});
    ASSERT_NE(result, ResultFailed) << (ui.messages.empty() ? "" : ui.messages[0].text);
    changed += result == ResultDone;
    ASSERT_EQ(ReadBytes(copy), ReadBytes(saved));
    if (patchChanged) {
      continue;  // the folder no longer holds the set's patch
    }
    const SetCheck after = CheckSet(set, dir.path(), copy, ui);
    ASSERT_TRUE(after.plan.Holds());
    ASSERT_TRUE(after.Identical(set));
    ASSERT_EQ(ApplySet(set, after, copy, {.ui = ui}), ResultAlreadyDone);
  }
  EXPECT_GT(refused, kCases / 8);
  EXPECT_GT(changed, kCases / 2);
  EXPECT_GT(patchesChanged, kCases / 40);
}

// The history of a set apply notes each patch by the SHA-256 the set names, the bytes written,
// also when the patch file was replaced between the check and the apply.
TEST(SetPropertyTest, TheHistoryNotesThePatchesAsTheSetNamesThem) {
  Random random(kSeed + 1);
  TempDir dir;
  const Bytes original = Image(random);
  FolderPatch patch = MakePatch(random, original, dir, 0);
  const std::string saved = dir.Write("saved/tomb4.exe", original);
  const std::string copy = dir.Write("copy/tomb4.exe", original);
  RecordingUi ui;
  ASSERT_EQ(PerformChanges({}, {{patch.path, std::nullopt}}, saved, {.ui = ui}), ResultDone);
  PatchSet set;
  ASSERT_TRUE(SaveSetFrom(dir.path(), saved, set, ui));
  const SetCheck check = CheckSet(set, dir.path(), copy, ui);
  patch.record.Description += " replaced";
  ASSERT_TRUE(WritePatchFile(patch.path, patch.record));
  OperationHistory history(dir.File("history"));
  ASSERT_EQ(ApplySet(set, check, copy, {.ui = ui, .history = &history}), ResultDone);
  const Bytes applied = ReadBytes(copy);
  EXPECT_EQ(applied, ReadBytes(saved));
  const FoundHistory found =
      FindHistory(dir.File("history"), copy, Sha256Text(applied), applied.size(),
                  [&](std::uint64_t offset) { return applied[offset]; });
  ASSERT_EQ(found.kind, FoundHistory::Kind::Found);
  ASSERT_EQ(found.record.entries.back().patches.size(), 1u);
  EXPECT_EQ(found.record.entries.back().patches[0].sha256, set.patches[0].sha256);
  EXPECT_NE(set.patches[0].sha256, Sha256Text(ReadBytes(patch.path)));
}

}  // namespace
}  // namespace varnock::testing
