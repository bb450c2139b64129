#include <windows.h>

#include "support/file_marker_platform.h"
#include "support/files.h"
#include "support/plain_files.h"

namespace varnock {

// The folder's entries carry their attributes, size and last write time: no file is looked up
// again, which costs a call to the file system each (under Wine a round trip to its server, a
// second for 20,000 files).
std::vector<PlainFile> PlainFiles(const std::string& folder) {
  std::vector<PlainFile> files;
  std::wstring pattern = ToFsPath(folder).wstring();
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    return files;
  }
  do {
    if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0) {
      files.push_back({FromFsPath(std::filesystem::path(entry.cFileName)),
                       MarkerOfEntry(entry.nFileSizeHigh, entry.nFileSizeLow,
                                     entry.ftLastWriteTime.dwHighDateTime,
                                     entry.ftLastWriteTime.dwLowDateTime)});
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return files;
}

}  // namespace varnock
