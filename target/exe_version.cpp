#include "target/exe_version.h"

#include <new>

#include "support/files.h"
#include "support/paths.h"
#include "support/shared_read.h"
#include "support/translation.h"
#include "target/build_date.h"
#include "target/content_search.h"
#include "target/engine_probes.h"
#include "target/probe_engine.h"
#include "target/tool_probes.h"

namespace varnock {

namespace {

// The pieces of the signature chosen by the file name: engine, tool program, or unknown.
bool ProbeContent(const std::string& fileName, std::string_view content, SignatureParts& parts,
                  std::string& error) {
  if (EqualsIgnoreCase(fileName, kEngineFileName)) {
    if (!ProbeEngine(content, parts, error)) {
      return false;
    }
    ProbeSize(content, probes::kEngineSize, parts);
  } else if (const auto tool = FindToolMarker(fileName)) {
    ProbeTool(content, *tool, parts);
    ProbeSize(content, tool->size, parts);
  } else {
    parts.kindCode = "??";
    parts.nonStandard = true;
  }
  return true;
}

// The signature of `content`, the whole file of that name; its build date read from `content`,
// or from the file at `datedFrom` when given (a missing file, probed as empty).
bool SignatureOf(const std::string& fileName, const Bytes& content, const std::string* datedFrom,
                 std::string& signature, std::string& error) {
  SignatureParts parts;
  BuildDate date;
  if (!ProbeContent(fileName, AsText(content), parts, error) ||
      !(datedFrom != nullptr ? GetExeBuildDate(*datedFrom, date, error)
                             : BuildDateFromImage(content, date, error))) {
    return false;
  }
  signature = ComposeSignature(parts, FormatVersionDate(date));
  return true;
}

bool ComputeExeVersion(const std::string& path, const std::string& fileName, std::string& signature,
                       std::string& error) {
  // The executable is read once, never while a writer holds it; the probes and the build date both
  // work on that copy. A missing file is probed as empty, and the build date read from the file
  // decides; anything else that cannot be read whole (a folder, a pipe, a device, a file larger
  // than memory) ends here, as the probes of a part of it would name the wrong build.
  Bytes content;
  std::string readError;
  const bool read = ReadFileShared(path, content, readError);
  if (!read && EntryExists(path)) {
    error = readError;
    return false;
  }
  return SignatureOf(fileName, content, read ? nullptr : &path, signature, error);
}

// The signature computed by `compute`, or kFailedExeVersion after the message that names `path`.
template <typename Compute>
std::string Reported(const std::string& path, UserInterface& ui, const Compute& compute) {
  std::string signature;
  std::string error;
  bool computed = false;
  try {
    computed = compute(signature, error);
  } catch (const std::bad_alloc&) {
    error = Tr("not enough memory");
  }
  if (!computed) {
    ui.ShowMessage(
        // TRANSLATORS: %1 is the executable's path, %2 the reason.
        TrFormatCrLf("ERROR trying to compute version of file: %1\nError mexage: %2",
                     {path, error}),
        MessageIcon::Critical);
    return std::string(kFailedExeVersion);
  }
  return signature;
}

}  // namespace

std::string GetExeVersion(const std::string& path, UserInterface& ui) {
  return GetExeVersionAs(path, GetFileName(path), ui);
}

std::string GetExeVersionAs(const std::string& path, const std::string& fileName,
                            UserInterface& ui) {
  return Reported(path, ui, [&](std::string& signature, std::string& error) {
    return ComputeExeVersion(path, fileName, signature, error);
  });
}

std::string GetExeVersionOfImage(const std::string& path, const Bytes& content, UserInterface& ui) {
  return Reported(path, ui, [&](std::string& signature, std::string& error) {
    return SignatureOf(GetFileName(path), content, nullptr, signature, error);
  });
}

}  // namespace varnock
