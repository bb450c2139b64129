#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "patchfile/patch_record.h"
#include "support/bytes.h"

namespace varnock {

// The argument value the executable holds for a patch that is applied with some value: the
// bytes at the first argument offset (moved by `shift`) read as the patch's ArgType, each value
// they may stand for offered, the likeliest first, to `appliedWith`, which judges the patch as
// loaded (`loaded`, offsets as recorded) with that value written in. The first value it accepts;
// std::nullopt when it accepts none.
std::optional<std::string> ReadBackArgument(
    const PatchRecord& loaded, std::int32_t shift, const Bytes& image,
    const std::function<bool(const std::string&)>& appliedWith);

}  // namespace varnock
