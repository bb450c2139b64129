// varnock-cli create, decompile and compile run as processes, on executables made here.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/cli/run_process.h"
#include "tests/common/temp_dir.h"

namespace varnock {
namespace {

using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunProcess;
using testing::TempDir;

ProcessResult Cli(const std::vector<std::string>& arguments) {
  return RunProcess(VARNOCK_CLI_PATH, arguments);
}

std::string Text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class AuthoringCommands : public ::testing::Test {
 protected:
  // The converter's header at 0x80 with the time stamp 0: built on the 1st of January 1970.
  void SetUp() override {
    Bytes original(8192);
    for (std::size_t i = 0; i < original.size(); ++i) {
      original[i] = i >= 0x88 && i < 0x8C ? 0 : static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    std::copy_n("\x80\0\0\0", 4, original.begin() + 0x3C);
    original_ = dir_.Write("original/tom2pc.exe", original);
    original[0x1000] ^= 0xFF, original[0x1003] ^= 0xFF;
    modified_ = dir_.Write("modified/tom2pc.exe", original);
  }

  TempDir dir_;
  std::string original_;
  std::string modified_;
  const std::string patch_ = dir_.File("made.ptc");
};

TEST_F(AuthoringCommands, APatchIsMadeAppliedAndCarriedThroughItsSourceUnchanged) {
  const std::string description =
      dir_.WriteText("about.txt", "Faster converter\n\nFor one build\n");
  ProcessResult result = Cli({"create", original_, modified_, "-o", patch_, "--version-bound",
                              "--description-file", description});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out + result.err, "");

  const std::string exe = dir_.Write("game/tom2pc.exe", ReadBytes(original_));
  result = Cli({"apply", patch_, exe});
  EXPECT_EQ(result.exit_code, 0) << result.out << result.err;
  EXPECT_EQ(ReadBytes(exe), ReadBytes(modified_));

  result = Cli({"decompile", patch_});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find("exe: tom2pc.exe\nversion: TP_M_S:N1E000 (1-Jan-1970  00:00)\n"
                            "flags: SameExeVersionOnly\ndescription: Faster converter\n"
                            "description:\ndescription: For one build\n"
                            "zone: 0x1000 "),
            std::string::npos)
      << result.out;
  const std::string source = dir_.WriteText("made.txt", result.out);
  const std::string compiled = dir_.File("again.ptc");
  ASSERT_EQ(Cli({"compile", source, "-o", compiled}).exit_code, 0);
  EXPECT_EQ(ReadBytes(compiled), ReadBytes(patch_));

  const std::string written = dir_.File("written.txt");
  ASSERT_EQ(Cli({"decompile", patch_, "-o", written}).exit_code, 0);
  EXPECT_EQ(Text(ReadBytes(written)), result.out);
}

// Whatever already has the output's name is kept without --force; with it, a file is replaced,
// and a folder or a pipe with a reader is refused, never written into.
TEST_F(AuthoringCommands, AnExistingOutputIsReplacedOnlyWithForceAndOnlyAFile) {
  const std::string source = dir_.WriteText("source.txt", "exe: tomb4.exe\nversion: V\n");
  ASSERT_EQ(Cli({"compile", source, "-o", patch_}).exit_code, 0);
  const std::string folder = dir_.File("folder.ptc");
  const std::string pipe = dir_.File("pipe.ptc");
  std::filesystem::create_directory(folder);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  const std::vector<std::string> commands[] = {
      {"create", original_, modified_, "--dynamic", "--program", "tomb4", "-o"},
      {"compile", source, "-o"},
      {"decompile", patch_, "-o"},
  };
  for (const std::vector<std::string>& command : commands) {
    const std::string file = dir_.WriteText("existing", "keep me");
    for (const std::string& output : {folder, pipe, file}) {
      std::vector<std::string> arguments = command;
      arguments.push_back(output);
      const ProcessResult result = Cli(arguments);
      EXPECT_EQ(result.exit_code, 1) << command[0];
      EXPECT_EQ(result.err, "ERROR: " + output + " already exists; give --force to replace it\n");
      EXPECT_EQ(Text(ReadBytes(file)), "keep me");
      arguments.push_back("--force");
      EXPECT_EQ(Cli(arguments).exit_code, output == file ? 0 : 1) << command[0] << output;
    }
    EXPECT_NE(Text(ReadBytes(file)), "keep me");
  }
  char byte = 0;
  EXPECT_LE(::read(reader, &byte, 1), 0) << "the pipe was written";
  ::close(reader);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(AuthoringCommands, FailuresAndMisuseHaveTheirExitStatus) {
  const std::string bad = dir_.WriteText("bad.txt", "exe: tomb4.exe\nflags: Fast\n");
  const std::string longer = dir_.Write("longer/tom2pc.exe", Bytes(8200, 1));
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;
  } cases[] = {
      {{"compile", bad, "-o", patch_}, 1, "ERROR: " + bad + ": line 2: expected none, or flag"},
      {{"create", original_, longer, "-o", patch_},
       1,
       "ERROR: the modified executable is 8 bytes longer"},
      {{"create", original_, dir_.File("none.exe"), "-o", patch_},
       1,
       "ERROR: cannot read the executable " + dir_.File("none.exe")},
      {{"decompile", dir_.File("none.ptc")}, 1, "ERROR: cann't find patch file: "},
      {{"compile", dir_.File("none.txt"), "-o", patch_},
       1,
       "ERROR: cannot read " + dir_.File("none.txt") + ": "},
      {{"create", original_, modified_}, 2, ""},
      {{"create", original_, modified_, "-o", patch_, "--description", "a", "--description-file",
        bad},
       2,
       ""},
  };
  for (const auto& c : cases) {
    const ProcessResult result = Cli(c.arguments);
    EXPECT_EQ(result.exit_code, c.exitCode) << c.arguments[0] << result.err;
    EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    EXPECT_FALSE(std::filesystem::exists(patch_)) << c.arguments[0];
  }
}

}  // namespace
}  // namespace varnock
