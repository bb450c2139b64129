#include "app/patches_presenter.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <limits>
#include <unordered_map>
#include <utility>

#include "app/history_keeping.h"
#include "app/history_texts.h"
#include "app/language_setting.h"
#include "app/patch_rows.h"
#include "app/patches_texts.h"
#include "app/set_files.h"
#include "app/status_worker.h"
#include "app/window_texts.h"
#include "engine/patch_argument.h"
#include "engine/patch_batch.h"
#include "history/history_actions.h"
#include "history/history_store.h"
#include "history/history_summary.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

struct PatchesPresenter::Impl {
  Impl(PatchesView& viewIn, UserInterface& uiIn, PatchesRequest requestIn)
      : view(viewIn),
        ui(uiIn),
        request(std::move(requestIn)),
        rows(request.fileNames),
        ownHistory(request.settings, HistoryFolder()),
        history(request.history != nullptr ? *request.history : ownHistory),
        worker([&viewIn] { viewIn.WakeUp(); }) {}

  // The statuses computed again from what is known of them: only what changed on disk since.
  void Compute(std::function<FolderStatus()> known);
  void ShowRows(bool fromTop = false);
  void ShowProgress();
  void ShowSelected();
  void Guarded(const std::string& failed, const std::function<void()>& handler);

  void ApplyChanges();
  void SaveSet();
  // Marks the rows as the set at `path` asks, when the statuses are known; tells what differs.
  void OpenSet(const std::string& path);
  // The set the window was opened with, once the statuses are known or cannot be.
  void OpenGivenSet();
  // Where a patch of the opened set stands in its order; after every one of them otherwise.
  std::size_t SetRank(const std::string& fileName) const;
  std::optional<std::vector<BatchItem>> Applications(const PatchesPlan& plan);
  // `question` names what `action` will do; when it is empty, `nothing` tells why; with no
  // executable chosen, `noProgram` does. `doneText` says what was done once it is.
  void RunHistoryAction(const std::string& noProgram, const std::function<std::string()>& question,
                        const std::function<std::string()>& nothing, const std::string& title,
                        const std::string& doneText, const std::function<HistoryOutcome()>& action);
  // After the executable was changed: every status is computed anew and every mark follows it;
  // meanwhile the rows stay as they were, the `changedRows` being checked, and the progress
  // line says `doneText`.
  void Recompute(const std::vector<std::size_t>& changedRows, std::string doneText);
  void ShowChanged(const std::vector<std::size_t>& changedRows);

  PatchesView& view;
  UserInterface& ui;
  PatchesRequest request;
  PatchRows rows;
  FolderStatus status;                  // the whole status, once computed
  bool complete = false;                // `status` is the current one
  std::string failure;                  // why the statuses cannot be computed
  std::size_t received = 0;             // statuses the computation has handed over
  std::optional<std::size_t> selected;  // the selected row
  std::string done;                     // what the last change did, until the marks change
  bool changed = false;
  std::unordered_map<std::string, SetArgument> setArguments;  // of the set opened, by name
  HistoryKeeping ownHistory;
  HistoryKeeping& history;
  StatusWorker worker;  // last: stopped before the rest goes
};

void PatchesPresenter::Impl::Guarded(const std::string& failed,
                                     const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& thrown) {
    ui.ShowMessage(texts::UnexpectedFailure(failed, thrown.what()), MessageIcon::None);
  }
}

void PatchesPresenter::Impl::Compute(std::function<FolderStatus()> known) {
  complete = false;
  failure.clear();
  received = 0;
  if (request.exePath.empty() || !FileExists(request.exePath)) {
    failure = request.exePath.empty() ? Tr(kNoProgramChosen) : NotAFileText(request.exePath);
    return;
  }
  worker.Start(request.folder, request.exePath, std::move(known));
}

void PatchesPresenter::Impl::ShowRows(bool fromTop) {
  const std::optional<std::size_t> shown = selected ? rows.VisibleOf(*selected) : std::nullopt;
  if (!shown) {
    selected.reset();
  }
  view.ResetRows(rows.VisibleCount(), shown ? static_cast<int>(*shown) : -1, fromTop);
  ShowSelected();
}

