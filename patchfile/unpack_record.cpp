#include "patchfile/unpack_record.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "patchfile/bundle_unpack.h"
#include "support/content_sum.h"
#include "support/files.h"
#include "support/paths.h"

namespace varnock {

UnpackRecord ReadUnpackRecord(const std::string& path) {
  UnpackRecord record;
  std::ifstream in(ToFsPath(path), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::uint64_t sum = 0;
    const std::size_t space = line.find(' ');
    if (space != std::string::npos && ParseSumText(line.substr(0, space), sum) &&
        IsPlainFileName(line.substr(space + 1))) {
      record[line.substr(space + 1)] = sum;
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
    text << SumText(sum) << ' ' << name << '\n';
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

bool IsAsUnpacked(const std::string& folder, const std::string& name, std::uint64_t sum) {
  const std::string path = JoinPath(folder, name);
  Bytes content;
  std::string error;
  return FileExists(path) && ReadWholeFile(path, content, error) && ContentSum(content) == sum;
}

}  // namespace varnock
