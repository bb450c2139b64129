#include "tests/common/demo_install.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "tools/bundle_writer.h"

namespace varnock::testing {

DemoInstall InstallDemo(const TempDir& temp, const std::string& demoFolder,
                        const std::string& programName, bool bundled) {
  const Bytes engine = ReadWholeFile(JoinPath(demoFolder, "tomb4.exe"));
  const DemoInstall install{temp.File("program"), temp.File("game"),
                            temp.Write(JoinPath("game", "tomb4.exe"), engine),
                            JoinPath(temp.File("program"), programName)};
  std::vector<tools::BundleFile> files;
  for (const char* name : {"Patch_ExtraVideoMemory20MB.ptc", "Patch_ExtraWadTextures.ptc"}) {
    files.push_back({name, ReadWholeFile(JoinPath(demoFolder, name))});
    if (!bundled) {
      temp.Write(JoinPath("program", name), files.back().data);
    }
  }
  if (bundled) {
    temp.WriteText(JoinPath("program", programName), "stand-in for the program's own code");
    std::string error;
    EXPECT_TRUE(tools::AppendBundle(install.program, files, error)) << error;
  }
  return install;
}

AppEnvironment DemoEnvironment(const DemoInstall& install) {
  AppEnvironment environment;
  environment.ownExecutablePath = install.program;
  environment.findInstalledProgram = [](const std::string&) { return std::string(); };
  environment.currentFolder = [start = install.gameFolder] { return start; };
  return environment;
}

}  // namespace varnock::testing