void PatchesPresenter::Impl::ShowSelected() {
  view.SetDescription(selected ? rows.Description(*selected) : std::string());
}

// While the statuses come, the count; once they are known, what the marks ask for.
void PatchesPresenter::Impl::ShowProgress() {
  const PatchesPlan plan = complete ? rows.Plan() : PatchesPlan();
  if (!failure.empty()) {
    view.SetProgress(StatusFailureText(failure));
  } else if (!complete) {
    view.SetProgress(
        AfterChangeText(done, ProgressText(std::min(received, rows.Size()), rows.Size())));
  } else {
    view.SetProgress(plan.Empty() ? AfterChangeText(done, "") : PlanText(plan));
  }
  view.SetApplyEnabled(!plan.Empty());
}

PatchesPresenter::PatchesPresenter(PatchesView& view, UserInterface& ui, PatchesRequest request)
    : impl_(std::make_unique<Impl>(view, ui, std::move(request))) {}

PatchesPresenter::~PatchesPresenter() {
  impl_->worker.Stop();
}

void PatchesPresenter::Open() {
  Impl& impl = *impl_;
  impl.view.SetKeepHistory(impl.history.Keep());
  std::vector<std::string> languages;
  for (const LanguageOption& option : LanguageOptions()) {
    languages.emplace_back(Tr(option.name.data()));
  }
  impl.view.SetLanguages(languages, RememberedLanguageOption(impl.request.settings));
  // The patch the main window shows, with its description, else the first.
  impl.selected = impl.rows.RowOf(impl.request.chosenFile);
  if (impl.selected) {
    impl.rows.Describe(*impl.selected, impl.request.chosenDescription);
  } else if (impl.rows.Size() > 0) {
    impl.selected = 0;
  }
  impl.ShowRows();
  impl.Compute([known = impl.request.known] { return known ? *known : FolderStatus(); });
  impl.ShowProgress();
  impl.OpenGivenSet();
}

void PatchesPresenter::TakeResults() {
  Impl& impl = *impl_;
  StatusWorker::Results results = impl.worker.Take();
  impl.received += results.judged.size();
  std::size_t first = std::numeric_limits<std::size_t>::max();
  std::size_t last = 0;
  for (const FolderStatusEntry& entry : results.judged) {
    const std::optional<std::size_t> row = impl.rows.Judge(entry);
    const std::optional<std::size_t> shown = row ? impl.rows.VisibleOf(*row) : std::nullopt;
    if (shown) {
      first = std::min(first, *shown);
      last = std::max(last, *shown);
    }
  }
  if (results.complete) {
    impl.status = std::move(*results.complete);
    impl.complete = true;
    // The rows are the folder's again when it changed meanwhile: the selection follows its name.
    const std::string selected = impl.selected ? impl.rows.FileName(*impl.selected) : "";
    if (impl.rows.Complete(impl.status)) {
      impl.selected = impl.rows.RowOf(selected);
    }
    impl.ShowRows();
  } else if (impl.rows.FilterOutdated()) {
    impl.rows.SetFilter(impl.rows.Filter());
    impl.ShowRows();
  } else if (first <= last) {
    impl.view.UpdateRows(first, last);
    if (impl.selected) {
      impl.ShowSelected();
    }
  }
  if (!results.failure.empty()) {
    impl.failure = results.failure;
  }
  impl.ShowProgress();
  impl.OpenGivenSet();
}

std::size_t PatchesPresenter::VisibleCount() const {
  return impl_->rows.VisibleCount();
}

PatchRow PatchesPresenter::RowAt(std::size_t visible) const {
  const Impl& impl = *impl_;
  // While the statuses are computed again after a change, the conflicts are the last known.
  return impl.rows.RowAt(impl.rows.RowOfVisible(visible),
                         impl.status.entries.empty() ? nullptr : &impl.status);
}

void PatchesPresenter::FilterChanged(const std::string& text) {
  impl_->rows.SetFilter(text);
  impl_->ShowRows(true);
}

void PatchesPresenter::RowSelected(int visible) {
  Impl& impl = *impl_;
  impl.selected.reset();
  if (visible >= 0 && static_cast<std::size_t>(visible) < impl.rows.VisibleCount()) {
    impl.selected = impl.rows.RowOfVisible(static_cast<std::size_t>(visible));
  }
  impl.ShowSelected();
}

