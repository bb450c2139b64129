#pragma once

#include <windows.h>

#include <string>

#include "app/patches_view.h"

namespace varnock::win32 {

// The system's own save or open dialog for a set file (".ptcset"), over `owner`, starting in
// `folder`; the save dialog adds the extension and asks before a file is replaced. Empty when
// cancelled.
std::string AskSetFilePath(HWND owner, SetFileDialog dialog, const std::string& folder);

}  // namespace varnock::win32
