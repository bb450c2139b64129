// varnock-cli runs in this process here, on patches and executables made by the tests; as a
// process where the shell sets something up first (a limit, a redirection).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "tests/cli/in_process_cli.h"
#include "tests/cli/run_process.h"
#include "tests/common/temp_dir.h"
#include "tools/patch_file.h"

namespace varnock {
namespace {

using nlohmann::json;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::TempDir;

constexpr std::int32_t kZoneOffset = 0x1000;
const std::string kSignature = "TP_Standard (16-Oct-2000  10:37)";
const std::string kApplied = "Ok: applying patch operation has been performed\n";

ProcessResult Cli(const std::vector<std::string>& arguments, const std::string& folder = "") {
  return testing::RunCliHere(arguments, folder);
}

// The command run by the shell after `setup` (a redirection, a limit).
ProcessResult CliAfter(const std::string& setup, const std::vector<std::string>& arguments) {
  std::vector<std::string> all{"-c", setup + "; exec \"$0\" \"$@\"", VARNOCK_CLI_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return testing::RunProcess("/bin/sh", all);
}

// The program in a language: LANG alone chooses it here.
ProcessResult CliIn(const std::string& lang, const std::vector<std::string>& arguments) {
  std::vector<std::string> all{"-u", "LANGUAGE",    "-u",           "LC_ALL",
                               "-u", "LC_MESSAGES", "LANG=" + lang, VARNOCK_CLI_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return testing::RunProcess("/usr/bin/env", all);
}

// What a person reads of the pseudo-language's output once every bracketed text and every
// value the runs were given is taken out: a word left is a text that bypassed the catalogue.
std::string Untranslated(std::string text, const std::vector<std::string>& values) {
  for (std::size_t open = text.find('['); open != std::string::npos; open = text.find('[')) {
    const std::size_t close = text.find(']', open);
    text.replace(open, close == std::string::npos ? std::string::npos : close + 1 - open, " ");
  }
  for (const std::string& value : values) {
    for (std::size_t at = text.find(value); !value.empty() && at != std::string::npos;
         at = text.find(value)) {
      text.replace(at, value.size(), " ");
    }
  }
  // Options ("--arg", "-h,--help") are no words to translate.
  std::string word;
  bool option = false;
  for (const char c : text + " ") {
    if (c >= 'a' && c <= 'z') {
      word += c;
      continue;
    }
    if (!option && word.size() >= 4) {
      return word;
    }
    option = (c == '-' && (option || word.empty()));
    word.clear();
  }
  return "";
}

// The exit status and the standard output, for one comparison.
std::string Seen(const ProcessResult& result) {
  return std::to_string(result.exit_code) + " " + result.out;
}

std::string Text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A level converter of the standard build, whose signature is kSignature.
Bytes StandardConverter() {
  Bytes image(0x20000, 0);
  const std::uint32_t header = 0x80;
  const std::uint32_t stamp = 971692620;
  std::memcpy(image.data() + 0x3C, &header, 4);
  std::memcpy(image.data() + 0x88, &stamp, 4);
  std::memcpy(image.data() + 0x199C0, "PC Level Converter", 18);
  return image;
}

// A converter patch of one zone `at`; with an argument, a byte written one byte further.
PatchRecord ConverterPatch(std::int32_t at = kZoneOffset, bool argument = false) {
  PatchRecord patch;
  patch.ExeVersion = kSignature;
  patch.Description = "Makes the converter faster.\r\nSecond line.";
  patch.ExeName = "tom2pc.exe";
  patch.Zones = {{at, 4, {0, 0, 0, 0}, {0x40, 0x4B, 0x4C, 0x00}}};
  if (argument) {
    patch.Flags = HasArgument;
    patch.ArgOffsets = {at + 1};
    patch.ArgType = NumByte;
  }
  return patch;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The history of every change goes to the test's own data folder.
    ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
    exe_ = dir_.Write("tom2pc.exe", StandardConverter());
    patch_ = WritePatch("Patch_Fast.ptc", ConverterPatch());
  }
  std::string WritePatch(const std::string& name, const PatchRecord& patch) {
    EXPECT_TRUE(WritePatchFile(dir_.File(name), patch));
    return dir_.File(name);
  }
  // For the authoring commands: a converter without its marker, built on the 1st of January
  // 1970, and (modified) the same with two bytes of its zone changed.
  std::string Authored(bool modified) const {
    Bytes image(8192);
    for (std::size_t i = 0; i < image.size(); ++i) {
      image[i] = i >= 0x88 && i < 0x8C ? 0 : static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    std::copy_n("\x80\0\0\0", 4, image.begin() + 0x3C);
    image[kZoneOffset] ^= modified ? 0xFF : 0;
    image[kZoneOffset + 3] ^= modified ? 0xFF : 0;
    return dir_.Write(modified ? "modified/tom2pc.exe" : "original/tom2pc.exe", image);
  }
  std::string ArgumentPatch(std::int32_t at = kZoneOffset) {
    return WritePatch("Patch_Arg#250#.ptc", ConverterPatch(at, true));
  }
  Bytes ZoneBytes(std::size_t length = 4) const {
    const Bytes image = ReadBytes(exe_);
    return Bytes(image.begin() + kZoneOffset, image.begin() + kZoneOffset + length);
  }

  TempDir dir_;
  TempDir data_;
  std::string exe_;
  std::string patch_;
  const std::string made_ = dir_.File("made.ptc");
};

TEST_F(CliTest, SignatureAndInfo) {
  ProcessResult result = Cli({"signature", exe_});
  EXPECT_EQ(Seen(result) + result.err, "0 " + kSignature + "\n");
  // A file that is missing, or larger than the memory the program may use (sparse: no disk
  // space taken), is told in the program's own words, never as an exception's text.
  std::vector<std::pair<std::string, std::string>> unread = {{dir_.File("tomb4.exe"), ""}};
  std::string limit = "true";
#if !defined(__SANITIZE_ADDRESS__)  // address space limits do not work with the sanitizer
  limit = "ulimit -v 1000000";
  unread.emplace_back(dir_.Write("big.exe", {}), "not enough memory");
  std::filesystem::resize_file(unread.back().first, std::uintmax_t{3} << 30);
#endif
  for (const auto& [path, why] : unread) {
    result = CliAfter(limit, {"signature", path});
    EXPECT_EQ(Seen(result), "1 ERROR\n");
    EXPECT_TRUE(result.err.starts_with("ERROR trying to compute version of file: " + path +
                                       "\nError mexage: " + why))
        << result.err;
  }

  result = Cli({"info", patch_, "--json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(json::parse(result.out), json::parse(R"j({"ZoneCount": 1, "Flags": 0,
      "ArgOffsetCount": 0, "ArgOffsets": [], "ArgType": 0, "ArgMaxLength": 0,
      "ExeVersion": "TP_Standard (16-Oct-2000  10:37)",
      "Description": "Makes the converter faster.\r\nSecond line.", "ExeName": "tom2pc.exe",
      "TargetBaseName": "tom2pc", "TargetRelativePath": "/tom2pc.exe", "Zones": [{"Offset": 4096,
      "Length": 4, "OriginalBytes": "00000000", "PatchBytes": "404B4C00"}]})j"));
  result = Cli({"info", ArgumentPatch()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  for (const char* text : {"tom2pc.exe", "HasArgument", "NumByte, written at 0x00001001",
                           "404B4C00", "Makes the converter faster.\nSecond line."}) {
    EXPECT_NE(result.out.find(text), std::string::npos) << text;
  }
}

TEST_F(CliTest, ApplyAndRemoveHaveTheirExitStatuses) {
  const std::pair<std::string, std::string> steps[] = {
      {"apply", "0 " + kApplied},
      {"apply", "3 WARNING: applying patch operation was already been performed\n"},
      {"remove", "0 Ok: removing patch operation has been performed\n"},
      {"remove", "3 WARNING: removing patch operation was already been performed\n"},
  };
  for (const auto& [command, seen] : steps) {
    // Relative paths are taken from the current folder.
    EXPECT_EQ(Seen(Cli({command, "Patch_Fast.ptc", "./tom2pc.exe"}, dir_.path())), seen);
    EXPECT_EQ(ZoneBytes()[0], command == "apply" ? 0x40 : 0);
  }
  EXPECT_EQ(ReadBytes(exe_), StandardConverter());

  Bytes other = StandardConverter();
  other[kZoneOffset] = 0x99;
  dir_.Write("tom2pc.exe", other);
  EXPECT_EQ(Seen(Cli({"apply", patch_, exe_})), "1 ERROR: cann't applying the patch\n");
  // Where no value is applied, no value is proposed to remove it.
  const ProcessResult refused = Cli({"remove", ArgumentPatch(), exe_});
  EXPECT_EQ(Seen(refused) + refused.err, "1 ERROR: cann't removing the patch\n");
  EXPECT_EQ(ReadBytes(exe_), other);
}

// A text read back from the executable is told escaped, as every text from a file is: it
// could move the terminal's cursor or start a command.
TEST_F(CliTest, TheValueReadBackIsToldEscapedOnTheErrorStream) {
  PatchRecord record = ConverterPatch(kZoneOffset, true);
  record.ArgType = TextString;
  record.ArgMaxLength = 2;
  const std::string patch = WritePatch("Patch_Text#ab#.ptc", record);
  ASSERT_EQ(Cli({"apply", patch, exe_, "--arg", "\x7F!"}).exit_code, 0);
  const ProcessResult refused = Cli({"remove", patch, exe_});
  EXPECT_EQ(Seen(refused), "1 ERROR: cann't removing the patch\n");
  EXPECT_EQ(refused.err, "applied with \\x7F!: --arg \\x7F! removes it\n");
}

// Started without a standard stream, or under a file size limit smaller than the executable
// (with a second name it is written in place): the executable is never written with a message
// nor left half patched, the failure is told where a stream is left to tell it, and nothing
// is left beside the executable.
TEST_F(CliTest, ClosedStreamsAndASizeLimitNeverDamageTheExecutable) {
  const std::string link = dir_.File("link.exe");
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"exec 2>&-", {"apply", patch_, patch_, exe_}},
      {"exec 2>&-", {"apply", ArgumentPatch(0x2000), exe_, "--arg", "zzz"}},
      {"ulimit -f 0", {"apply", patch_, exe_}},  // not even a message fits
      {"ulimit -f 64", {"apply", patch_, exe_}},
      {"ulimit -f 64", {"apply", patch_, link}},
  };
  for (const auto& [setup, arguments] : cases) {
    SCOPED_TRACE(setup);
    const bool secondName = arguments.back() == link;
    if (secondName) {
      std::filesystem::create_hard_link(exe_, link);
    }
    const ProcessResult result = CliAfter(setup, arguments);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err.find("(ulimit -f): " + arguments.back()) != std::string::npos,
              setup == "ulimit -f 64")
        << result.err;
    EXPECT_EQ(ReadBytes(exe_), StandardConverter());
    const std::filesystem::directory_iterator files(dir_.path());
    EXPECT_EQ(std::distance(begin(files), end(files)), secondName ? 4 : 3);
    std::filesystem::remove(link);
    dir_.Write("tom2pc.exe", StandardConverter());
  }
}

// In a folder more than 4,096 characters deep, which the shell makes and enters one level at a
// time, the program cannot open its files; it says so, and never calls them missing.
TEST_F(CliTest, FilesInAFolderTooDeepAreNeverCalledMissing) {
  const std::string deep = "d=$(printf %0200d 0); cd '" + dir_.path() +
                           "' && for i in $(seq 22); do mkdir -p $d && cd -P $d; done && cp '" +
                           exe_ + "' '" + patch_ + "' .";
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"apply", "Patch_Fast.ptc", "tom2pc.exe"},
        {"check", "Patch_Fast.ptc", "tom2pc.exe"},
        {"list", "."}}) {
    const ProcessResult result = CliAfter(deep, arguments);
    const std::string told = result.out + result.err;
    EXPECT_EQ(result.exit_code, 1) << told;
    constexpr auto npos = std::string::npos;
    EXPECT_TRUE(told.find("too long") != npos && told.find("cann't find") == npos &&
                told.find("NO patch") == npos && told.find("No such file") == npos)
        << told;
  }
  testing::RunProcess("/bin/rm", {"-rf", dir_.File(std::string(200, '0'))});
}

// Texts of a patch, its file name and an argument read back from the executable reach the
// terminal escaped (C0, DEL, C1 in UTF-8 and as a raw byte) through every command and message.
TEST_F(CliTest, ControlCharactersFromAPatchAreShownEscaped) {
  PatchRecord patch = ConverterPatch();
  patch.ExeVersion = "TP\x1B[2J\x7F";
  patch.Description = "one\rtwo\x1B]0;title\x07\r\nthree\xC2\x81";
  const std::string hostile = WritePatch("x\x1B]0;pwned\x07\x1B[2J\xC2\x9B\x9B.ptc", patch);
  const std::string shown = "x\\x1B]0;pwned\\x07\\x1B[2J\\u009B\\x9B.ptc";
  std::filesystem::remove(patch_);
  const ProcessResult info = Cli({"info", hostile});
  EXPECT_EQ(info.exit_code, 0) << info.err;
  EXPECT_NE(info.out.find("TP\\x1B[2J\\x7F\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("one\\x0Dtwo\\x1B]0;title\\x07\nthree\\u0081"), std::string::npos)
      << info.out;
  EXPECT_EQ(Cli({"list", dir_.path()}).out, shown + "\n");
  EXPECT_NE(Cli({"status", dir_.path(), exe_}).out.find(shown), std::string::npos);

  // A text argument applied as ESC [ is read back from the executable.
  patch = ConverterPatch(kZoneOffset, true);
  patch.ArgType = TextStringZ;
  patch.ArgMaxLength = 3;
  const std::string text = WritePatch("T#a#.ptc", patch);
  Bytes image = StandardConverter();
  std::copy_n("\x40\x1B[\0", 4, image.begin() + kZoneOffset);
  dir_.Write("tom2pc.exe", image);
  const std::string missing = dir_.File("\x1B[2J\x9B.exe");
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"info", hostile},
                                             {"list", dir_.path(), "--json"},
                                             {"status", dir_.path(), exe_},
                                             {"status", dir_.path(), exe_, "--json"},
                                             {"check", text, exe_},
                                             {"check", text, exe_, "--json"},
                                             {"check", hostile, missing},
                                             {"apply", hostile, missing},
                                             {"signature", missing}}) {
    const ProcessResult result = Cli(arguments);
    const std::string all = result.out + result.err;
    EXPECT_TRUE(std::all_of(all.begin(), all.end(),
                            [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); }))
        << arguments[0] << ": " << all;
  }
  // The value read back cannot travel in a file name: no --arg with it is proposed.
  EXPECT_EQ(Seen(Cli({"remove", text, exe_})), "1 ERROR: cann't removing the patch\n");
}

