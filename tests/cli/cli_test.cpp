// varnock-cli runs as a process here, on patches and executables made by the tests.

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// The command run by the shell, which first runs `setup` (a redirection, a limit): "$0" is
// the command, "$@" its arguments.
ProcessResult CliAfter(const std::string& setup, const std::vector<std::string>& arguments) {
  std::vector<std::string> all{"-c", setup + "; exec \"$0\" \"$@\"", VARNOCK_CLI_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return RunProcess("/bin/sh", all);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceLimits = false;  // the sanitizer reserves terabytes up front
#else
constexpr bool kAddressSpaceLimits = true;
#endif

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

// Runs with the same argument at the same time each load a copy of their own: none fails
// because another deleted or replaced the copy it was about to load.
TEST_F(CliTest, ConcurrentRunsWithTheSameArgumentDoNotCollide) {
  const std::string patch = dir_.File("Patch_Arg#250#.ptc");
  ASSERT_TRUE(WritePatchFile(patch, ArgumentPatch()));
  std::vector<std::string> arguments{patch};
  for (int i = 0; i < 8; ++i) {
    arguments.push_back(
        dir_.Write("game" + std::to_string(i) + "/tom2pc.exe", StandardConverter()));
  }
  for (const char* command : {"apply", "remove", "apply", "remove", "apply", "remove", "apply",
                              "remove", "apply", "remove"}) {
    const ProcessResult result =
        CliAfter("p=$1; shift; for e in \"$@\"; do (\"$0\" " + std::string(command) +
                     " \"$p\" \"$e\" --arg 7 >/dev/null 2>&1; echo $?) & done; wait; exit 0; :",
                 arguments);
    EXPECT_EQ(result.out, "0\n0\n0\n0\n0\n0\n0\n0\n") << command;
  }
  EXPECT_FALSE(TempCopiesLeft());
}

TEST_F(CliTest, RelativePathsAreTakenFromTheCurrentFolder) {
  const ProcessResult result = Cli({"apply", "Patch_Fast.ptc", "./tom2pc.exe"}, dir_.path());
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(ZoneBytes(), (Bytes{0x40, 0x4B, 0x4C, 0x00}));
}

TEST_F(CliTest, DotDotAfterALinkNamesWhatTheSystemOpens) {
  // L leads to real/sub, so L/.. is real: the patch and the executable there are the ones
  // used, never those beside L.
  std::filesystem::create_directories(dir_.File("real/sub"));
  std::filesystem::create_directory_symlink(dir_.File("real/sub"), dir_.File("L"));
  const std::string realExe = dir_.Write("real/tom2pc.exe", StandardConverter());
  ASSERT_TRUE(WritePatchFile(dir_.File("real/Patch_Fast.ptc"), ConverterPatch()));
  std::filesystem::remove(patch_);
  const Bytes beside = ReadBytes(exe_);

  ProcessResult result = Cli({"apply", "L/../Patch_Fast.ptc", "L/../tom2pc.exe"}, dir_.path());
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(ReadBytes(realExe), StandardConverter());
  EXPECT_EQ(ReadBytes(exe_), beside);
  result = Cli({"list", "L/.."}, dir_.path());
  EXPECT_EQ(result.out, "Patch_Fast.ptc\n");
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here";
  }
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"info", "--json", patch_},
        {"info", patch_},
        {"signature", exe_},
        {"list", dir_.path()},
        {"--help"}}) {
    const ProcessResult result = CliAfter("exec >/dev/full", arguments);
    EXPECT_EQ(result.exit_code, 1) << arguments[0];
    EXPECT_EQ(result.err, "ERROR: the output cannot be written\n") << arguments[0];
  }
}

TEST_F(CliTest, ControlCharactersFromAPatchAreShownEscaped) {
  PatchRecord patch = ConverterPatch();
  patch.ExeVersion = "TP\x1B[2J\x7F";
  patch.Description = "one\rtwo\x1B]0;title\x07\r\nthree\xC2\x81";
  ASSERT_TRUE(WritePatchFile(patch_, patch));
  dir_.Write("e\x1B[31m.ptc", ReadBytes(patch_));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"info", patch_}, {"list", dir_.path()}}) {
    const ProcessResult result = Cli(arguments);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    for (const char control : {'\x1B', '\r', '\x07', '\x7F'}) {
      EXPECT_EQ(result.out.find(control), std::string::npos) << result.out;
    }
    EXPECT_EQ(result.out.find("\xC2\x81"), std::string::npos) << result.out;
  }
  const ProcessResult info = Cli({"info", patch_});
  EXPECT_NE(info.out.find("TP\\x1B[2J\\x7F\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("one\\x0Dtwo\\x1B]0;title\\x07\nthree\\u0081"), std::string::npos)
      << info.out;
  EXPECT_EQ(Cli({"list", dir_.path()}).out, "e\\x1B[31m.ptc\nPatch_Fast.ptc\n");
}

