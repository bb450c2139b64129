// varnock-cli runs as a process here, on patches and executables made by the tests.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "patchfile/patch_writer.h"
#include "tests/cli/run_process.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunProcess;
using testing::TempDir;

constexpr std::int32_t kZoneOffset = 0x1000;

ProcessResult Cli(const std::vector<std::string>& arguments, const std::string& folder = "") {
  return RunProcess(VARNOCK_CLI_PATH, arguments, folder);
}

void PutInt32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

// A level converter of the standard build: "TP_Standard (16-Oct-2000  10:37)".
Bytes StandardConverter() {
  Bytes image(0x20000, 0);
  PutInt32(image, 0x3C, 0x80);
  PutInt32(image, 0x88, 971692620);
  const char marker[] = "PC Level Converter";
  std::memcpy(image.data() + 0x199C0, marker, std::strlen(marker));
  return image;
}

PatchRecord ConverterPatch() {
  PatchRecord patch;
  patch.ZoneCount = 1;
  patch.ExeVersion = "TP_Standard (16-Oct-2000  10:37)";
  patch.Description = "Makes the converter faster.\r\nSecond line.";
  patch.ExeName = "tom2pc.exe";
  patch.Zones = {{kZoneOffset, 4, {0, 0, 0, 0}, {0x40, 0x4B, 0x4C, 0x00}}};
  return patch;
}

// A patch whose byte argument lands in the second byte of its zone.
PatchRecord ArgumentPatch() {
  PatchRecord patch = ConverterPatch();
  patch.Flags = HasArgument;
  patch.ArgOffsetCount = 1;
  patch.ArgOffsets = {kZoneOffset + 1};
  patch.ArgType = NumByte;
  return patch;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = dir_.Write("tom2pc.exe", StandardConverter());
    patch_ = dir_.File("Patch_Fast.ptc");
    ASSERT_TRUE(WritePatchFile(patch_, ConverterPatch()));
  }

  Bytes ZoneBytes() const {
    const Bytes image = ReadBytes(exe_);
    return Bytes(image.begin() + kZoneOffset, image.begin() + kZoneOffset + 4);
  }

  bool TempCopiesLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      if (entry.path().filename().string().rfind("temp_", 0) == 0) {
        return true;
      }
    }
    return false;
  }

  TempDir dir_;
  std::string exe_;
  std::string patch_;
};

TEST_F(CliTest, SignaturePrintsOneLine) {
  const ProcessResult result = Cli({"signature", exe_});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "TP_Standard (16-Oct-2000  10:37)\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, SignatureOfAMissingFileTellsWhyAndPrintsError) {
  const std::string missing = dir_.File("tomb4.exe");
  const ProcessResult result = Cli({"signature", missing});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "ERROR\n");
  EXPECT_EQ(result.err.rfind(
                "ERROR trying to compute version of file: " + missing + "\nError mexage: ", 0),
            0u)
      << result.err;
}

