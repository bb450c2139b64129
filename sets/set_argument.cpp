#include "sets/set_argument.h"

#include "engine/argument_bytes.h"
#include "engine/patch_argument.h"
#include "engine/silent_ui.h"
#include "support/translation.h"

namespace varnock {

namespace {

// The bytes the value writes; none when the type cannot encode it.
std::optional<Bytes> Encoded(const std::string& patchPath, const PatchRecord& record,
                             const std::string& value) {
  SilentUi silent;
  ArgumentFailure failure;
  Bytes bytes;
  if (!ArgumentBytes(patchPath, value, record, bytes, silent, failure) || failure.general) {
    return std::nullopt;
  }
  return bytes;
}

// What the engine tells when the type cannot encode `value`; empty when it can.
std::string EncodingError(const std::string& patchPath, const PatchRecord& record,
                          const std::string& value) {
  SilentUi silent;
  ArgumentFailure failure;
  Bytes bytes;
  if (ArgumentBytes(patchPath, value, record, bytes, silent, failure) && !failure.general) {
    return {};
  }
  return failure.general ? failure.description : silent.FirstMessage();
}

}  // namespace

std::optional<std::string> NameArgument(const std::string& patchPath) {
  std::string value = NamedArgument(patchPath);
  return value.empty() ? std::nullopt : std::optional<std::string>(std::move(value));
}

std::string ArgumentRefusal(const std::string& patchPath, const PatchRecord& record,
                            const SetPatch& patch) {
  const std::optional<std::string>& argument = patch.argument;
  const std::string line = std::to_string(patch.line);
  if (!argument) {
    // Without an argument on the line, the value its name carries is the one applied.
    return !record.Has(HasArgument) || NameArgument(patchPath)
               ? std::string()
               // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's name
               : TrFormat("line %1: %2 takes an argument, and the set gives none",
                          {line, patch.name});
  }
  if (!record.Has(HasArgument)) {
    // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's name
    return TrFormat("line %1: %2 takes no argument", {line, patch.name});
  }
  const std::string error = EncodingError(patchPath, record, *argument);
  return error.empty() ? std::string()
                       // TRANSLATORS: %1 is a line number of the set file, %2 a patch file's name,
                       // %3 the argument the set gives, %4 why the patch cannot take it
                       : TrFormat("line %1: %2 cannot take the argument \"%3\": %4",
                                  {line, patch.name, *argument, error});
}

bool SameArgumentValue(const std::string& patchPath, const PatchRecord& record,
                       const std::string& a, const std::string& b) {
  if (a == b) {
    return true;
  }
  if (record.ArgType == TextString || record.ArgType == TextStringZ) {
    return false;
  }
  const auto first = Encoded(patchPath, record, a);
  return first && first == Encoded(patchPath, record, b);
}

}  // namespace varnock
