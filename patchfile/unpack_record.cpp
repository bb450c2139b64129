#include "patchfile/unpack_record.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "patchfile/bundle_unpack.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/sha256.h"

namespace varnock {

namespace {

bool IsSumText(const std::string& text) {
  return text.size() == 64 && std::ranges::all_of(text, [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

}  // namespace

UnpackRecord ReadUnpackRecord(const std::string& path) {
  UnpackRecord record;
  std::ifstream in(ToFsPath(path), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t space = line.find(' ');
    if (space != std::string::npos && IsSumText(line.substr(0, space)) &&
        IsPlainFileName(line.substr(space + 1))) {
      record[line.substr(space + 1)] = line.substr(0, space);
    }
  }
  return record;
}

bool WriteUnpackRecord(const std::string& path, const UnpackRecord& record) {
  if (record.empty()) {
    return RemoveFile(path);
  }
  std::ostringstream text;
  for (const auto& [name, sum] : record) {
    text << sum << ' ' << name << '\n';
  }
  const std::string fresh = path + ".new";
  std::ofstream out(ToFsPath(fresh), std::ios::binary | std::ios::trunc);
  out << text.str();
  out.close();
  std::error_code error;
  if (!out.fail()) {
    std::filesystem::rename(ToFsPath(fresh), ToFsPath(path), error);
  }
  if (out.fail() || error) {
    RemoveFile(fresh);
    return false;
  }
  return true;
}

bool IsAsUnpacked(const std::string& folder, const std::string& name, const std::string& sum) {
  const std::string path = JoinPath(folder, name);
  Bytes content;
  std::string error;
  return FileExists(path) && ReadWholeFile(path, content, error) && Sha256Text(content) == sum;
}

}  // namespace varnock
