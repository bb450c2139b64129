#include <windows.h>

#include "support/files.h"
#include "support/plain_files.h"

namespace varnock {

// The folder's entries carry their attributes: no file is looked up again, which costs a call
// to the file system each (under Wine a round trip to its server, a second for 20,000 files).
std::vector<std::string> PlainFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = ToFsPath(folder).wstring();
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0) {
      names.push_back(FromFsPath(std::filesystem::path(entry.cFileName)));
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

}  // namespace varnock
