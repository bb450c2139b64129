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

TEST_F(CliTest, ListOfAFolderWithoutPatches) {
  TempDir empty;
  const ProcessResult result = Cli({"list", empty.path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "WARNING: in folder you selected there is NO patch\n");
}

}  // namespace
}  // namespace varnock
