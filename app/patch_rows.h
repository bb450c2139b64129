#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/patches_presenter.h"
#include "engine/folder_status.h"

namespace varnock {

// The rows of the Patches window: one per patch, in list order, with its check mark and what is
// known of its status; the filter that narrows the rows shown; and the plan the marks make.
// Rows are numbered in list order ("row"); the rows shown are numbered apart ("visible").
class PatchRows {
 public:
  // Every row pending and unchecked.
  explicit PatchRows(const std::vector<std::string>& fileNames);

  std::size_t Size() const { return rows_.size(); }
  const std::string& FileName(std::size_t row) const { return rows_[row].fileName; }
  const std::string& Description(std::size_t row) const { return rows_[row].description; }
  // The description known before the row's status comes (the main window's).
  void Describe(std::size_t row, std::string description) {
    rows_[row].description = std::move(description);
  }
  std::optional<std::size_t> RowOf(const std::string& fileName) const;

  // What the status of one patch says; a row whose mark the user has not set takes the mark of
  // its status (applied: checked). The row, or none when no row has that name.
  std::optional<std::size_t> Judge(const FolderStatusEntry& entry);
  // The whole folder's status: every row judged again and pointed at its entry, so that the
  // conflicts show. When the folder's patches are not the rows' any more (files added or taken
  // away), the rows become the folder's, in its order, keeping the marks the user set. True
  // when the rows changed.
  bool Complete(const FolderStatus& status);
  // The executable changed: every row keeps its mark and its status until its new one comes,
  // the marks then following the statuses, and the rows `changed` are pending again (being
  // checked).
  void Recheck(const std::vector<std::size_t>& changed);
  // The rows whose file name `text` holds, as a confirmation names the patches it changes.
  std::vector<std::size_t> RowsNamedIn(const std::string& text) const;

  // Narrows the rows shown to those whose name or description holds `text`, case ignored;
  // the rows hidden keep their marks.
  void SetFilter(const std::string& text);
  const std::string& Filter() const { return filter_; }
  // True when the filter lets through another set of rows than it shows (descriptions have
  // come in since it was set).
  bool FilterOutdated() const;
  std::size_t VisibleCount() const { return visible_.size(); }
  std::size_t RowOfVisible(std::size_t visible) const { return visible_[visible]; }
  // The position of `row` among the rows shown; none when it is hidden.
  std::optional<std::size_t> VisibleOf(std::size_t row) const;

  // The user changes the mark.
  void Toggle(std::size_t row);
  // Every mark back to its status (applied: checked), as the user had set none.
  void FollowStatuses();
  // The mark an opened set asks for, as if the user set it; `reapply`: an applied row that is
  // to be removed and applied again (with the set's value) while it stays checked.
  void MarkForSet(std::size_t row, bool checked, bool reapply);
  // The row as the list shows it; `status`, when complete, gives its conflicts.
  PatchRow RowAt(std::size_t row, const FolderStatus* status) const;
  // The removals and applications the marks ask for (a checked row to apply again is both).
  // Rows whose status is not known yet and those that are partly applied or do not fit while
  // unchecked are left as they are.
  PatchesPlan Plan() const;
  // The argument a removal of `row` is to be given: the value read back; none for the value
  // its name carries.
  const std::optional<std::string>& ReadBack(std::size_t row) const { return rows_[row].readBack; }

 private:
  struct Row {
    explicit Row(std::string name) : fileName(std::move(name)) {}
    std::string fileName;
    std::string description;
    std::optional<PatchState> state;  // none while pending
    std::optional<std::string> readBack;
    bool dynamic = false;
    bool checked = false;
    bool markedByUser = false;
    bool reapply = false;
    std::size_t entry = kNoEntry;  // its entry in the complete status
  };
  static constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

  bool Matches(const Row& row) const;
  void Index();

  std::vector<Row> rows_;
  std::unordered_map<std::string, std::size_t> byName_;
  std::string filter_;
  std::vector<std::size_t> visible_;
  std::vector<std::size_t> visibleOf_;  // by row; kHidden when hidden
  static constexpr std::size_t kHidden = static_cast<std::size_t>(-1);
};

}  // namespace varnock
