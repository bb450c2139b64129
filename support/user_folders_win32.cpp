#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/paths.h"
#include "support/user_folders.h"
#include "support/user_folders_platform.h"

namespace varnock {

namespace {

// The security identifier of the user this process runs as; empty when it cannot be read.
std::vector<BYTE> UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    return {};
  }
  std::vector<BYTE> buffer(256);
  DWORD size = 0;
  const bool read = GetTokenInformation(token, TokenUser, buffer.data(),
                                        static_cast<DWORD>(buffer.size()), &size) != 0;
  CloseHandle(token);
  if (!read) {
    return {};
  }
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  const BYTE* start = static_cast<const BYTE*>(sid);
  return std::vector<BYTE>(start, start + GetLengthSid(sid));
}

// True when the process runs as a member of the administrators (elevated): Windows then makes
// them, not the user, the owner of the folders it creates.
bool IsAdministrator() {
  BYTE administrators[SECURITY_MAX_SID_SIZE] = {};
  DWORD size = sizeof(administrators);
  BOOL member = FALSE;
  return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) != 0 &&
         CheckTokenMembership(nullptr, administrators, &member) != 0 && member;
}

// True when `owner` is the user `sid`, or the administrators when the user is one of them.
bool OwnedByUser(PSID owner, std::vector<BYTE>& sid) {
  return owner != nullptr &&
         (EqualSid(owner, sid.data()) ||
          (IsWellKnownSid(owner, WinBuiltinAdministratorsSid) && IsAdministrator()));
}

// True when the access entry lets in the user `sid`, or the system and the administrators, who
// may enter every folder anyway (as root does on Linux), or lets nobody in (denies). Entries of
// the other kinds that let in (for objects, compound) are refused whoever they name.
bool LetsInOnly(const ACE_HEADER& entry, std::vector<BYTE>& sid) {
  switch (entry.AceType) {
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
      return true;
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
      // Both laid out alike: the header, the access mask, the security identifier.
      const auto& allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE&>(entry);
      const PSID whom = const_cast<DWORD*>(&allowed.SidStart);
      return EqualSid(whom, sid.data()) || IsWellKnownSid(whom, WinLocalSystemSid) ||
             IsWellKnownSid(whom, WinBuiltinAdministratorsSid);
    }
    default:
      return false;
  }
}

// True when `folder` belongs to the user `sid` and its access list lets no other user in.
bool OwnedAlone(const std::wstring& folder, std::vector<BYTE>& sid) {
  PSID owner = nullptr;
  PACL access = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT,
                            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                            &access, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool alone = access != nullptr && OwnedByUser(owner, sid);
  for (DWORD i = 0; alone && i < access->AceCount; ++i) {
    void* entry = nullptr;
    alone =
        GetAce(access, i, &entry) != 0 && LetsInOnly(*static_cast<const ACE_HEADER*>(entry), sid);
  }
  LocalFree(descriptor);
  return alone;
}

}  // namespace

bool CanCreateFilesIn(const std::string& folder) {
  if (!FolderExists(folder)) {
    return false;
  }
  // Windows answers for its access lists only when a file is really created: a probe of a
  // name of this process's own, gone again when its handle is closed.
  const std::string probe =
      JoinPath(folder, ".varnock-probe-" + std::to_string(GetCurrentProcessId()));
  const HANDLE file = CreateFileW(ToFsPath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

std::string UserDataFolder() {
  wchar_t local[MAX_PATH] = {};
  if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, local) !=
      S_OK) {
    return {};
  }
  return JoinPath(FromFsPath(std::filesystem::path(local)), "Varnock");
}

std::vector<std::string> ScratchFolders() {
  wchar_t temporary[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
  if (length == 0 || length > MAX_PATH) {
    return {};
  }
  std::string folder = FromFsPath(std::filesystem::path(temporary));
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
    folder.pop_back();
  }
  return {folder};
}

std::string PrivateFolderName() {
  wchar_t name[256 + 1] = {};
  DWORD size = 256 + 1;
  return GetUserNameW(name, &size) ? "Varnock-" + FromFsPath(std::filesystem::path(name))
                                   : "Varnock";
}

bool MakePrivateFolder(const std::string& folder) {
  std::vector<BYTE> sid = UserSid();
  LPWSTR sidText = nullptr;
  if (sid.empty() || !ConvertSidToStringSidW(sid.data(), &sidText)) {
    return false;
  }
  // Owned by the user (not by the administrators, as an elevated user's folders are), full
  // control for the user alone, nothing inherited from the folder above.
  const std::wstring user(sidText);
  const std::wstring rules = L"O:" + user + L"D:P(A;OICI;FA;;;" + user + L")";
  LocalFree(sidText);
  SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          rules.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr)) {
    return false;
  }
  const std::wstring path = ToFsPath(folder).wstring();
  const bool made =
      CreateDirectoryW(path.c_str(), &attributes) || GetLastError() == ERROR_ALREADY_EXISTS;
  LocalFree(attributes.lpSecurityDescriptor);
  // A link (a junction someone put there) is refused, not followed.
  const DWORD kind = GetFileAttributesW(path.c_str());
  return made && kind != INVALID_FILE_ATTRIBUTES && (kind & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (kind & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && OwnedAlone(path, sid);
}

}  // namespace varnock
