#include "history/history_view.h"

#include <algorithm>

namespace varnock {

namespace {

using Runs = std::map<std::uint64_t, Bytes>;

// Keeps the bytes `from`..`to` at `at`, before the run `next`, in the run that ends at `at` when
// one does, and joins to them the run `next` when it starts where they end: runs side by side
// (one-byte zones after one another) are kept as one, not as a node and an allocation each.
// Returns the run that holds them.
Runs::iterator KeepRun(Runs& runs, Runs::iterator next, std::uint64_t at,
                       Bytes::const_iterator from, Bytes::const_iterator to) {
  auto run = next == runs.begin() ? runs.end() : std::prev(next);
  if (run == runs.end() || run->first + run->second.size() != at) {
    run = runs.emplace_hint(next, at, Bytes());
  }
  run->second.insert(run->second.end(), from, to);
  if (next != runs.end() && run->first + run->second.size() == next->first) {
    run->second.insert(run->second.end(), next->second.begin(), next->second.end());
    runs.erase(next);
  }
  return run;
}

}  // namespace

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
      const auto run = KeepRun(originals, next, at, from, from + static_cast<long>(gapEnd - at));
      at = run->first + run->second.size();
      next = std::next(run);
    } else {
      at = std::max(at, next->first + next->second.size());
      ++next;
    }
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

namespace {

// Adds the runs of `from` to `to` where `to` holds no byte yet.
void MergeRuns(std::map<std::uint64_t, Bytes>& to, std::map<std::uint64_t, Bytes>& from) {
  if (to.empty()) {
    to.swap(from);
    return;
  }
  for (auto& [offset, bytes] : from) {
    KeepFirstValues(to, {offset, std::move(bytes), {}});
  }
  from.clear();
}

// The spans of `changed` no byte of `known` lies in, joined where they meet.
std::vector<OffsetSpan> Unknown(std::vector<OffsetSpan> changed,
                                const std::map<std::uint64_t, Bytes>& known) {
  std::sort(changed.begin(), changed.end(),
            [](const OffsetSpan& a, const OffsetSpan& b) { return a.offset < b.offset; });
  std::vector<OffsetSpan> unknown;
  for (OffsetSpan span : changed) {
    auto next = known.upper_bound(span.offset);
    if (next != known.begin()) {
      const auto& [start, bytes] = *std::prev(next);
      span.offset = std::max(span.offset, start + bytes.size());
    }
    for (; span.offset < span.end; ++next) {
      const std::uint64_t gapEnd = next == known.end() ? span.end : std::min(span.end, next->first);
      if (span.offset < gapEnd) {
        if (!unknown.empty() && unknown.back().end >= span.offset) {
          unknown.back().end = std::max(unknown.back().end, gapEnd);
        } else {
          unknown.push_back({span.offset, gapEnd});
        }
      }
      if (next == known.end()) {
        break;
      }
      span.offset = std::max(span.offset, next->first + next->second.size());
    }
  }
  return unknown;
}

}  // namespace

HistoryView ViewHistory(const HistoryRecord& record, const std::string& currentSha256) {
  HistoryView view;
  const std::vector<HistoryEntry>& entries = record.entries;
  view.originalSize = record.originalSize;
  view.originalSha256 = record.originalSha256;
  std::string expected = record.originalSha256;  // the state the chain leads to
  std::map<std::uint64_t, Bytes> stretch;        // first values since the chain last began
  std::vector<OffsetSpan> afterBreak;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const HistoryEntry& entry = entries[i];
    const std::string& following = i + 1 < entries.size() ? entries[i + 1].before : currentSha256;
    view.states.push_back(StateOf(entry, following));
    view.breaks.push_back(entry.before != expected);
    if (entry.before == record.originalSha256 || view.breaks.back()) {
      MergeRuns(view.originals, stretch);
      view.unbroken = entry.before == record.originalSha256;
    }
    for (const RecordedRange& range : entry.ranges) {
      if (view.unbroken) {
        KeepFirstValues(stretch, range);
      } else {
        afterBreak.push_back({range.offset, range.offset + range.before.size()});
      }
    }
    expected = view.states[i] == EntryState::Unused ? entry.before : entry.after;
    if (view.states[i] == EntryState::Unused) {
      continue;
    }
    if (entry.kind == "undo") {
      if (!view.standing.empty()) {
        view.standing.pop_back();
      }
    } else {
      view.standing.push_back(i);
    }
  }
  MergeRuns(view.originals, stretch);
  view.unknown = Unknown(std::move(afterBreak), view.originals);
  view.matchesLast = expected == currentSha256;
  if (!view.standing.empty()) {
    view.undoable = view.standing.back();
  }
  return view;
}

}  // namespace varnock
