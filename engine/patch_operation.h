#pragma once

#include <optional>
#include <string>

#include "engine/operation_context.h"
#include "engine/result_code.h"
#include "patchfile/patch_record.h"
#include "ui/user_interface.h"

namespace varnock {

// Which way an apply-or-remove request goes: the patch put on, or taken off.
enum class PatchDirection { Apply, Remove };

// The temporary copy's path: the patch path's folder + separator + "temp_" + its file name.
std::string TempPatchPath(const std::string& patchPathWithArgument);

// True when an argument value can travel in the file name of the patch copy, between two '#':
// no '#', no path separator, no character a file name cannot hold.
bool FitsInFileName(const std::string& answer);

// The one message that closes an operation with `result` (none for ResultNone).
void ShowClosingMessage(ResultCode result, bool remove, UserInterface& ui);

// One apply or remove request, from the argument prompt to the one closing message. Returns
// the engine's result (ResultNone when the operation stopped before the engine ran), so that
// callers such as the command line can tell outcomes apart; the user has been told already.
// The argument prompt proposes `proposed` when given (the value the patch was applied with),
// otherwise the value the file name carries. The context's history, when it keeps one, records
// the rewrite.
ResultCode RunPatchOperation(const std::string& patchPath, const std::string& exePath, bool remove,
                             PatchRecord& record, const OperationContext& context,
                             const std::optional<std::string>& proposed = std::nullopt);

}  // namespace varnock
