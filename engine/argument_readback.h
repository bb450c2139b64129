#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// The argument value the executable holds for a patch that is applied with some value: the
// bytes at the first argument offset (moved by `shift`) read as the patch's ArgType, returned
// only when that value, written into the patch as loaded (`loaded`, offsets as recorded),
// gives exactly the bytes every written zone holds. std::nullopt otherwise.
std::optional<std::string> ReadBackArgument(const std::string& patchPath, const PatchRecord& loaded,
                                            std::int32_t shift, const Bytes& image);

}  // namespace varnock
