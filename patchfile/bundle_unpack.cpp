#include "patchfile/bundle_unpack.h"

#include <fstream>
#include <optional>

#include "support/code_page.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock {

namespace {

std::optional<std::int32_t> ReadInt32(const Bytes& content, std::size_t& position,
                                      std::size_t end) {
  if (position > end || end - position < 4) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(content[position + i]) << (8 * i);
  }
  position += 4;
  return static_cast<std::int32_t>(value);
}

char UpperAscii(std::uint8_t c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
}

bool MagicAt(const Bytes& content, std::size_t position) {
  for (std::size_t i = 0; i < sizeof kBundleMagic; ++i) {
    if (UpperAscii(content[position + i]) != kBundleMagic[i]) {
      return false;
    }
  }
  return true;
}

bool WriteData(const std::string& path, const Bytes& content, std::size_t from, std::size_t size) {
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data() + from),
            static_cast<std::streamsize>(size));
  out.close();
  return !out.fail();
}

// The entries' area: from after the header to the trailer. False when the file carries no
// bundle.
bool LocateEntries(const Bytes& content, std::size_t& first, std::size_t& end,
                   std::int32_t& entryCount) {
  if (content.size() < 4) {
    return false;
  }
  end = content.size() - 4;
  std::size_t trailer = end;
  const std::int32_t offset = *ReadInt32(content, trailer, content.size());
  if (offset < 0 || static_cast<std::size_t>(offset) >= content.size()) {
    return false;
  }
  first = static_cast<std::size_t>(offset);
  if (first > end || end - first < kBundleHeaderSize || !MagicAt(content, first)) {
    return false;
  }
  first += 12;
  entryCount = *ReadInt32(content, first, end);
  return entryCount >= 0;
}

// One entry: its data is checked against the bytes left before anything is written.
bool UnpackEntry(const Bytes& content, std::size_t& position, std::size_t end,
                 const std::string& folder, std::vector<std::string>& unpackedFiles,
                 const std::function<bool(const std::string&)>& ownedBefore) {
  const std::optional<std::int32_t> size = ReadInt32(content, position, end);
  std::string name;
  if (!size || *size < 1 || !ReadNulTerminatedName(content, position, name) || position > end ||
      !IsPlainFileName(name)) {
    return false;
  }
  const auto dataSize = static_cast<std::size_t>(*size);
  if (end - position < dataSize) {
    return false;
  }
  const std::string destination = JoinPath(folder, name);
  if (!FileExists(destination) || (ownedBefore && ownedBefore(name))) {
    unpackedFiles.push_back(destination);
  }
  const bool written = WriteData(destination, content, position, dataSize);
  position += dataSize;
  return written;
}

}  // namespace

bool ReadNulTerminatedName(const Bytes& content, std::size_t& position, std::string& name) {
  name.clear();
  for (std::size_t at = position; at < content.size(); ++at) {
    if (content[at] == 0) {
      position = at + 1;
      return true;
    }
    name += AnsiByteToUtf8(content[at]);
  }
  return false;
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") {
    return false;
  }
  for (char c : name) {
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) {
      return false;
    }
  }
  return true;
}

bool UnpackBundle(const std::string& executablePath, const std::string& folder,
                  std::vector<std::string>& unpackedFiles) {
  return UnpackBundle(executablePath, folder, unpackedFiles, nullptr);
}

bool UnpackBundle(const std::string& executablePath, const std::string& folder,
                  std::vector<std::string>& unpackedFiles,
                  const std::function<bool(const std::string& name)>& ownedBefore) {
  Bytes content;
  std::string error;
  if (!ReadWholeFile(executablePath, content, error)) {
    return false;
  }
  std::size_t position = 0;
  std::size_t end = 0;
  std::int32_t entryCount = 0;
  if (!LocateEntries(content, position, end, entryCount)) {
    return false;
  }
  if (!FolderExists(folder)) {
    CreateFolder(folder);
  }
  for (std::int32_t i = 0; i < entryCount; ++i) {
    if (!UnpackEntry(content, position, end, folder, unpackedFiles, ownedBefore)) {
      return false;
    }
  }
  return true;
}

}  // namespace varnock