TEST_F(CliTest, InfoAsJsonHoldsEveryField) {
  const ProcessResult result = Cli({"info", patch_, "--json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["ZoneCount"], 1);
  EXPECT_EQ(json["Flags"], 0);
  EXPECT_EQ(json["ArgOffsetCount"], 0);
  EXPECT_EQ(json["ArgOffsets"], nlohmann::json::array());
  EXPECT_EQ(json["ExeVersion"], "TP_Standard (16-Oct-2000  10:37)");
  EXPECT_EQ(json["Description"], "Makes the converter faster.\r\nSecond line.");
  EXPECT_EQ(json["ExeName"], "tom2pc.exe");
  EXPECT_EQ(json["TargetBaseName"], "tom2pc");
  EXPECT_EQ(json["TargetRelativePath"], "/tom2pc.exe");
  ASSERT_EQ(json["Zones"].size(), 1u);
  EXPECT_EQ(json["Zones"][0]["Offset"], kZoneOffset);
  EXPECT_EQ(json["Zones"][0]["Length"], 4);
  EXPECT_EQ(json["Zones"][0]["OriginalBytes"], "00000000");
  EXPECT_EQ(json["Zones"][0]["PatchBytes"], "404B4C00");
}

TEST_F(CliTest, InfoSummaryIsReadable) {
  ASSERT_TRUE(WritePatchFile(patch_, ArgumentPatch()));
  const ProcessResult result = Cli({"info", patch_});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find("tom2pc.exe"), std::string::npos);
  EXPECT_NE(result.out.find("HasArgument"), std::string::npos);
  EXPECT_NE(result.out.find("NumByte, written at 0x00001001"), std::string::npos);
  EXPECT_NE(result.out.find("404B4C00"), std::string::npos);
  EXPECT_NE(result.out.find("Makes the converter faster.\nSecond line."), std::string::npos);
}

TEST_F(CliTest, InfoOfAHostilePatchFailsQuicklyWithTheLoaderMessage) {
  Bytes hostile(32, 0);
  PutInt32(hostile, 0, 0x7FFFFFFF);  // two thousand million zones in a 32-byte file
  const std::string path = dir_.Write("hostile.ptc", hostile);
  const ProcessResult result = Cli({"info", path, "--json"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.rfind(
                "Error trying to load binary patch from file: " + path + "\nError mexage: ", 0),
            0u)
      << result.err;
}

TEST_F(CliTest, InfoOfAMissingPatch) {
  const ProcessResult result = Cli({"info", dir_.File("none.ptc")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "ERROR: cann't find patch file: " + dir_.File("none.ptc") + "\n");
}

TEST_F(CliTest, ApplyAndRemoveRoundTripWithTheirExitStatuses) {
  const Bytes original = ReadBytes(exe_);

  ProcessResult result = Cli({"apply", patch_, exe_});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Ok: applying patch operation has been performed\n");
  EXPECT_EQ(ZoneBytes(), (Bytes{0x40, 0x4B, 0x4C, 0x00}));

  result = Cli({"apply", patch_, exe_});
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.out, "WARNING: applying patch operation was already been performed\n");

  result = Cli({"remove", patch_, exe_});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "Ok: removing patch operation has been performed\n");
  EXPECT_EQ(ReadBytes(exe_), original);

  result = Cli({"remove", patch_, exe_});
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_EQ(result.out, "WARNING: removing patch operation was already been performed\n");
}

TEST_F(CliTest, ApplyToAnExecutableOfOtherBytesFailsAndChangesNothing) {
  Bytes other = StandardConverter();
  other[kZoneOffset] = 0x99;
  dir_.Write("tom2pc.exe", other);
  const ProcessResult result = Cli({"apply", patch_, exe_});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "ERROR: cann't applying the patch\n");
  EXPECT_EQ(ReadBytes(exe_), other);
}

