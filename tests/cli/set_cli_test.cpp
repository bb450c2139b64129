// varnock-cli set save|apply|verify|show, run in this process on patches and executables made
// here.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/in_process_cli.h"
#include "tests/common/temp_dir.h"
#include "tools/patch_file.h"

// Its own namespace: the command-line tests compile as one file, and its helpers keep their
// short names beside those of cli_test.cpp.
namespace varnock::set_cli {
namespace {

using nlohmann::json;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::TempDir;

ProcessResult Cli(const std::vector<std::string>& arguments) {
  return testing::RunCliHere(arguments);
}

std::string Text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A converter of bytes that never repeat a run of four.
Bytes Converter() {
  Bytes image(0x4000);
  std::uint32_t seed = 7;
  for (auto& byte : image) {
    seed = seed * 1103515245U + 12345U;
    byte = static_cast<std::uint8_t>(seed >> 16);
  }
  std::copy_n("\x80\0\0\0", 4, image.begin() + 0x3C);
  return image;
}

class SetCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
    const Bytes image = Converter();
    std::filesystem::create_directories(dir_.File("patches"));
    saved_ = dir_.Write("saved/tom2pc.exe", image);
    copy_ = dir_.Write("copy/tom2pc.exe", image);
    a_ = Patch("A.ptc", 0x1000, image, false);
    b_ = Patch("B#250#.ptc", 0x1100, image, true);
    c_ = Patch("C.ptc", 0x1200, image, false);
    set_ = dir_.File("patches/level.ptcset");
  }
  std::string Patch(const std::string& name, std::int32_t at, const Bytes& image, bool argument) {
    PatchRecord patch;
    patch.ExeName = "tom2pc.exe";
    Bytes original(image.begin() + at, image.begin() + at + 4);
    Bytes second(image.begin() + at + 64, image.begin() + at + 68);
    patch.Zones = {{at, 4, original, {1, 2, 3, 4}}, {at + 64, 4, second, {5, 6, 7, 8}}};
    if (argument) {
      patch.Flags = HasArgument;
      patch.ArgType = NumByte;
      patch.ArgOffsets = {at + 1};
    }
    const std::string path = dir_.File("patches/" + name);
    EXPECT_TRUE(WritePatchFile(path, patch));
    return path;
  }
  // The copy with A and B (value 7) applied, saved as the set; the other copy holds C.
  void SaveTheSet() {
    ASSERT_EQ(Cli({"apply", a_, b_, saved_, "--arg", "B#250#.ptc=7"}).exit_code, 0);
    ASSERT_EQ(Cli({"apply", c_, copy_}).exit_code, 0);
    const ProcessResult saved = Cli({"set", "save", dir_.File("patches"), saved_, "-o", set_});
    ASSERT_EQ(saved.exit_code, 0) << saved.err;
  }

  TempDir dir_;
  TempDir data_;
  std::string saved_, copy_, a_, b_, c_, set_;
};