TEST_F(CliTest, HelpVersionUsageErrorsAndUnwritableOutput) {
  ProcessResult result = Cli({"--help"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_NE(result.out.find("Exit status: 0 success, 1 failure"), std::string::npos);
  EXPECT_TRUE(Seen(Cli({"--version"})).starts_with("0 varnock-cli "));
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"frobnicate"},
                                                    {"apply", patch_},
                                                    {"info", patch_, "--yaml"},
                                                    {"create", exe_, exe_},
                                                    {"apply", patch_, exe_, "--arg", "7"}}) {
    result = Cli(arguments);
    EXPECT_EQ(Seen(result), "2 ");
    EXPECT_NE(result.err.find(arguments.size() == 5 ? "carries no argument" : "Usage"),
              std::string::npos)
        << result.err;
  }
  EXPECT_EQ(ReadBytes(exe_), StandardConverter());
  // A full disk or a closed pipe is a failure.
  result = CliAfter("exec >/dev/full", {"info", "--json", patch_});
  EXPECT_EQ(std::to_string(result.exit_code) + " " + result.err,
            "1 ERROR: the output cannot be written\n");
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
  EXPECT_EQ(Seen(result), "0 a.ptc\nb.ptc\nc.ptc\nd.ptc\n");
  EXPECT_TRUE(result.err.starts_with("Error trying to load binary patch from file: " +
                                     folder.File("d.ptc")))
      << result.err;
  result = Cli({"list", folder.path(), "--exe", exe_, "--json"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(json::parse(result.out), json::parse(R"j([
      {"file": "c.ptc", "rank": 2, "ExeVersion": "TP_Standard (16-Oct-2000  10:37)"},
      {"file": "b.ptc", "rank": 1, "ExeVersion": "TP_Sta other build"},
      {"file": "a.ptc", "rank": 0, "ExeVersion": "LE_UK_Standard (1-Jan-2001  00:00)"},
      {"file": "d.ptc", "rank": 0, "ExeVersion": ""}])j"));
  TempDir empty;
  EXPECT_EQ(Seen(Cli({"list", empty.path()})),
            "1 WARNING: in folder you selected there is NO patch\n");
}

TEST_F(CliTest, StatusListsEachPatchWithItsConflictsAndArgument) {
  PatchRecord over = ConverterPatch();  // over the last two bytes of Patch_Fast's zone
  over.Zones = {{kZoneOffset + 2, 2, {0, 0}, {1, 1}}};
  WritePatch("Patch_Over.ptc", over);
  PatchRecord engine = ConverterPatch();
  engine.ExeName = "tomb4.exe";
  WritePatch("Patch_Engine.ptc", engine);
  ASSERT_EQ(Cli({"apply", patch_, exe_}).exit_code, 0);
  ASSERT_EQ(Cli({"apply", ArgumentPatch(0x2000), exe_, "--arg", "7"}).exit_code, 0);
  const Bytes before = ReadBytes(exe_);

  ProcessResult result = Cli({"status", dir_.path(), exe_});
  EXPECT_EQ(Seen(result),
            "0 applied        Patch_Arg#250#.ptc  argument 7\n"
            "other-program  Patch_Engine.ptc\n"
            "applied        Patch_Fast.ptc  conflicts with Patch_Over.ptc\n"
            "does-not-fit   Patch_Over.ptc  conflicts with Patch_Fast.ptc\n")
      << result.err;
  result = Cli({"status", dir_.path(), exe_, "--json"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(json::parse(result.out), json::parse(R"j([
      {"file": "Patch_Arg#250#.ptc", "rank": 2, "status": "applied", "conflicts": [],
       "conflict_count": 0, "argument": "7"},
      {"file": "Patch_Engine.ptc", "rank": 2, "status": "other-program", "conflicts": [],
       "conflict_count": 0},
      {"file": "Patch_Fast.ptc", "rank": 2, "status": "applied", "conflicts": ["Patch_Over.ptc"],
       "conflict_count": 1},
      {"file": "Patch_Over.ptc", "rank": 2, "status": "does-not-fit",
       "conflicts": ["Patch_Fast.ptc"], "conflict_count": 1}])j"));
  EXPECT_EQ(ReadBytes(exe_), before);
}

TEST_F(CliTest, CheckIsADryRunThatExitsAsTheOperationWould) {
  ProcessResult result = Cli({"check", patch_, exe_, "--json"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(json::parse(result.out),
            json::parse(R"j({"status": "not-applied", "would": "done", "shift": 0,
      "zones": [{"index": 0, "offset": 4096, "length": 4, "original": "00000000",
      "patched": "404B4C00", "found": "00000000", "verdict": "original"}]})j"));
  // Its exit status is the operation's (tested in process over random patches).
  ASSERT_EQ(Cli({"apply", patch_, exe_}).exit_code, 0);
  Bytes other = ReadBytes(exe_);
  other[kZoneOffset + 3] = 0x99;
  dir_.Write("tom2pc.exe", other);
  EXPECT_EQ(Seen(Cli({"check", patch_, exe_})),
            "1 Status: does-not-fit\nWould: fail\nZone 0 at 0x1000, 4 bytes: other\n"
            "  original 00000000\n  patched  404B4C00\n  found    404B4C99\n");
  EXPECT_EQ(ReadBytes(exe_), other);
}

// The conflicts of a batch are the engine's, tested with it; here the arguments: a value for
// every patch, and NAME=VALUE for one.
TEST_F(CliTest, SeveralPatchesGoInOneRewriteWithOneArgumentOrOneEach) {
  const std::string second = WritePatch("Patch_Two#1#.ptc", ConverterPatch(kZoneOffset + 8, true));
  const std::vector<std::string> both = {"apply", ArgumentPatch(),     second, exe_, "--arg", "9",
                                         "--arg", "Patch_Two#1#.ptc=3"};
  EXPECT_EQ(Seen(Cli(both)), "0 " + kApplied);
  EXPECT_EQ(ZoneBytes(12), (Bytes{0x40, 9, 0x4C, 0, 0, 0, 0, 0, 0x40, 3, 0x4C, 0}));
  EXPECT_EQ(Cli(both).exit_code, 3);
  EXPECT_EQ(Cli({"remove", both[1], second, exe_, "--arg", "Patch_Arg#250#.ptc=9", "--arg", "3"})
                .exit_code,
            0);
  EXPECT_EQ(ReadBytes(exe_), StandardConverter());
  // Without --arg the name's value is applied; an empty one stops, as an empty answer does.
  const ProcessResult stopped = Cli({"apply", both[1], exe_, "--arg", ""});
  EXPECT_EQ(Seen(stopped) + stopped.err, "1 ");
  EXPECT_EQ(Cli({"apply", both[1], exe_}).exit_code, 0);
  EXPECT_EQ(ZoneBytes()[1], 250);
}

TEST_F(CliTest, APatchIsCreatedAppliedAndCarriedThroughItsSourceUnchanged) {
  const std::string description =
      dir_.WriteText("about.txt", "Faster converter\n\nFor one build\n");
  const std::string original = Authored(false);
  const std::string modified = Authored(true);
  ProcessResult result = Cli({"create", original, modified, "-o", made_, "--version-bound",
                              "--description-file", description});
  EXPECT_EQ(Seen(result) + result.err, "0 ");
  const std::string exe = dir_.Write("game/tom2pc.exe", ReadBytes(original));
  EXPECT_EQ(Seen(Cli({"apply", made_, exe})), "0 " + kApplied);
  EXPECT_EQ(ReadBytes(exe), ReadBytes(modified));

  result = Cli({"decompile", made_});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_TRUE(
      result.out.starts_with("exe: tom2pc.exe\nversion: TP_M_S:N1E000 (1-Jan-1970  00:00)"
                             "\nflags: SameExeVersionOnly\ndescription: Faster converter\n"
                             "description:\ndescription: For one build\nzone: 0x1000 "))
      << result.out;
  const std::string source = dir_.WriteText("made.txt", result.out);
  ASSERT_EQ(Cli({"compile", source, "-o", dir_.File("again.ptc")}).exit_code, 0);
  EXPECT_EQ(ReadBytes(dir_.File("again.ptc")), ReadBytes(made_));
  ASSERT_EQ(Cli({"decompile", made_, "-o", dir_.File("written.txt")}).exit_code, 0);
  EXPECT_EQ(Text(ReadBytes(dir_.File("written.txt"))), result.out);
}

// Whatever already has the output's name is kept without --force; with it, a file is replaced,
// and a folder is refused, never written into.
TEST_F(CliTest, AnExistingOutputIsReplacedOnlyWithForceAndOnlyAFile) {
  const std::string source = dir_.WriteText("source.txt", "exe: tomb4.exe\nversion: V\n");
  ASSERT_EQ(Cli({"compile", source, "-o", made_}).exit_code, 0);
  const std::string folder = dir_.File("folder.ptc");
  std::filesystem::create_directory(folder);
  const std::vector<std::string> commands[] = {
      {"create", Authored(false), Authored(true), "--dynamic", "--program", "tomb4", "-o"},
      {"compile", source, "-o"},
      {"decompile", made_, "-o"},
  };
  for (const std::vector<std::string>& command : commands) {
    const std::string file = dir_.WriteText("existing", "keep me");
    for (const std::string& output : {folder, file}) {
      std::vector<std::string> arguments = command;
      arguments.push_back(output);
      const ProcessResult result = Cli(arguments);
      EXPECT_EQ(std::to_string(result.exit_code) + " " + result.err,
                "1 ERROR: " + output + " already exists; give --force to replace it\n");
      EXPECT_EQ(Text(ReadBytes(file)), "keep me");
      arguments.push_back("--force");
      EXPECT_EQ(Cli(arguments).exit_code, output == file ? 0 : 1) << command[0] << output;
    }
    EXPECT_NE(Text(ReadBytes(file)), "keep me");
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// Bytes another program changed stop a restore (nothing written) unless --force, which leaves
// them; a file moved elsewhere is found by its content; a restore is an entry that undo takes
// back; a data folder that takes no files lets the change go on with one line on standard
// error. What restore and undo write is the history's, tested with it.
TEST_F(CliTest, RestoreRefusesOtherProgramsChangesAndFindsAMovedFile) {
  ASSERT_EQ(Cli({"apply", patch_, exe_}).exit_code, 0);
  Bytes changed = ReadBytes(exe_);
  changed[kZoneOffset + 1] ^= 0xFF;  // inside Varnock's bytes: named, and restored
  changed[0x5000] ^= 0xFF;           // outside: only known to exist, and left
  dir_.Write("tom2pc.exe", changed);
  EXPECT_EQ(
      Cli({"history", exe_}).out.find("changed by another program since") == std::string::npos,
      false);
  for (const std::string check : {"--check", "--"}) {
    const ProcessResult refused = Cli({"restore", check, exe_});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_NE(refused.err.find("another program changed bytes outside the 3 that Varnock changed"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("\n1 of the bytes Varnock changed were changed by another program "
                               "too, at 0x1001: a restore gives them their original values back"
                               "\nNothing was written"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(ReadBytes(exe_), changed);
  }
  EXPECT_EQ(Cli({"restore", exe_, "--force"}).exit_code, 0);
  Bytes expected = StandardConverter();
  expected[0x5000] ^= 0xFF;
  EXPECT_EQ(ReadBytes(exe_), expected);

  const std::string second = dir_.Write("second.exe", StandardConverter());
  ASSERT_EQ(Cli({"apply", patch_, second}).exit_code, 0);
  const std::string moved = dir_.File("moved.exe");
  std::filesystem::rename(second, moved);
  const Bytes patched = ReadBytes(moved);
  EXPECT_EQ(Seen(Cli({"restore", moved})), "0 " + moved + " restored to the original\n");
  EXPECT_EQ(ReadBytes(moved), StandardConverter());
  EXPECT_EQ(Seen(Cli({"restore", moved})), "0 " + moved + " is the original already\n");
  const json history = json::parse(Cli({"history", moved, "--json"}).out);
  EXPECT_EQ(history["operations"].back()["operation"], "restore");
  EXPECT_TRUE(history["operations"].back()["used"]);
  EXPECT_TRUE(history["matches"]);
  EXPECT_EQ(Cli({"undo", moved}).exit_code, 0);
  EXPECT_EQ(ReadBytes(moved), patched);
  ASSERT_EQ(Cli({"restore", moved}).exit_code, 0);

  ::setenv("XDG_DATA_HOME", dir_.Write("no-folder", {}).c_str(), 1);
  for (const std::string option : {"--", "--no-history"}) {
    const ProcessResult done = Cli({"apply", option, patch_, moved});
    EXPECT_EQ(Seen(done), "0 " + kApplied);
    const bool kept = option == "--";
    EXPECT_EQ(std::count(done.err.begin(), done.err.end(), '\n'), kept ? 1 : 0) << done.err;
    EXPECT_EQ(done.err.starts_with("WARNING: no history is kept for this change: "), kept);
    ASSERT_EQ(Cli({"remove", patch_, moved, "--no-history"}).exit_code, 0);
  }
}

// The texts follow LANG; what scripts read (exit statuses, status words, JSON) does not, and
// English, however it is asked for, is the texts exactly as they stand.
TEST_F(CliTest, TextsFollowTheLanguageAndWhatScriptsReadDoesNot) {
  const std::string missing = dir_.File("missing.exe");
  const std::vector<std::vector<std::string>> runs = {
      {"--help"},
      {"apply", "--help"},
      {"set", "--help"},
      {"signature", missing},
      {"apply", patch_, exe_},
      {"apply", patch_, exe_},
      {"status", dir_.path(), exe_},
      {"status", "--json", dir_.path(), exe_},
      {"check", patch_, exe_},
      {"remove", patch_, exe_},
      {"apply", "--arg", "7", patch_, exe_},
  };
  std::map<std::string, std::vector<ProcessResult>> seen;
  for (const std::string lang : {"C", "en_US.UTF-8", "de_DE.UTF-8", "es_ES.UTF-8", "qps"}) {
    dir_.Write("tom2pc.exe", StandardConverter());
    for (const auto& run : runs) {
      seen[lang].push_back(CliIn(lang, run));
    }
  }
  // The command names stay English, as do the options.
  const std::vector<std::string> values = {
      dir_.path(), "varnock-cli", "Patch_Fast.ptc", "tom2pc.exe", kSignature,
      "signature", "info",        "list",           "apply",      "remove",
      "create",    "decompile",   "compile",        "status",     "check",
      "history",   "restore",     "undo",           "save",       "verify",
      "show"};
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const ProcessResult& english = seen["C"][i];
    const std::string run = ::testing::PrintToString(runs[i]);
    EXPECT_EQ(Seen(seen["en_US.UTF-8"][i]) + english.err, Seen(english) + english.err) << run;
    for (const std::string lang : {"de_DE.UTF-8", "es_ES.UTF-8", "qps"}) {
      const ProcessResult& other = seen[lang][i];
      EXPECT_EQ(other.exit_code, english.exit_code) << lang << run;
      if (runs[i][0] == "status") {
        EXPECT_EQ(other.out, english.out) << lang << run;
      } else {
        EXPECT_TRUE(other.out + other.err != english.out + english.err) << lang << run << "\n"
                                                                        << other.out << other.err;
      }
    }
    if (runs[i][0] != "status") {
      EXPECT_EQ(Untranslated(seen["qps"][i].out + seen["qps"][i].err, values), "")
          << run << "\n"
          << seen["qps"][i].out << seen["qps"][i].err;
    }
  }
}

}  // namespace
}  // namespace varnock
