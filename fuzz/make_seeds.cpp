// Writes the seed corpus of every fuzz target, made with the project's own writers:
//   varnock-fuzz-seeds OUTPUT-FOLDER PATCH-SOURCE...
// Each target's seeds go to OUTPUT-FOLDER/<target>/. Nothing binary is kept in the sources.
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/operation_input.h"
#include "history/history_record.h"
#include "patchfile/patch_source.h"
#include "patchfile/patch_writer.h"
#include "sets/patch_set.h"
#include "support/files.h"
#include "support/sha256.h"
#include "target/exe_version.h"
#include "tools/bundle_writer.h"
#include "tools/demo_engine.h"

using namespace varnock;
namespace fs = std::filesystem;

namespace {

class SeedFolder {
 public:
  SeedFolder(const fs::path& root, const std::string& target) : folder_(root / target) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void Add(const std::string& name, const Bytes& content) const {
    fuzz::WriteInput(FromFsPath(folder_ / name), content);
  }

 private:
  fs::path folder_;
};

// Bytes without repeated runs, with a PE header offset at 0x3C whose time stamp lies at 0x88.
Bytes SmallImage(std::size_t size, std::uint32_t seed) {
  Bytes image(size);
  for (auto& byte : image) {
    seed = seed * 1103515245U + 12345U;
    byte = static_cast<std::uint8_t>(seed >> 16);
  }
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 0x80;
  image[0x3D] = image[0x3E] = image[0x3F] = 0;
  return image;
}

PatchZone ZoneOf(const Bytes& image, std::int32_t offset, Bytes patched) {
  PatchZone zone;
  zone.Offset = offset;
  zone.Length = static_cast<std::int32_t>(patched.size());
  zone.OriginalBytes.assign(image.begin() + offset, image.begin() + offset + zone.Length);
  zone.PatchBytes = std::move(patched);
  return zone;
}

PatchRecord PatchOf(std::int32_t flags, ZoneList zones) {
  PatchRecord record;
  record.Flags = flags;
  record.ExeName = "tomb4.exe";
  record.ExeVersion = tools::kDemoEngineVersion;
  record.Description = "Seed\r\nwith \xC3\xA9 and \xE2\x82\xAC";
  record.Zones = std::move(zones);
  return record;
}

void WithArgument(PatchRecord& record, std::int32_t type, std::int32_t offset,
                  std::int32_t maxLength = 0) {
  record.Flags |= HasArgument;
  record.ArgType = type;
  record.ArgMaxLength = maxLength;
  record.ArgOffsets = {offset};
}

std::string SignatureOf(const Bytes& image, const fs::path& scratch) {
  const std::string path = FromFsPath(scratch / "tomb4.exe");
  fuzz::WriteInput(path, image);
  fuzz::QuietUi ui;
  return GetExeVersion(path, ui);
}

// The patches of the loader's corpus, each with the bytes its file carries after the last zone.
std::vector<std::pair<std::string, PatchSource>> LoaderPatches(
    const std::vector<PatchRecord>& shipped) {
  std::vector<std::pair<std::string, PatchSource>> patches;
  for (std::size_t i = 0; i < shipped.size(); ++i) {
    patches.push_back({"shipped" + std::to_string(i), {shipped[i], {}}});
  }
  patches.push_back({"zeros", {}});
  const Bytes image = SmallImage(512, 7);
  PatchRecord withText = PatchOf(Dynamic | RecordAlignment | DontVerifySource | SameExeVersionOnly,
                                 {ZoneOf(image, 100, {1, 2, 3}), ZoneOf(image, 200, {4})});
  WithArgument(withText, TextStringZ, 100, 3);
  patches.push_back({"every_flag", {withText, {}}});
  patches.push_back({"trailing_bytes", {PatchOf(0, {ZoneOf(image, 300, {9, 9})}), Bytes(6, 0xEE)}});
  return patches;
}

void PatchSeeds(const fs::path& root, const std::vector<PatchRecord>& shipped) {
  const SeedFolder seeds(root, "load_patch");
  for (const auto& [name, patch] : LoaderPatches(shipped)) {
    seeds.Add(name, CompiledPatch(patch));
  }
}

// The source parser reads its input both as a source and as a .ptc file: each patch of the
// loader's corpus goes in both forms, and the shipped sources as they stand.
void SourceSeeds(const fs::path& root, const std::vector<PatchRecord>& shipped,
                 const std::vector<std::string>& shippedSources) {
  const SeedFolder seeds(root, "patch_source");
  for (const auto& [name, patch] : LoaderPatches(shipped)) {
    seeds.Add(name + ".ptc", CompiledPatch(patch));
    const std::string text = DecompilePatch(patch);
    seeds.Add(name + ".txt", Bytes(text.begin(), text.end()));
  }
  for (std::size_t i = 0; i < shippedSources.size(); ++i) {
    seeds.Add("shipped_source" + std::to_string(i), ReadWholeFile(shippedSources[i]));
  }
}

void BundleSeeds(const fs::path& root, const std::vector<PatchRecord>& shipped) {
  const SeedFolder seeds(root, "bundle_unpack");
  const Bytes program = SmallImage(256, 3);
  std::vector<tools::BundleFile> files;
  for (std::size_t i = 0; i < shipped.size(); ++i) {
    files.push_back({"Patch_" + std::to_string(i) + ".ptc", WritePatch(shipped[i])});
  }
  Bytes bundled = program;
  const Bytes bundle = tools::BundleBytes(program.size(), files);
  bundled.insert(bundled.end(), bundle.begin(), bundle.end());
  seeds.Add("two_patches", bundled);
  Bytes lower = bundled;
  for (std::size_t i = 0; i < 7; ++i) {
    lower[program.size() + i] = static_cast<std::uint8_t>(std::tolower(lower[program.size() + i]));
  }
  seeds.Add("lower_case_magic", lower);
  Bytes empty = program;
  const Bytes none = tools::BundleBytes(program.size(), {});
  empty.insert(empty.end(), none.begin(), none.end());
  seeds.Add("no_entries", empty);
  seeds.Add("no_bundle", program);
}

// A file of `size` bytes that holds `marker` at `place`.
Bytes ToolImage(std::size_t size, std::size_t place, const std::string& marker) {
  Bytes image = SmallImage(size, 11);
  std::copy(marker.begin(), marker.end(), image.begin() + static_cast<long>(place));
  return image;
}

void VersionSeeds(const fs::path& root, const Bytes& engine) {
  const SeedFolder seeds(root, "exe_version");
  seeds.Add("demo_engine", engine);
  Bytes shorter(engine.begin(), engine.end() - 0x10);
  seeds.Add("demo_engine_short", shorter);
  seeds.Add("converter", ToolImage(0x20000, 0x199C0, "PC Level Converter"));
  seeds.Add("script_compiler", ToolImage(0x1A9DC, 0x1692D, "\\c\\script.c"));
  seeds.Add("header_only", SmallImage(256, 5));
  seeds.Add("empty", {});
}

void OperationSeeds(const fs::path& root, const fs::path& scratch) {
  const SeedFolder seeds(root, "patch_operation");
  const Bytes image = SmallImage(1024, 21);
  const auto add = [&](const std::string& name, const PatchRecord& patch, const Bytes& exe,
                       const std::string& answer = "") {
    seeds.Add(name, fuzz::EncodeOperationInput({answer, WritePatch(patch), exe}));
  };
  const PatchRecord twoZones =
      PatchOf(0, {ZoneOf(image, 100, {1, 2, 3, 4}), ZoneOf(image, 300, {5, 6})});
  add("two_zones", twoZones, image);
  add("unverified", PatchOf(DontVerifySource, twoZones.Zones), image);

  // The same zones found 0x20 bytes later than recorded.
  Bytes shifted = SmallImage(1024, 99);
  std::copy(image.begin() + 100, image.begin() + 104, shifted.begin() + 132);
  std::copy(image.begin() + 300, image.begin() + 302, shifted.begin() + 332);
  add("dynamic", PatchOf(Dynamic, twoZones.Zones), shifted);
  PatchRecord aligned = PatchOf(Dynamic | RecordAlignment, twoZones.Zones);
  std::vector<PatchZone> alignedZones{ZoneOf(image, 600, {0, 0, 0, 0, 0, 0})};
  alignedZones.insert(alignedZones.end(), twoZones.Zones.begin(), twoZones.Zones.end());
  aligned.Zones = ZoneList(alignedZones);
  add("alignment_record", aligned, image);

  PatchRecord bound = PatchOf(SameExeVersionOnly, twoZones.Zones);
  bound.ExeVersion = SignatureOf(image, scratch);
  add("same_version", bound, image);

  const std::vector<std::pair<std::int32_t, std::string>> arguments = {
      {TextString, "abc"}, {TextStringZ, "xy"}, {NumByte, "200"},
      {NumWord, "-2"},     {NumLong, "70000"},  {NumFloat, "2.5"}};
  for (const auto& [type, answer] : arguments) {
    PatchRecord patch = PatchOf(0, {ZoneOf(image, 400, {0, 0, 0, 0, 0, 0, 0, 0})});
    WithArgument(patch, type, 402, 4);
    add("argument" + std::to_string(type), patch, image, answer);
  }
}

// Set files as Varnock writes them: empty, with arguments, with the history's original, and
// one in the forms a person may leave (BOM, CR LF, comments, upper-case sums).
void SetSeeds(const fs::path& root) {
  const SeedFolder seeds(root, "patch_set");
  PatchSet set{
      "tomb4.exe", "LE_UK_P:XP_Standard (11-Nov-2000  15:21)", std::string(64, 'a'), {}, {}};
  const std::string empty = PatchSetText(set);
  seeds.Add("empty", Bytes(empty.begin(), empty.end()));
  set.originalSha256 = std::string(64, 'b');
  set.patches = {{"Patch_ExtraVideoMemory20MB.ptc", std::string(64, 'c'), std::nullopt, 0},
                 {"Patch_Fog#250#.ptc", std::string(64, 'd'), "300", 0},
                 {"Patch_Name#a b#.ptc", std::string(64, 'e'), " x | y", 0}};
  const std::string text = PatchSetText(set);
  seeds.Add("patches", Bytes(text.begin(), text.end()));
  const std::string edited =
      "\xEF\xBB\xBFvarnock patch set 1\r\n  # edited\r\n\r\nprogram: tomb4.exe\r\n"
      "signature: X\r\nsha256: " +
      std::string(64, 'F') + "\r\npatch: " + std::string(64, 'A') + " a.ptc | 2.750\r\n";
  seeds.Add("edited", Bytes(edited.begin(), edited.end()));
}

}  // namespace