// Saved, shown, verified, applied to another copy, verified again: the same executable, one
// entry of its history, and the same set saved from it.
TEST_F(SetCliTest, SaveApplyVerifyShow) {
  SaveTheSet();
  const std::string text = Text(ReadBytes(set_));
  EXPECT_TRUE(text.starts_with("varnock patch set 1\n")) << text;
  EXPECT_NE(text.find(" A.ptc\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" B#250#.ptc | 7\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("C.ptc"), std::string::npos) << text;

  ProcessResult result = Cli({"set", "show", set_, "--json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const json shown = json::parse(result.out);
  EXPECT_EQ(shown["program"], "tom2pc.exe");
  ASSERT_EQ(shown["patches"].size(), 2U);
  EXPECT_EQ(shown["patches"][0]["name"], "A.ptc");
  EXPECT_TRUE(shown["patches"][0]["argument"].is_null());
  EXPECT_EQ(shown["patches"][1]["argument"], "7");

  result = Cli({"set", "verify", set_, copy_});
  EXPECT_EQ(result.exit_code, 1) << result.err;
  EXPECT_EQ(result.out,
            "missing        A.ptc  not applied\n"
            "missing        B#250#.ptc  not applied\n"
            "not-in-set     C.ptc  applied, not in the set\n" +
                copy_ +
                " does not hold the set; it is not byte for byte the executable the set was "
                "saved from\n");

  result = Cli({"set", "apply", set_, copy_});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(ReadBytes(copy_), ReadBytes(saved_));
  result = Cli({"set", "verify", set_, copy_, "--exact", "--json"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(json::parse(result.out),
            json::parse(R"({"holds": true, "identical": true, "differences": []})"));
  EXPECT_EQ(Cli({"set", "apply", set_, copy_}).exit_code, 3);
  result = Cli({"history", copy_, "--json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  // One entry takes C off and puts A and B on.
  const json last = json::parse(result.out)["operations"].back();
  EXPECT_EQ(last["operation"], "batch") << result.out;
  EXPECT_EQ(last["patches"].size(), 3U) << result.out;

  const std::string again = dir_.File("patches/again.ptcset");
  ASSERT_EQ(Cli({"set", "save", dir_.File("patches"), copy_, "-o", again}).exit_code, 0);
  EXPECT_EQ(Cli({"set", "show", again}).out, Cli({"set", "show", set_}).out);
  // An existing set is replaced only with --force.
  EXPECT_EQ(Cli({"set", "save", dir_.File("patches"), copy_, "-o", again}).exit_code, 1);
  EXPECT_EQ(Cli({"set", "save", dir_.File("patches"), copy_, "-o", again, "--force"}).exit_code, 0);
}

// Each way a set cannot be applied: refused, named, the copy byte for byte as it was; verify
// cannot tell (2) where the set or its patches are at fault.
TEST_F(SetCliTest, RefusalsWriteNothing) {
  SaveTheSet();
  const std::string text = Text(ReadBytes(set_));
  const std::string sumOfA = text.substr(text.find("\npatch: ") + 8, 64);
  const std::string otherSum(64, sumOfA[0] == '0' ? '1' : '0');
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
  };
  const Bytes half = ReadBytes(copy_);
  const struct {
    std::string set;
    int verify;
    std::string message;  // in apply's standard error
  } cases[] = {
      {replaced(sumOfA, otherSum), 2,
       "A.ptc has the SHA-256 " + sumOfA + ", the set names " + otherSum},
      {replaced(" A.ptc", " Z.ptc"), 2, "Z.ptc is missing from " + dir_.File("patches")},
      {replaced("| 7", "| 300"), 2, "B#250#.ptc cannot take the argument \"300\""},
      {replaced("program: tom2pc.exe", "program: tomb4.exe"), 1, "the set is for tomb4.exe"},
      {replaced("varnock patch set 1", "varnock patch set 9"), 2,
       "line 1: a patch set of version 9; this Varnock reads version 1"},
  };
  for (const auto& c : cases) {
    dir_.WriteText("patches/bad.ptcset", c.set);
    const std::string bad = dir_.File("patches/bad.ptcset");
    const ProcessResult result = Cli({"set", "apply", bad, copy_});
    EXPECT_EQ(result.exit_code, 1) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(copy_), half);
    EXPECT_EQ(Cli({"set", "verify", bad, copy_}).exit_code, c.verify) << c.message;
  }
  EXPECT_EQ(Cli({"set", "show", dir_.File("patches/bad.ptcset")}).exit_code, 1);
  EXPECT_EQ(Cli({"set", "verify", set_, dir_.File("none.exe")}).exit_code, 2);
  EXPECT_EQ(Cli({"set", "verify", set_}).exit_code, 2);

  // A patch partly applied: nothing applied.
  Bytes partly = half;
  std::copy_n("\1\2\3\4", 4, partly.begin() + 0x1000);
  dir_.Write("copy/tom2pc.exe", partly);
  const ProcessResult result = Cli({"set", "apply", set_, copy_});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("A.ptc is partly applied"), std::string::npos) << result.err;
  EXPECT_EQ(ReadBytes(copy_), partly);
}

}  // namespace
}  // namespace varnock::set_cli