TEST_F(CliTest, ArgumentComesFromTheOptionOrTheFileName) {
  const std::string patch = dir_.File("Patch_Arg#250#.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ArgumentPatch()));

  ProcessResult result = Cli({"apply", patch, exe_, "--arg", "7"});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_EQ(ZoneBytes(), (Bytes{0x40, 0x07, 0x4C, 0x00}));

  result = Cli({"remove", patch, exe_});  // the name's 250 is not what was applied
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "ERROR: cann't removing the patch\n");

  result = Cli({"remove", patch, exe_, "--arg", "7"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(ZoneBytes(), (Bytes{0, 0, 0, 0}));

  result = Cli({"apply", patch, exe_});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(ZoneBytes(), (Bytes{0x40, 250, 0x4C, 0x00}));
  EXPECT_FALSE(TempCopiesLeft());
}

TEST_F(CliTest, AnEmptyArgumentStopsSilently) {
  const std::string patch = dir_.File("Patch_Arg#250#.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ArgumentPatch()));
  const Bytes before = ReadBytes(exe_);
  const ProcessResult result = Cli({"apply", patch, exe_, "--arg", ""});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadBytes(exe_), before);
  EXPECT_FALSE(TempCopiesLeft());
}

TEST_F(CliTest, RelativePathsAreTakenFromTheCurrentFolder) {
  const ProcessResult result = Cli({"apply", "Patch_Fast.ptc", "./tom2pc.exe"}, dir_.path());
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(ZoneBytes(), (Bytes{0x40, 0x4B, 0x4C, 0x00}));
}

TEST_F(CliTest, BadArgumentsAreUsageErrors) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"frobnicate"},
                                                    {"apply", patch_},
                                                    {"signature"},
                                                    {"info", patch_, "--yaml"}}) {
    const ProcessResult result = Cli(arguments);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_NE(result.err.find("Usage"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

TEST_F(CliTest, HelpAndVersion) {
  ProcessResult result = Cli({"--help"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("signature"), std::string::npos);
  result = Cli({"--version"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out.rfind("varnock-cli ", 0), 0u);
}

TEST_F(CliTest, ListRanksAgainstTheChosenExecutable) {
  TempDir folder;
  PatchRecord patch = ConverterPatch();
  patch.ExeVersion = "LE_UK_Standard (1-Jan-2001  00:00)";
  ASSERT_TRUE(WritePatchFile(folder.File("a.ptc"), patch));
  patch.ExeVersion = "TP_Sta other build";
  ASSERT_TRUE(WritePatchFile(folder.File("b.ptc"), patch));
  ASSERT_TRUE(WritePatchFile(folder.File("c.ptc"), ConverterPatch()));
  folder.WriteText("d.ptc", "broken");

  ProcessResult result = Cli({"list", folder.path()});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "a.ptc\nb.ptc\nc.ptc\nd.ptc\n");
  EXPECT_EQ(
      result.err.rfind("Error trying to load binary patch from file: " + folder.File("d.ptc"), 0),
      0u)
      << result.err;

  result = Cli({"list", folder.path(), "--exe", exe_});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "c.ptc\nb.ptc\na.ptc\nd.ptc\n");

  result = Cli({"list", folder.path(), "--exe", exe_, "--json"});
  ASSERT_EQ(result.exit_code, 0);
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_EQ(json.size(), 4u);
  EXPECT_EQ(json[0]["file"], "c.ptc");
  EXPECT_EQ(json[0]["rank"], 2);
  EXPECT_EQ(json[0]["ExeVersion"], "TP_Standard (16-Oct-2000  10:37)");
  EXPECT_EQ(json[1]["rank"], 1);
  EXPECT_EQ(json[3]["file"], "d.ptc");
  EXPECT_EQ(json[3]["rank"], 0);
}

// A second converter patch over the last two bytes of Patch_Fast's zone.
PatchRecord OverlappingPatch() {
  PatchRecord patch = ConverterPatch();
  patch.Zones = {{kZoneOffset + 2, 2, {0, 0}, {1, 1}}};
  return patch;
}

// A converter patch four bytes after Patch_Fast: the two never share a byte.
PatchRecord NeighbourPatch() {
  PatchRecord patch = ConverterPatch();
  patch.Zones = {{kZoneOffset + 4, 2, {0, 0}, {7, 7}}};
  return patch;
}

TEST_F(CliTest, StatusListsEachPatchWithItsConflicts) {
  ASSERT_TRUE(WritePatchFile(dir_.File("Patch_Over.ptc"), OverlappingPatch()));
  PatchRecord engine = ConverterPatch();
  engine.ExeName = "tomb4.exe";
  ASSERT_TRUE(WritePatchFile(dir_.File("Patch_Engine.ptc"), engine));
  ASSERT_EQ(Cli({"apply", patch_, exe_}).exit_code, 0);
  const Bytes before = ReadBytes(exe_);

  ProcessResult result = Cli({"status", dir_.path(), exe_});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out,
            "other-program  Patch_Engine.ptc\n"
            "applied        Patch_Fast.ptc  conflicts with Patch_Over.ptc\n"
            "does-not-fit   Patch_Over.ptc  conflicts with Patch_Fast.ptc\n");

  result = Cli({"status", dir_.path(), exe_, "--json"});
  ASSERT_EQ(result.exit_code, 0);
  const auto json = nlohmann::json::parse(result.out);
  ASSERT_EQ(json.size(), 3u);
  EXPECT_EQ(json[1]["file"], "Patch_Fast.ptc");
  EXPECT_EQ(json[1]["rank"], 2);
  EXPECT_EQ(json[1]["status"], "applied");
  EXPECT_EQ(json[1]["conflicts"], nlohmann::json::array({"Patch_Over.ptc"}));
  EXPECT_EQ(json[0]["status"], "other-program");
  EXPECT_EQ(json[0]["conflicts"], nlohmann::json::array());
  EXPECT_FALSE(json[1].contains("argument"));
  EXPECT_EQ(ReadBytes(exe_), before);
}

TEST_F(CliTest, StatusReadsBackTheArgumentTheExecutableHolds) {
  TempDir folder;
  const std::string patch = folder.File("Patch_Arg#250#.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ArgumentPatch()));
  ASSERT_EQ(Cli({"apply", patch, exe_, "--arg", "7"}).exit_code, 0);
  const ProcessResult result = Cli({"status", folder.path(), exe_, "--json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json[0]["status"], "applied");
  EXPECT_EQ(json[0]["argument"], "7");
}

TEST_F(CliTest, CheckIsADryRunThatExitsAsTheOperationWould) {
  ProcessResult result = Cli({"check", patch_, exe_, "--json"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["status"], "not-applied");
  EXPECT_EQ(json["would"], "done");
  ASSERT_EQ(json["zones"].size(), 1u);
  EXPECT_EQ(json["zones"][0], nlohmann::json({{"index", 0},
                                              {"offset", kZoneOffset},
                                              {"length", 4},
                                              {"original", "00000000"},
                                              {"patched", "404B4C00"},
                                              {"found", "00000000"},
                                              {"verdict", "original"}}));
  EXPECT_EQ(Cli({"check", patch_, exe_, "--remove"}).exit_code, 3);
  EXPECT_EQ(ZoneBytes(), (Bytes{0, 0, 0, 0}));

  ASSERT_EQ(Cli({"apply", patch_, exe_}).exit_code, 0);
  result = Cli({"check", patch_, exe_});
  EXPECT_EQ(result.exit_code, 3);
  EXPECT_NE(result.out.find("Status: applied\nWould: already-done\n"), std::string::npos)
      << result.out;
  EXPECT_EQ(Cli({"check", patch_, exe_, "--remove"}).exit_code, 0);

  Bytes other = ReadBytes(exe_);
  other[kZoneOffset + 3] = 0x99;
  dir_.Write("tom2pc.exe", other);
  result = Cli({"check", patch_, exe_, "--json"});
  EXPECT_EQ(result.exit_code, 1);
  json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["status"], "does-not-fit");
  EXPECT_EQ(json["would"], "fail");
  EXPECT_EQ(json["zones"][0]["found"], "404B4C99");
  EXPECT_EQ(json["zones"][0]["verdict"], "other");
  EXPECT_EQ(ReadBytes(exe_), other);
}

TEST_F(CliTest, CheckTakesTheArgumentWithoutMakingACopy) {
  const std::string patch = dir_.File("Patch_Arg#250#.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ArgumentPatch()));
  ASSERT_EQ(Cli({"apply", patch, exe_, "--arg", "7"}).exit_code, 0);
  EXPECT_EQ(Cli({"check", patch, exe_, "--remove"}).exit_code, 1);
  const ProcessResult result = Cli({"check", patch, exe_, "--remove", "--arg", "7", "--json"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(nlohmann::json::parse(result.out)["zones"][0]["patched"], "40074C00");
  EXPECT_FALSE(TempCopiesLeft());
}

TEST_F(CliTest, SeveralPatchesAreAppliedAndRemovedInOneRewrite) {
  const std::string neighbour = dir_.File("Patch_Next.ptc");
  ASSERT_TRUE(WritePatchFile(neighbour, NeighbourPatch()));
  const Bytes original = ReadBytes(exe_);

  ProcessResult result = Cli({"apply", patch_, neighbour, exe_});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Ok: applying patch operation has been performed\n");
  const Bytes image = ReadBytes(exe_);
  EXPECT_EQ(Bytes(image.begin() + kZoneOffset, image.begin() + kZoneOffset + 6),
            (Bytes{0x40, 0x4B, 0x4C, 0x00, 7, 7}));
  EXPECT_EQ(Cli({"apply", patch_, neighbour, exe_}).exit_code, 3);
  EXPECT_EQ(Cli({"remove", patch_, neighbour, exe_}).exit_code, 0);
  EXPECT_EQ(ReadBytes(exe_), original);

  const std::string over = dir_.File("Patch_Over.ptc");
  ASSERT_TRUE(WritePatchFile(over, OverlappingPatch()));
  result = Cli({"apply", neighbour, patch_, over, exe_});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err,
            "ERROR: Patch_Fast.ptc and Patch_Over.ptc conflict: zone 0 of Patch_Fast.ptc and "
            "zone 0 of Patch_Over.ptc share the byte at offset 0x1002\n");
  EXPECT_EQ(result.out, "ERROR: cann't applying the patch\n");
  EXPECT_EQ(ReadBytes(exe_), original);
}

TEST_F(CliTest, SeveralPatchesTakeOneArgumentOrOneEach) {
  const std::string first = dir_.File("Patch_Arg#250#.ptc");
  ASSERT_TRUE(WritePatchFile(first, ArgumentPatch()));
  PatchRecord second = ArgumentPatch();
  second.Zones[0].Offset = kZoneOffset + 8;
  second.ArgOffsets = {kZoneOffset + 9};
  const std::string other = dir_.File("Patch_Two#1#.ptc");
  ASSERT_TRUE(WritePatchFile(other, second));

  EXPECT_EQ(
      Cli({"apply", first, other, exe_, "--arg", "9", "--arg", "Patch_Two#1#.ptc=3"}).exit_code, 0);
  const Bytes image = ReadBytes(exe_);
  EXPECT_EQ(image[kZoneOffset + 1], 9);
  EXPECT_EQ(image[kZoneOffset + 9], 3);
  EXPECT_EQ(
      Cli({"remove", first, other, exe_, "--arg", "Patch_Arg#250#.ptc=9", "--arg", "3"}).exit_code,
      0);
  EXPECT_EQ(ReadBytes(exe_), StandardConverter());
  EXPECT_NE(Cli({"apply", "--help"}).out.find("NAME=VALUE"), std::string::npos);
}

TEST_F(CliTest, ListOfAFolderWithoutPatches) {
  TempDir empty;
  const ProcessResult result = Cli({"list", empty.path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "WARNING: in folder you selected there is NO patch\n");
}

}  // namespace
}  // namespace varnock