void HistorySeeds(const fs::path& root) {
  const SeedFolder seeds(root, "history_record");
  const Bytes original = SmallImage(512, 31);
  Bytes applied = original;
  std::fill(applied.begin() + 100, applied.begin() + 104, 0xEE);
  applied[300] ^= 0xFF;
  HistoryRecord record{"/games/tomb4.exe", "5:9", "", original.size(), Sha256Text(original), {}};
  record.entries.push_back({"2026-12-07T17:30:00Z",
                            "apply",
                            {{"A#7#.ptc", Sha256Text(original), "7"}},
                            Sha256Text(original),
                            Sha256Text(applied),
                            ChangedRanges(original, applied)});
  const std::string one = EncodeHistory(record);
  seeds.Add("one_apply", Bytes(one.begin(), one.end()));
  record.entries.push_back({"2026-12-07T17:31:00Z",
                            "undo",
                            {},
                            Sha256Text(applied),
                            Sha256Text(original),
                            ChangedRanges(applied, original)});
  const std::string two = EncodeHistory(record);
  seeds.Add("apply_undo", Bytes(two.begin(), two.end()));
}

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: varnock-fuzz-seeds OUTPUT-FOLDER PATCH-SOURCE...\n";
    return 2;
  }
  const fs::path root = argv[1];
  std::vector<PatchRecord> shipped;
  const std::vector<std::string> sources(argv + 2, argv + argc);
  for (int i = 2; i < argc; ++i) {
    std::string error;
    PatchSource source;
    if (!ReadPatchSourceFile(argv[i], source, error)) {
      std::cerr << error << "\n";
      return 1;
    }
    shipped.push_back(std::move(source.record));
  }
  Bytes engine;
  std::string error;
  if (!tools::MakeDemoEngine(shipped, engine, error)) {
    std::cerr << "demo engine: " << error << "\n";
    return 1;
  }
  const fs::path scratch = root / "scratch";
  fs::create_directories(scratch);
  PatchSeeds(root, shipped);
  SourceSeeds(root, shipped, sources);
  BundleSeeds(root, shipped);
  VersionSeeds(root, engine);
  OperationSeeds(root, scratch);
  HistorySeeds(root);
  SetSeeds(root);
  fs::remove_all(scratch);
  return 0;
}
