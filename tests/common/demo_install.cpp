#include "tests/common/demo_install.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "tools/bundle_writer.h"

namespace varnock::testing {

namespace {

const char* const kPatches[] = {"Patch_ExtraVideoMemory20MB.ptc", "Patch_ExtraWadTextures.ptc"};

}  // namespace

DemoInstall InstallDemo(const TempDir& temp, const std::string& demoFolder,
                        const std::string& programName, bool bundled) {
  DemoInstall install;
  install.programFolder = temp.File("program");
  install.gameFolder = temp.File("game");
  install.exe =
      temp.Write(JoinPath("game", "tomb4.exe"), ReadWholeFile(JoinPath(demoFolder, "tomb4.exe")));
  install.program = JoinPath(install.programFolder, programName);
  if (bundled) {
    temp.WriteText(JoinPath("program", programName), "stand-in for the program's own code");
    std::vector<tools::BundleFile> files;
    for (const char* name : kPatches) {
      files.push_back({name, ReadWholeFile(JoinPath(demoFolder, name))});
    }
    std::string error;
    EXPECT_TRUE(tools::AppendBundle(install.program, files, error)) << error;
  } else {
    for (const char* name : kPatches) {
      temp.Write(JoinPath("program", name), ReadWholeFile(JoinPath(demoFolder, name)));
    }
  }
  return install;
}

FilesToDrop PlaceFilesToDrop(const TempDir& temp, const std::string& patch,
                             const std::string& exe) {
  FilesToDrop files;
  files.patchFolder = temp.File("other");
  files.patch = temp.Write(JoinPath("other", GetFileName(patch)), ReadWholeFile(patch));
  files.exe = temp.Write(JoinPath("elsewhere", GetFileName(exe)), ReadWholeFile(exe));
  return files;
}

AppEnvironment DemoEnvironment(const DemoInstall& install) {
  AppEnvironment environment;
  environment.ownExecutablePath = install.program;
  environment.findInstalledProgram = [](const std::string&) { return std::string(); };
  const std::string start = install.gameFolder;
  environment.currentFolder = [start] { return start; };
  return environment;
}

}  // namespace varnock::testing
