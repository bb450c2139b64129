#pragma once

#include <string>

#include "engine/result_code.h"
#include "history/operation_history.h"
#include "patchfile/patch_record.h"
#include "support/safe_rewrite.h"
#include "ui/user_interface.h"

namespace varnock {

// Applies (or, with `removing`, removes) the patch at `patchPath` to the executable at
// `exePath`. `exeVersion` caches the executable's version signature: computed and handed back
// when empty and needed. The executable is rewritten whole and once, only when every zone
// succeeded; otherwise it is left byte-identical. `history`, when given, records the rewrite
// before it is made.
ResultCode PerformPatch(const std::string& patchPath, const std::string& exePath, bool removing,
                        std::string& exeVersion, PatchRecord& record, UserInterface& ui,
                        const RewriteHooks* hooks = nullptr, OperationHistory* history = nullptr);

}  // namespace varnock
