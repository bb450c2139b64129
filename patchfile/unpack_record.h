#pragma once

#include <map>
#include <string>

namespace varnock {

// What Varnock unpacked into a folder that outlives one window: for each file name, the SHA-256
// of the content as it was unpacked, in 64 lower-case hexadecimal digits. Kept in the folder as
// one line per file, the sum, a space and the name.
using UnpackRecord = std::map<std::string, std::string>;

// The record kept at `path`; empty when there is none. Lines that do not read as a sum and a
// plain file name are left out, so a damaged record never names a file outside its folder.
UnpackRecord ReadUnpackRecord(const std::string& path);
// Replaces the record at `path` whole (a new file renamed over the old one); an empty record
// removes it. False when it cannot be written, the old record then kept and no new file left.
bool WriteUnpackRecord(const std::string& path, const UnpackRecord& record);

// True when `folder` holds the file `name` with the content of sum `sum`: still as unpacked.
bool IsAsUnpacked(const std::string& folder, const std::string& name, const std::string& sum);

}  // namespace varnock
