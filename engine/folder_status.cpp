#include "engine/folder_status.h"

#include <future>
#include <system_error>
#include <unordered_map>

#include "engine/catalogue.h"
#include "engine/silent_ui.h"
#include "engine/version_rank.h"
#include "engine/zone_pipeline.h"
#include "patchfile/load_patch.h"
#include "support/paths.h"
#include "support/sha256.h"
#include "target/exe_version.h"

namespace varnock {

namespace {

// The status of one patch, and the spans it writes (as placed, or as recorded when the
// placement failed); no zone report is made. Patches that cannot be placed at all (broken, for
// another build or program) write none.
void Judge(FolderStatusEntry& entry, const std::string& path, const FileMarker& marker,
           const PatchRecord* record, const ExeRead& exe) {
  entry.marker = marker;
  entry.description = record == nullptr ? std::string() : record->Description;
  entry.dynamic = record != nullptr && record->Has(Dynamic);
  entry.status = record == nullptr
                     ? PatchStatus{}
                     : StatusOfPatch(path, std::nullopt, *record, exe, ZoneDetail::StateOnly);
  const bool judgedByZones = entry.status.state <= PatchState::DoesNotFit;
  entry.spans = judgedByZones ? WrittenRuns(*record, entry.status.shift) : std::vector<ZoneSpan>{};
}

// Keeps a patch that loaded and was summed for the operation that follows the status, when it
// is applied or named.
void Keep(StatusKeep* keep, const FolderStatusEntry& entry, const PatchRecord* record,
          const std::string& sha256) {
  if (keep == nullptr || record == nullptr || sha256.empty()) {
    return;
  }
  if (entry.status.state == PatchState::Applied || (keep->named && keep->named(entry.fileName))) {
    keep->patches[entry.fileName] = {*record, sha256};
  }
}

// Hands the entries of a computation over by chunks, when they are asked for.
class Handover {
 public:
  explicit Handover(const StatusDelivery* delivery)
      : delivery_(delivery != nullptr && delivery->judged ? delivery : nullptr) {}
  void Add(const FolderStatusEntry& entry) {
    if (delivery_ != nullptr) {
      chunk_.push_back(entry);
      if (chunk_.size() >= delivery_->chunk) {
        Flush();
      }
    }
  }
  void Flush() {
    if (!chunk_.empty()) {
      delivery_->judged(std::move(chunk_));
      chunk_ = {};
    }
  }

 private:
  const StatusDelivery* delivery_;
  std::vector<FolderStatusEntry> chunk_;
};

bool Stopped(const StatusDelivery* delivery) {
  return delivery != nullptr && delivery->stop.stop_requested();
}

void FindConflicts(FolderStatus& status) {
  status.conflicts = {};
  for (const FolderStatusEntry& entry : status.entries) {
    status.conflicts.Add(entry.spans);
  }
  status.conflicts.Find();
}

// The patches `changed` judged again from their files, as they are now.
bool JudgeAgain(FolderStatus& status, const std::vector<std::size_t>& changed, UserInterface& ui,
                const StatusDelivery* delivery, Handover& handover) {
  Bytes image;
  if (!ReadExecutableImage(status.exePath, image, ui)) {
    return false;
  }
  for (const std::size_t index : changed) {
    if (Stopped(delivery)) {
      return false;
    }
    FolderStatusEntry& entry = status.entries[index];
    const std::string path = JoinPath(status.folder, entry.fileName);
    // The marker is taken before the file is read: a change made while it is read shows at the
    // next look.
    const FileMarker marker = MarkerOf(path);
    PatchRecord record;
    const bool loaded = LoadPatch(path, record, ui);
    entry.rank = loaded ? VersionRank(status.exeVersion, record.ExeVersion) : 0;
    Judge(entry, path, marker, loaded ? &record : nullptr,
          {status.exePath, image, status.exeVersion});
    handover.Add(entry);
  }
  handover.Flush();
  FindConflicts(status);
  return true;
}

}  // namespace

std::optional<std::size_t> FolderStatus::IndexOf(const std::string& fileName) const {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].fileName == fileName) {
      return i;
    }
  }
  return std::nullopt;
}

std::vector<std::string> FolderStatus::ConflictNames(std::size_t index, std::size_t limit) const {
  std::vector<std::string> names;
  for (const std::size_t other : conflicts.With(index, limit)) {
    names.push_back(entries[other].fileName);
  }
  return names;
}

