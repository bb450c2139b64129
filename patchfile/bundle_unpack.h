#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/bytes.h"

namespace varnock {

// A bundle of patch files appended to the program's executable:
//   entries, one after the other: int32 Size (>= 1), Name + NUL, Size bytes of Data;
//   header at BundleOffset: "ZA-VA-Z" + NUL, a 4-character tag, int32 EntryCount;
//   the last 4 bytes of the file: int32 BundleOffset.
// All integers are little-endian; names are single bytes of the ANSI code page.
inline constexpr char kBundleMagic[8] = {'Z', 'A', '-', 'V', 'A', '-', 'Z', '\0'};
inline constexpr std::size_t kBundleHeaderSize = 16;

// Writes every file of the bundle carried by the executable at `executablePath` into `folder`
// (created when missing). Files that did not exist before are appended to `unpackedFiles`, so
// that they can be deleted at exit. True when every entry was written; false, without a message,
// when the file carries no bundle or the bundle is damaged or cannot be written; the entries
// written before stay written and recorded. An entry name names a file inside `folder` only: one
// that is empty, "." or "..", or holds a separator or a drive colon, stops the unpacking.
bool UnpackBundle(const std::string& executablePath, const std::string& folder,
                  std::vector<std::string>& unpackedFiles);
// The same, where a file already present is recorded too when `ownedBefore` says, from its
// name, that an earlier unpacking made it and it is still as made.
bool UnpackBundle(const std::string& executablePath, const std::string& folder,
                  std::vector<std::string>& unpackedFiles,
                  const std::function<bool(const std::string& name)>& ownedBefore);

// The name that starts at `position` in `content`, up to its NUL byte, as UTF-8 text;
// `position` then lies after the NUL. False when the content ends before a NUL.
bool ReadNulTerminatedName(const Bytes& content, std::size_t& position, std::string& name);

// True when `name` may be written inside a folder: not empty, not "." or "..", and free of
// separators, drive colons and control characters.
bool IsPlainFileName(const std::string& name);

}  // namespace varnock
