// The floor of the Win32 window's start-up: every .ptc file of a folder listed, opened and read
// once, with the plainest calls of Windows. Prints the files and bytes read.
//   varnock-bench-read-floor FOLDER
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win32/text.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: varnock-bench-read-floor FOLDER\n");
    return 2;
  }
  const std::wstring folder = varnock::win32::Wide(argv[1]) + L"\\";
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"*.ptc").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "no patch in %s\n", argv[1]);
    return 1;
  }
  std::vector<char> buffer(1 << 16);
  unsigned long long files = 0;
  unsigned long long bytes = 0;
  do {
    HANDLE file = CreateFileW((folder + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      continue;
    }
    DWORD read = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
           read > 0) {
      bytes += read;
    }
    CloseHandle(file);
    ++files;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::printf("files=%llu bytes=%llu\n", files, bytes);
  return 0;
}
