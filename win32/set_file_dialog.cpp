#include "win32/set_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "app/patches_texts.h"
#include "support/translation.h"
#include "win32/text.h"

namespace varnock::win32 {

namespace {

constexpr DWORD kPathRoom = 32768;  // the longest path Windows takes

// "Patch sets (*.ptcset)", its pattern, and the double NUL that ends the list.
std::wstring Filter() {
  const std::wstring pattern = L"*." + Wide(kSetExtension);
  std::wstring filter = Wide(Tr(kSetFilesName)) + L" (" + pattern + L")";
  filter.push_back(L'\0');
  filter += pattern;
  filter.push_back(L'\0');
  return filter;
}

}  // namespace

std::string AskSetFilePath(HWND owner, SetFileDialog dialog, const std::string& folder) {
  const bool save = dialog == SetFileDialog::Save;
  const std::wstring filter = Filter();
  const std::wstring start = Wide(folder);
  const std::wstring title = Wide(Tr(save ? kSaveSetTitle : kOpenSetTitle));
  const std::wstring extension = Wide(kSetExtension);
  std::vector<wchar_t> path(kPathRoom, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = path.data();
  request.nMaxFile = kPathRoom;
  request.lpstrInitialDir = start.c_str();
  request.lpstrTitle = title.c_str();
  request.lpstrDefExt = extension.c_str();
  request.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                  (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request);
  return chosen ? Narrow(path.data()) : std::string();
}

}  // namespace varnock::win32