void PatchesPresenter::MarkToggled(std::size_t visible) {
  Impl& impl = *impl_;
  if (visible >= impl.rows.VisibleCount()) {
    return;
  }
  impl.rows.Toggle(impl.rows.RowOfVisible(visible));
  impl.done.clear();
  impl.view.UpdateRows(visible, visible);
  impl.ShowProgress();
}

void PatchesPresenter::ApplyChangesClicked() {
  impl_->Guarded(Tr("ERROR trying to apply the changes"), [this] { impl_->ApplyChanges(); });
}

void PatchesPresenter::RefreshClicked() {
  Impl& impl = *impl_;
  impl.Guarded(Tr("ERROR trying to refresh the statuses"), [&impl] {
    impl.worker.Stop();
    impl.done.clear();
    FolderStatus known = impl.complete ? std::move(impl.status) : FolderStatus();
    impl.status = {};
    impl.Compute([known = std::move(known)]() mutable { return std::move(known); });
    impl.ShowProgress();
  });
}

// When nothing stands to be restored, the check tells why, writing nothing. A refusal because
// another program changed other bytes is told in the window's own words, which count no bytes
// but the question's.
void PatchesPresenter::RestoreClicked() {
  Impl& impl = *impl_;
  impl.Guarded(Tr("ERROR trying to restore the original"), [&impl] {
    const std::string& exe = impl.request.exePath;
    const std::string& folder = impl.history.Folder();
    HistorySummary summary;
    impl.RunHistoryAction(
        NoProgramText(HistoryAction::Restore),
        [&] {
          summary = SummarizeHistory(folder, exe);
          return InWindowWords(summary.restoreQuestion);
        },
        [&] {
          if (!summary.kept) {
            return NoHistoryText(exe, summary, HistoryAction::Restore);
          }
          const HistoryOutcome checked =
              RestoreOriginal({exe, folder}, RestoreRun::Check, RestoreReach::WholeOriginal);
          return checked.forceable ? RefusedRestoreText(exe) : checked.message;
        },
        Tr(kRestoreTitle), Tr(kRestoredText),
        [&] {
          HistoryOutcome outcome =
              RestoreOriginal({exe, folder}, RestoreRun::Write, RestoreReach::WholeOriginal);
          if (!outcome.forceable) {
            return outcome;
          }
          if (impl.view.Confirm(RefusedRestoreText(exe) + "\n\n" + Tr(kForceRestoreQuestion),
                                Tr(kRestoreTitle))) {
            return RestoreOriginal({exe, folder}, RestoreRun::Write, RestoreReach::Force);
          }
          return HistoryOutcome{};  // declined: nothing more to say
        });
  });
}

void PatchesPresenter::UndoClicked() {
  Impl& impl = *impl_;
  impl.Guarded(Tr("ERROR trying to undo the last change"), [&impl] {
    const std::string& exe = impl.request.exePath;
    const std::string& folder = impl.history.Folder();
    HistorySummary summary;
    impl.RunHistoryAction(
        NoProgramText(HistoryAction::Undo),
        [&] {
          summary = SummarizeHistory(folder, exe);
          return InWindowWords(summary.undoQuestion);
        },
        [&] { return NothingToUndoText(exe, summary); }, Tr(kUndoTitle), Tr(kUndoneText),
        [&] {
          return UndoLast({exe, folder});
        });
  });
}

// A history that is kept opens in a list of its own, which scrolls however long it grows.
void PatchesPresenter::HistoryClicked() {
  Impl& impl = *impl_;
  impl.Guarded(Tr("ERROR trying to show the history"), [&impl] {
    const std::string& exe = impl.request.exePath;
    if (exe.empty()) {
      impl.ui.ShowMessage(NoProgramText(HistoryAction::Show), MessageIcon::None);
      return;
    }
    const HistorySummary summary = SummarizeHistory(impl.history.Folder(), exe);
    if (!summary.kept) {
      impl.ui.ShowMessage(NoHistoryText(exe, summary, HistoryAction::Show), MessageIcon::None);
      return;
    }
    impl.view.ShowHistory(ListHistory(exe, summary));
  });
}

