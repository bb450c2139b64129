#pragma once

#include "cli/command.h"
#include "patchfile/patch_record.h"

namespace varnock::cli {

// varnock-cli info PATCH [--json]: what a patch file holds.
class InfoCommand : public Command {
 public:
  CLI::App* Register(CLI::App& app) override;
  int Run(ConsoleUi& console) override;

 private:
  std::string patch_;
  bool json_ = false;
};

// Upper-case hexadecimal without spaces ("404B4C00").
std::string HexBytes(ByteSpan bytes);
// The names of the flag bits set, joined by ", "; "none" when no known bit is set.
std::string FlagNames(std::int32_t flags);
// "NumLong", ... or "none" for a code outside 1 to 6.
std::string ArgTypeName(std::int32_t argType);

}  // namespace varnock::cli
