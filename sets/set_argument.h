#pragma once

#include <optional>
#include <string>

#include "patchfile/patch_record.h"

namespace varnock {

// The value the patch's file name carries between its first two '#'; none when it carries none.
std::optional<std::string> NameArgument(const std::string& patchPath);

// Why the patch loaded as `record` cannot take `argument` (none when the set gives none); empty
// when it can. A patch without an argument takes none; one with an argument takes a value its
// type encodes.
std::string ArgumentRefusal(const std::string& patchPath, const PatchRecord& record,
                            const std::optional<std::string>& argument);

// True when the two texts are the same value of the patch's argument type: numbers compared
// as the bytes their type writes (2.75 and 2.750 are one float), texts exactly.
bool SameArgumentValue(const std::string& patchPath, const PatchRecord& record,
                       const std::string& a, const std::string& b);

}  // namespace varnock