void PatchesPresenter::SaveSetClicked() {
  impl_->Guarded(Tr("ERROR trying to save the set"), [this] { impl_->SaveSet(); });
}

void PatchesPresenter::OpenSetClicked() {
  Impl& impl = *impl_;
  impl.Guarded(Tr("ERROR trying to open the set"), [&impl] {
    if (impl.request.exePath.empty()) {
      impl.ui.ShowMessage(SetRefusedText(SetFileDialog::Open, Tr(kNoProgramChosen)),
                          MessageIcon::None);
      return;
    }
    const std::string path = impl.view.AskSetPath(SetFileDialog::Open, impl.request.folder);
    if (!path.empty()) {
      impl.OpenSet(path);
    }
  });
}

void PatchesPresenter::KeepHistoryToggled(bool keep) {
  impl_->history.SetKeep(keep);
}

// The choice is kept; the texts already shown stay in the language they were read in.
void PatchesPresenter::LanguageChosen(std::size_t option) {
  Impl& impl = *impl_;
  const auto options = LanguageOptions();
  if (impl.request.settings == nullptr || option >= options.size() ||
      option == RememberedLanguageOption(impl.request.settings)) {
    return;
  }
  impl.request.settings->Write(kRememberedLanguage, std::string(options[option].code));
  impl.ui.ShowMessage(Tr("Varnock speaks the chosen language from its next start."),
                      MessageIcon::None);
}

void PatchesPresenter::CloseClicked() {
  impl_->worker.Stop();
  impl_->view.CloseWindow();
}

PatchesPlan PatchesPresenter::Plan() const {
  return impl_->rows.Plan();
}

bool PatchesPresenter::ChangedExecutable() const {
  return impl_->changed;
}

const FolderStatus& PatchesPresenter::Status() const {
  static const FolderStatus kNone;
  return impl_->complete ? impl_->status : kNone;
}

// A question for the user first; then the action, its outcome told, and the statuses
// computed anew when it wrote.
void PatchesPresenter::Impl::RunHistoryAction(const std::string& noProgram,
                                              const std::function<std::string()>& question,
                                              const std::function<std::string()>& nothing,
                                              const std::string& title, const std::string& doneText,
                                              const std::function<HistoryOutcome()>& action) {
  if (request.exePath.empty()) {
    ui.ShowMessage(noProgram, MessageIcon::None);
    return;
  }
  const std::string asked = question();
  if (asked.empty()) {
    ui.ShowMessage(nothing(), MessageIcon::None);
    return;
  }
  if (!view.Confirm(asked, title)) {
    return;
  }
  worker.Stop();
  const HistoryOutcome outcome = action();
  if (!outcome.message.empty()) {
    ui.ShowMessage(outcome.message, outcome.ok ? MessageIcon::None : MessageIcon::Critical);
  }
  if (outcome.ok) {
    changed = true;
    // A forced restore is not the original: only what the checksum confirms is said done.
    Recompute(rows.RowsNamedIn(asked), outcome.confirmed ? doneText : Tr(kKnownBytesRestoredText));
  } else if (!complete) {
    Compute({});  // the statuses stopped for the action are computed after all
    ShowProgress();
  }
}

void PatchesPresenter::Impl::Recompute(const std::vector<std::size_t>& changedRows,
                                       std::string doneText) {
  worker.Stop();
  setArguments.clear();
  done = std::move(doneText);
  rows.Recheck(changedRows);
  ShowChanged(changedRows);
  Compute({});
  ShowProgress();
}

// The rows shown among `changedRows` drawn again, as one span.
void PatchesPresenter::Impl::ShowChanged(const std::vector<std::size_t>& changedRows) {
  std::size_t first = std::numeric_limits<std::size_t>::max();
  std::size_t last = 0;
  for (const std::size_t row : changedRows) {
    if (const std::optional<std::size_t> shown = rows.VisibleOf(row)) {
      first = std::min(first, *shown);
      last = std::max(last, *shown);
    }
  }
  if (first <= last) {
    view.UpdateRows(first, last);
  }
}

