// Build-time helper: writes the patch files from their readable sources, the demonstration
// engine, and appends the patch bundle to a program's executable.
//
//   varnock-build patch SOURCE OUTPUT.ptc
//   varnock-build demo-engine OUTPUT.exe SOURCE...
//   varnock-build bundle EXECUTABLE FILE...
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "patchfile/patch_source.h"
#include "support/files.h"
#include "tools/bundle_writer.h"
#include "tools/demo_engine.h"

namespace {

using namespace varnock;

int Fail(const std::string& message) {
  std::cerr << "varnock-build: " << message << "\n";
  return 1;
}

bool WriteFile(const std::string& path, const Bytes& content) {
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  out.close();
  return !out.fail();
}

int MakePatch(const std::string& source, const std::string& output) {
  PatchSource patch;
  std::string error;
  if (!ReadPatchSourceFile(source, patch, error)) {
    return Fail(error);
  }
  return WriteFile(output, CompiledPatch(patch)) ? 0 : Fail("cannot write " + output);
}

int MakeDemo(const std::string& output, const std::vector<std::string>& sources) {
  std::vector<PatchRecord> patches;
  std::string error;
  for (const std::string& source : sources) {
    PatchSource patch;
    if (!ReadPatchSourceFile(source, patch, error)) {
      return Fail(error);
    }
    patches.push_back(std::move(patch.record));
  }
  Bytes engine;
  if (!tools::MakeDemoEngine(patches, engine, error)) {
    return Fail(error);
  }
  return WriteFile(output, engine) ? 0 : Fail("cannot write " + output);
}

// The file name of a path written with either separator: build systems pass "/" on Windows too.
std::string BundledName(const std::string& path) {
  const std::size_t last = path.find_last_of("/\\:");
  return last == std::string::npos ? path : path.substr(last + 1);
}

int Bundle(const std::string& executable, const std::vector<std::string>& files) {
  std::vector<tools::BundleFile> bundled;
  std::string error;
  for (const std::string& file : files) {
    bundled.push_back({BundledName(file), {}});
    if (!ReadWholeFile(file, bundled.back().data, error)) {
      std::string text = "cannot read ";
      text += file;
      text += ": ";
      text += error;
      return Fail(text);
    }
  }
  return tools::AppendBundle(executable, bundled, error) ? 0 : Fail(error);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "patch") {
    return MakePatch(args[1], args[2]);
  }
  if (args.size() >= 2 && args[0] == "demo-engine") {
    return MakeDemo(args[1], {args.begin() + 2, args.end()});
  }
  if (args.size() >= 2 && args[0] == "bundle") {
    return Bundle(args[1], {args.begin() + 2, args.end()});
  }
  return Fail(
      "usage: varnock-build patch SOURCE OUTPUT.ptc | demo-engine OUTPUT.exe SOURCE... | "
      "bundle EXECUTABLE FILE...");
}