TEST_F(CliTest, AnArgumentForAPatchThatTakesNoneIsAUsageError) {
  const ProcessResult result = Cli({"apply", patch_, exe_, "--arg", "7"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("carries no argument"), std::string::npos) << result.err;
  EXPECT_EQ(ReadBytes(exe_), StandardConverter());
}

// A folder, a pipe or a device in place of the executable is named for what it is, and a
// pipe is never opened (which would wait for a writer forever).
TEST_F(CliTest, WhatIsGivenInPlaceOfAnExecutableIsNamed) {
  std::filesystem::create_directory(dir_.File("folder.exe"));
  ASSERT_EQ(::mkfifo(dir_.File("tom2pc.fifo").c_str(), 0600), 0);
  const std::pair<std::string, std::string> kCases[] = {
      {dir_.File("folder.exe"), "a folder"},
      {dir_.File("tom2pc.fifo"), "a pipe (FIFO)"},
      {"/dev/null", "a device"},
  };
  for (const auto& [path, what] : kCases) {
    const std::string said = "the path names " + what + ", not a file";
    ProcessResult result = Cli({"signature", path});
    EXPECT_EQ(result.out, "ERROR\n");
    EXPECT_NE(result.err.find("Error mexage: " + said), std::string::npos) << result.err;
    result = Cli({"apply", patch_, path});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
  }
}

// An executable larger than the memory the program may use: the program's own messages, the
// signature "ERROR" so that a listing still ranks, never the text of an exception.
TEST_F(CliTest, AnExecutableLargerThanMemoryGetsTheProgramsOwnMessages) {
  if (!kAddressSpaceLimits) {
    GTEST_SKIP() << "address space limits do not work with the sanitizer";
  }
  const std::string big = dir_.File("tom2pc.exe");
  std::filesystem::resize_file(big, std::uintmax_t{3} << 30);  // sparse: no disk space taken
  const std::string limit = "ulimit -v 1000000";
  ProcessResult result = CliAfter(limit, {"signature", big});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "ERROR\n");
  EXPECT_EQ(result.err.rfind("ERROR trying to compute version of file: " + big +
                                 "\nError mexage: not enough memory",
                             0),
            0U)
      << result.err;
  result = CliAfter(limit, {"list", dir_.path(), "--exe", big});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Patch_Fast.ptc\n");
  result = CliAfter(limit, {"apply", patch_, big});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(
      result.err.rfind("ERROR trying to apply binary patch. Error mexage: not enough memory", 0),
      0U)
      << result.err;
  EXPECT_EQ(result.out, "ERROR: cann't applying the patch\n");
}

// A patch of a million one-byte zones, loaded by every listing: within about twice its size.
TEST_F(CliTest, APatchOfManySmallZonesLoadsWithinTwiceItsSize) {
  if (!kAddressSpaceLimits) {
    GTEST_SKIP() << "address space limits do not work with the sanitizer";
  }
  TempDir folder;
  PatchRecord patch = ConverterPatch();
  std::vector<PatchZone> zones(1'000'000, PatchZone{kZoneOffset, 1, {0}, {1}});
  patch.Zones = zones;
  patch.ZoneCount = static_cast<std::int32_t>(zones.size());
  zones.clear();
  ASSERT_TRUE(WritePatchFile(folder.File("many.ptc"), patch));
  const ProcessResult unlimited = CliAfter(":", {"list", folder.path()});
  ASSERT_EQ(unlimited.exit_code, 0) << unlimited.err;
  // The program's own space, then twice the 10 MB file.
  const ProcessResult baseline = CliAfter("ulimit -v 40000", {"list", dir_.path()});
  ASSERT_EQ(baseline.exit_code, 0) << "the program needs more room than 40 MB here";
  const ProcessResult result = CliAfter("ulimit -v 60000", {"list", folder.path()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "many.ptc\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, HelpTellsTheExitStatusesTheCopyAndTheSeparator) {
  const ProcessResult result = Cli({"--help"});
  for (const char* text : {"Exit status: 0 success, 1 failure", "3 when apply or remove", "temp_",
                           "must be writable", "--arg \"\" stops", "after -- is"}) {
    EXPECT_NE(result.out.find(text), std::string::npos) << text;
  }
  const std::string dashed = dir_.Write("-x.exe", StandardConverter());
  EXPECT_EQ(Cli({"signature", "--", "-x.exe"}, dir_.path()).exit_code, 0);
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
  second.Zones.SetOffset(0, kZoneOffset + 8);
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