namespace {

// Where the failures of a folder's status are told: the executable's, and the patches'.
struct StatusTellers {
  UserInterface& exe;
  UserInterface& patches;
};

// The folder's status, each patch file read once, for the list and for its status at once.
bool ComputeFolderStatus(const std::string& folder, const std::string& exePath,
                         FolderStatus& status, const StatusTellers& tell,
                         const StatusDelivery* delivery, StatusKeep* keep) {
  UserInterface& exeUi = tell.exe;
  UserInterface& patchUi = tell.patches;
  status = {};
  status.folderMarker = MarkerOf(folder);
  status.exeMarker = MarkerOf(exePath);
  Bytes image;
  if (!ReadExecutableImage(exePath, image, exeUi)) {
    return false;
  }
  status.folder = folder;
  status.exePath = exePath;
  status.exeVersion = GetExeVersionOfImage(exePath, image, exeUi);
  // The executable is summed while the patches load (declared after the image: it is waited for
  // before the image goes).
  std::future<std::string> exeSum;
  if (keep != nullptr) {
    const auto sum = [&image] { return Sha256Text(image); };
    try {
      exeSum = std::async(std::launch::async, sum);
    } catch (const std::system_error&) {  // no thread to be had: summed when it is asked for
      exeSum = std::async(std::launch::deferred, sum);
    }
  }
  std::unordered_map<std::string, FolderStatusEntry> judged;
  Handover handover(delivery);
  const auto visit = [&](const ListedFile& file, const PatchRecord* record,
                         const std::string& sha256) {
    FolderStatusEntry& entry = judged[GetFileName(file.path)];
    Judge(entry, file.path, file.marker, record, {exePath, image, status.exeVersion});
    entry.fileName = GetFileName(file.path);
    handover.Add(entry);
    Keep(keep, entry, record, sha256);
  };
  PatchRecord record;
  std::vector<CatalogueEntry> catalogue =
      BuildCatalogue(folder, status.exeVersion, record, patchUi,
                     {visit, delivery ? delivery->stop : std::stop_token(), keep != nullptr});
  if (Stopped(delivery)) {
    return false;
  }
  handover.Flush();
  if (keep != nullptr) {
    keep->exeSha256 = exeSum.get();
  }
  for (CatalogueEntry& listed : catalogue) {
    FolderStatusEntry& entry = judged[listed.fileName];
    entry.fileName = std::move(listed.fileName);
    entry.rank = listed.rank;
    status.entries.push_back(std::move(entry));
  }
  FindConflicts(status);
  return true;
}

}  // namespace

bool GetFolderStatus(const std::string& folder, const std::string& exePath, FolderStatus& status,
                     UserInterface& ui, const StatusDelivery* delivery, StatusKeep* keep) {
  return ComputeFolderStatus(folder, exePath, status, {ui, ui}, delivery, keep);
}

bool ListFolderStatus(const std::string& folder, const std::string& exePath, FolderStatus& status,
                      UserInterface& ui) {
  SilentUi silent;
  return ComputeFolderStatus(folder, exePath, status, {silent, ui}, nullptr, nullptr);
}

bool RefreshFolderStatus(FolderStatus& status, const std::string& folder,
                         const std::string& exePath, const std::string& fileName, UserInterface& ui,
                         const StatusDelivery* delivery) {
  if (folder != status.folder || exePath != status.exePath ||
      MarkerOf(folder) != status.folderMarker || MarkerOf(exePath) != status.exeMarker) {
    return GetFolderStatus(folder, exePath, status, ui, delivery);
  }
  std::vector<std::size_t> changed;
  Handover handover(delivery);
  for (std::size_t i = 0; i < status.entries.size(); ++i) {
    const FolderStatusEntry& entry = status.entries[i];
    if (Stopped(delivery)) {
      return false;
    }
    if ((fileName.empty() || entry.fileName == fileName) &&
        MarkerOf(JoinPath(folder, entry.fileName)) != entry.marker) {
      changed.push_back(i);
    } else {
      handover.Add(entry);
    }
  }
  handover.Flush();
  return changed.empty() || JudgeAgain(status, changed, ui, delivery, handover);
}

}  // namespace varnock
