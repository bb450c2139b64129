#pragma once

#include <string>

#include "engine/operation_context.h"
#include "engine/result_code.h"
#include "patchfile/patch_record.h"

namespace varnock {

// Applies (or, with `removing`, removes) the patch at `patchPath` to the executable at
// `exePath`. `exeVersion` caches the executable's version signature: computed and handed back
// when empty and needed. The executable is rewritten whole and once, only when every zone
// succeeded; otherwise it is left byte-identical. The context's history, when it keeps one,
// records the rewrite before it is made.
ResultCode PerformPatch(const std::string& patchPath, const std::string& exePath, bool removing,
                        std::string& exeVersion, PatchRecord& record,
                        const OperationContext& context);

}  // namespace varnock
