#pragma once

#include <filesystem>
#include <string>

#include "support/bytes.h"

namespace varnock {

// UTF-8 path text to a file-system path, and back.
std::filesystem::path ToFsPath(const std::string& path);
std::string FromFsPath(const std::filesystem::path& path);

// True exactly when `path` names an existing file (hidden and read-only files included,
// folders never).
bool FileExists(const std::string& path);
// True when anything at all is at `path`: a file, a folder, a pipe, a link (even a dangling one).
bool EntryExists(const std::string& path);
// True exactly when `path` names an existing folder, with or without a trailing separator.
bool FolderExists(const std::string& path);

// The whole file; empty when it cannot be read (indistinguishable from an empty file).
Bytes ReadWholeFile(const std::string& path);
// The whole file, with the platform's description of the failure when it cannot be read.
bool ReadWholeFile(const std::string& path, Bytes& content, std::string& error);

// Deletes a file, clearing a read-only attribute first. True when the file is gone
// (also when it was never there).
bool RemoveFile(const std::string& path);
// Creates one folder level; failures are swallowed.
void CreateFolder(const std::string& path);

// Why `path` cannot be read as a file: it names a folder, a pipe, a device or a socket, is too
// long for the system, or names nothing at all.
std::string NotAFileText(const std::string& path);

// True when the system refuses `path` for its length (the whole path, or one name in it):
// whether anything is there cannot be told, so nothing there may be called missing.
bool PathTooLong(const std::string& path);
// Says that `path` is too long for the system to open (without the path itself).
std::string PathTooLongText(const std::string& path);

// The platform's description of an error, for the texts after "Error mexage: ".
std::string ErrorText(const std::error_code& error);

}  // namespace varnock