// The arguments of the patches to apply, one question each, in list order; none when the user
// gave no answer to one of them.
std::optional<std::vector<BatchItem>> PatchesPresenter::Impl::Applications(
    const PatchesPlan& plan) {
  std::vector<BatchItem> items;
  for (const std::size_t row : plan.applications) {
    const std::string& name = rows.FileName(row);
    BatchItem item{JoinPath(request.folder, name), std::nullopt};
    if (const auto fromSet = setArguments.find(name); fromSet != setArguments.end()) {
      item.argument = fromSet->second.value;
    } else if (name.find('#') != std::string::npos) {
      const std::optional<std::string>& readBack = rows.ReadBack(row);
      const std::string proposed = readBack ? *readBack : NamedArgument(name);
      item.argument = ui.AskText(ArgumentPrompt(name), Tr(kArgumentTitle), proposed);
      if (!item.argument || item.argument->empty()) {
        return std::nullopt;
      }
    }
    items.push_back(std::move(item));
  }
  std::ranges::stable_sort(
      items, {}, [this](const BatchItem& item) { return SetRank(GetFileName(item.patchPath)); });
  return items;
}

std::size_t PatchesPresenter::Impl::SetRank(const std::string& fileName) const {
  const auto found = setArguments.find(fileName);
  return found == setArguments.end() ? std::numeric_limits<std::size_t>::max() : found->second.rank;
}

void PatchesPresenter::Impl::SaveSet() {
  if (request.exePath.empty()) {
    ui.ShowMessage(SetRefusedText(SetFileDialog::Save, Tr(kNoProgramChosen)), MessageIcon::None);
    return;
  }
  const std::string path = view.AskSetPath(SetFileDialog::Save, request.folder);
  if (!path.empty() && SaveSetAs(request.folder, request.exePath, path, ui)) {
    done = SetSavedText(path);
    ShowProgress();
  }
}

void PatchesPresenter::Impl::OpenGivenSet() {
  if (!request.setPath.empty() && (complete || !failure.empty())) {
    OpenSet(std::exchange(request.setPath, {}));
  }
}

void PatchesPresenter::Impl::OpenSet(const std::string& path) {
  if (!failure.empty() || !complete) {
    ui.ShowMessage(
        SetRefusedText(SetFileDialog::Open, failure.empty() ? Tr(kStatusesPending) : failure),
        MessageIcon::None);
    return;
  }
  OpenedSet opened = varnock::OpenSet(path, status);
  if (!opened.refused) {
    rows.FollowStatuses();  // what an earlier set or the user marked goes
    for (const SetMark& mark : opened.marks) {
      if (const std::optional<std::size_t> row = rows.RowOf(mark.fileName)) {
        rows.MarkForSet(*row, mark.checked, mark.reapply);
      }
    }
    setArguments = std::move(opened.arguments);
    done.clear();
    ShowRows();
    ShowProgress();
  }
  ui.ShowMessage(opened.message, opened.refused ? MessageIcon::Critical : MessageIcon::None);
}

void PatchesPresenter::Impl::ApplyChanges() {
  const PatchesPlan plan = rows.Plan();
  if (!complete || plan.Empty()) {
    return;
  }
  std::optional<std::vector<BatchItem>> applications = Applications(plan);
  if (!applications) {
    return;
  }
  std::vector<BatchItem> removals;
  for (const std::size_t row : plan.removals) {
    removals.push_back({JoinPath(request.folder, rows.FileName(row)), rows.ReadBack(row)});
  }
  worker.Stop();
  const ResultCode result = PerformChanges(removals, *applications, request.exePath,
                                           {.ui = ui, .history = history.ForChange()});
  history.TellFailure(ui);
  if (result == ResultDone) {
    changed = true;
  }
  // A failure changed nothing; anything else means the statuses were not the file's.
  if (result != ResultFailed) {
    std::vector<std::size_t> changedRows = plan.removals;
    changedRows.insert(changedRows.end(), plan.applications.begin(), plan.applications.end());
    Recompute(changedRows, result == ResultDone
                               ? ChangesDoneText(plan.applications.size(), plan.removals.size())
                               : std::string());
  }
}

}  // namespace varnock
