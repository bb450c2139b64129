#include "app/patch_rows.h"

#include <algorithm>

#include "engine/conflicts_text.h"
#include "engine/patch_argument.h"
#include "engine/patch_status.h"
#include "support/paths.h"

namespace varnock {

namespace {

StatusGroup GroupOf(PatchState state) {
  switch (state) {
    case PatchState::Applied:
      return StatusGroup::Applied;
    case PatchState::NotApplied:
      return StatusGroup::NotApplied;
    case PatchState::PartlyApplied:
    case PatchState::DoesNotFit:
      return StatusGroup::Unfit;
    case PatchState::OtherBuild:
    case PatchState::OtherProgram:
      return StatusGroup::Elsewhere;
    case PatchState::Broken:
      break;
  }
  return StatusGroup::Broken;
}

}  // namespace

PatchRows::PatchRows(const std::vector<std::string>& fileNames) {
  rows_.reserve(fileNames.size());
  for (const std::string& name : fileNames) {
    rows_.emplace_back(name);
  }
  Index();
}

void PatchRows::Index() {
  byName_.clear();
  byName_.reserve(rows_.size());
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    byName_.emplace(rows_[row].fileName, row);
  }
  SetFilter(filter_);
}

std::optional<std::size_t> PatchRows::RowOf(const std::string& fileName) const {
  const auto found = byName_.find(fileName);
  return found == byName_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

std::optional<std::size_t> PatchRows::Judge(const FolderStatusEntry& entry) {
  const std::optional<std::size_t> row = RowOf(entry.fileName);
  if (!row) {
    return row;
  }
  Row& shown = rows_[*row];
  shown.state = entry.status.state;
  shown.readBack = entry.status.argument;
  shown.description = entry.description;
  shown.dynamic = entry.dynamic;
  if (!shown.markedByUser) {
    shown.checked = entry.status.state == PatchState::Applied;
  }
  return row;
}

bool PatchRows::Complete(const FolderStatus& status) {
  bool same = status.entries.size() == rows_.size();
  for (std::size_t i = 0; same && i < status.entries.size(); ++i) {
    same = byName_.contains(status.entries[i].fileName);
  }
  if (!same) {
    std::vector<Row> old = std::move(rows_);
    rows_.clear();
    for (const FolderStatusEntry& entry : status.entries) {
      rows_.emplace_back(entry.fileName);
    }
    Index();
    for (const Row& row : old) {
      if (const std::optional<std::size_t> kept = RowOf(row.fileName); kept && row.markedByUser) {
        rows_[*kept].checked = row.checked;
        rows_[*kept].markedByUser = true;
      }
    }
  }
  for (std::size_t i = 0; i < status.entries.size(); ++i) {
    rows_[*Judge(status.entries[i])].entry = i;
  }
  SetFilter(filter_);
  return !same;
}

void PatchRows::Recheck(const std::vector<std::size_t>& changed) {
  for (Row& row : rows_) {
    row.markedByUser = false;
    row.reapply = false;
  }
  for (const std::size_t row : changed) {
    rows_[row].state.reset();
    rows_[row].readBack.reset();
  }
}

std::vector<std::size_t> PatchRows::RowsNamedIn(const std::string& text) const {
  std::vector<std::size_t> named;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (text.find(rows_[row].fileName) != std::string::npos) {
      named.push_back(row);
    }
  }
  return named;
}

void PatchRows::SetFilter(const std::string& text) {
  filter_ = text;
  visible_.clear();
  visibleOf_.assign(rows_.size(), kHidden);
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (Matches(rows_[row])) {
      visibleOf_[row] = visible_.size();
      visible_.push_back(row);
    }
  }
}

bool PatchRows::Matches(const Row& row) const {
  return filter_.empty() || ContainsIgnoreCase(row.fileName, filter_) ||
         ContainsIgnoreCase(row.description, filter_);
}

bool PatchRows::FilterOutdated() const {
  if (filter_.empty()) {
    return false;
  }
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (Matches(rows_[row]) != (visibleOf_[row] != kHidden)) {
      return true;
    }
  }
  return false;
}

std::optional<std::size_t> PatchRows::VisibleOf(std::size_t row) const {
  return visibleOf_[row] == kHidden ? std::nullopt : std::optional<std::size_t>(visibleOf_[row]);
}

void PatchRows::Toggle(std::size_t row) {
  rows_[row].checked = !rows_[row].checked;
  rows_[row].markedByUser = true;
}

void PatchRows::FollowStatuses() {
  for (Row& row : rows_) {
    row.checked = row.state == PatchState::Applied;
    row.markedByUser = false;
    row.reapply = false;
  }
}

void PatchRows::MarkForSet(std::size_t row, bool checked, bool reapply) {
  rows_[row].checked = checked;
  rows_[row].markedByUser = true;
  rows_[row].reapply = reapply;
}

PatchRow PatchRows::RowAt(std::size_t row, const FolderStatus* status) const {
  const Row& shown = rows_[row];
  PatchRow out;
  out.checked = shown.checked;
  out.fileName = shown.fileName;
  out.dynamic = shown.dynamic;
  if (!shown.state) {
    out.status = "\u2026";
    return out;
  }
  out.status = StatusWord(*shown.state);
  out.group = GroupOf(*shown.state);
  if (shown.readBack) {
    out.argument = *shown.readBack;
  } else if (*shown.state == PatchState::Applied) {
    out.argument = NamedArgument(shown.fileName);
  }
  if (status != nullptr && shown.entry < status->entries.size()) {
    out.conflicts = ConflictColumnText(*status, shown.entry);
  }
  return out;
}

PatchesPlan PatchRows::Plan() const {
  PatchesPlan plan;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    const Row& shown = rows_[row];
    if (!shown.state) {
      continue;
    }
    const bool applied = *shown.state == PatchState::Applied;
    if (applied && (!shown.checked || shown.reapply)) {
      plan.removals.push_back(row);
    }
    if (shown.checked && (!applied || shown.reapply)) {
      plan.applications.push_back(row);
    }
  }
  std::reverse(plan.removals.begin(), plan.removals.end());
  return plan;
}

}  // namespace varnock
