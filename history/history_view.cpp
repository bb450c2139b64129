#include "history/history_view.h"

namespace varnock {

void KeepFirstValues(std::map<std::uint64_t, Bytes>& originals, const RecordedRange& range) {
  std::uint64_t at = range.offset;
  const std::uint64_t end = range.offset + range.before.size();
  auto next = originals.upper_bound(at);
  if (next != originals.begin()) {
    const auto& [start, bytes] = *std::prev(next);
    at = std::max(at, start + bytes.size());  // past the part already recorded
  }
  while (at < end) {
    const std::uint64_t gapEnd = next == originals.end() ? end : std::min(end, next->first);
    if (at < gapEnd) {
      const auto from = range.before.begin() + static_cast<long>(at - range.offset);
      originals.emplace(at, Bytes(from, from + static_cast<long>(gapEnd - at)));
    }
    if (next == originals.end()) {
      break;
    }
    at = std::max(at, next->first + next->second.size());
    ++next;
  }
}

namespace {

EntryState StateOf(const HistoryEntry& entry, const std::string& following) {
  if (following == entry.after) {
    return EntryState::Used;
  }
  return following == entry.before ? EntryState::Unused : EntryState::ChangedSince;
}

}  // namespace

HistoryView ViewHistory(const HistoryRecord& record, const std::string& currentSha256) {
  HistoryView view;
  const std::vector<HistoryEntry>& entries = record.entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& following = i + 1 < entries.size() ? entries[i + 1].before : currentSha256;
    view.states.push_back(StateOf(entries[i], following));
    if (entries[i].kind == "restore" && view.states[i] != EntryState::Unused) {
      view.first = i;  // the history starts afresh from the state a restore left
    }
  }
  view.originalSize = record.originalSize;
  view.originalSha256 = record.originalSha256;
  if (view.first < entries.size() && entries[view.first].kind == "restore") {
    view.originalSha256 = entries[view.first].after;
  }
  std::vector<std::size_t>& done = view.standing;
  for (std::size_t i = view.first; i < entries.size(); ++i) {
    if (entries[i].kind == "restore") {
      continue;  // its state is the one the history starts from
    }
    for (const RecordedRange& range : entries[i].ranges) {
      KeepFirstValues(view.originals, range);
    }
    if (view.states[i] == EntryState::Unused) {
      continue;
    }
    if (entries[i].kind == "undo") {
      if (!done.empty()) {
        done.pop_back();
      }
    } else {
      done.push_back(i);
    }
  }
  view.matchesLast = entries.empty() || entries.front().before == currentSha256;
  for (std::size_t i = entries.size(); i-- > 0;) {
    if (view.states[i] != EntryState::Unused) {
      view.matchesLast = entries[i].after == currentSha256;
      break;
    }
  }
  if (!done.empty()) {
    view.undoable = done.back();
  }
  return view;
}

}  // namespace varnock
