#include "history/history_store.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "history/history_view.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/resolved_path.h"
#include "support/rewrite_journal.h"
#include "support/sha256.h"
#include "support/user_folders.h"

namespace varnock {

namespace {

constexpr const char* kExtension = ".history";
constexpr const char* kStampHeader = "varnock-stamp\t1\n";

std::string StampPathFor(const std::string& folder, const std::string& exePath) {
  std::string path = HistoryPathFor(folder, exePath);
  return path.replace(path.size() - std::strlen(kExtension), std::string::npos, ".stamp");
}

// The path with every link followed, where the file can be reached; as the system resolves it
// otherwise.
std::string FollowedPath(const std::string& exePath) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::canonical(ToFsPath(exePath), error);
  return error ? ResolvedPath(exePath) : FromFsPath(canonical);
}

bool ReadRecord(const std::string& path, HistoryRecord& record) {
  Bytes content;
  std::string error;
  return ReadWholeFile(path, content, error) &&
         DecodeHistory(std::string(content.begin(), content.end()), record);
}

}  // namespace

std::string HistoryFolder() {
  const std::string data = UserDataFolder();
  return data.empty() ? std::string() : JoinPath(data, "history");
}

std::string HistoryPathFor(const std::string& folder, const std::string& exePath) {
  const std::string path = FollowedPath(exePath);
  const Bytes text(path.begin(), path.end());
  return JoinPath(folder, Sha256Text(text) + kExtension);
}

bool FindHistory(const std::string& folder, const std::string& exePath,
                 const std::string& currentSha256, HistoryRecord& record) {
  if (ReadRecord(HistoryPathFor(folder, exePath), record)) {
    return true;
  }
  std::error_code error;
  for (std::filesystem::directory_iterator it(ToFsPath(folder), error), end; !error && it != end;
       it.increment(error)) {
    const std::string path = FromFsPath(it->path());
    if (path.size() > 8 && path.ends_with(kExtension) && ReadRecord(path, record) &&
        !record.entries.empty() && ViewHistory(record, currentSha256).matchesLast) {
      return true;
    }
  }
  record = HistoryRecord{};
  return false;
}

bool SaveHistory(const std::string& folder, const std::string& exePath, HistoryRecord record,
                 std::string& error) {
  std::error_code made;
  std::filesystem::create_directories(ToFsPath(folder), made);
  record.path = FollowedPath(exePath);
  const std::string path = HistoryPathFor(folder, exePath);
  const std::string fresh = path + ".new";
  const std::string text = EncodeHistory(record);
  if (!WriteDurably(fresh, Bytes(text.begin(), text.end()), error)) {
    RemoveFile(fresh);
    return false;
  }
  std::error_code moved;
  std::filesystem::rename(ToFsPath(fresh), ToFsPath(path), moved);
  if (moved) {
    error = ErrorText(moved);
    RemoveFile(fresh);
    return false;
  }
  RemoveDurably(fresh);  // gone already: this flushes the folder's entry of the move
  return true;
}

void KeepStamp(const std::string& folder, const std::string& exePath, const std::string& stamp,
               const std::string& sha256) {
  const std::string path = StampPathFor(folder, exePath);
  const std::string fresh = path + ".new";
  {
    std::ofstream out(ToFsPath(fresh), std::ios::binary | std::ios::trunc);
    out << kStampHeader << stamp << '\t' << sha256 << '\n';
    if (!out.flush()) {
      out.close();
      RemoveFile(fresh);
      return;
    }
  }
  std::error_code moved;
  std::filesystem::rename(ToFsPath(fresh), ToFsPath(path), moved);
}

std::string StampedSha256(const std::string& folder, const std::string& exePath,
                          const std::string& stamp) {
  Bytes content;
  std::string error;
  if (stamp.empty() || !ReadWholeFile(StampPathFor(folder, exePath), content, error)) {
    return {};
  }
  const std::string expected = kStampHeader + stamp + '\t';
  const std::string text(content.begin(), content.end());
  constexpr std::size_t kDigits = 64;
  const bool kept = text.size() == expected.size() + kDigits + 1 && text.starts_with(expected) &&
                    text.back() == '\n';
  return kept ? text.substr(expected.size(), kDigits) : std::string();
}

}  // namespace varnock
