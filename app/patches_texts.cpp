#include "app/patches_texts.h"

#include "app/status_line.h"
#include "support/paths.h"
#include "support/translation.h"

namespace varnock {

namespace {

// What "Apply changes" will do, by how many patches it removes and applies (none, one, more):
// %1 the removals, %2 the applications.
constexpr const char* kPlanTexts[3][3] = {
    // TRANSLATORS: %1 is the number of patches removed, %2 the number applied; "Apply changes"
    // is the caption of the Patches window's button
    {nullptr, TrNoop("Apply changes will apply %2 patch."),
     TrNoop("Apply changes will apply %2 patches.")},
    {TrNoop("Apply changes will remove %1 patch."),
     TrNoop("Apply changes will remove %1 patch and apply %2 patch."),
     TrNoop("Apply changes will remove %1 patch and apply %2 patches.")},
    {TrNoop("Apply changes will remove %1 patches."),
     TrNoop("Apply changes will remove %1 patches and apply %2 patch."),
     TrNoop("Apply changes will remove %1 patches and apply %2 patches.")},
};

std::size_t HowMany(std::size_t count) {
  return count < 2 ? count : 2;
}

}  // namespace

std::string ProgressText(std::size_t judged, std::size_t total) {
  // TRANSLATORS: how many of the patches have their status computed: %1 of %2
  return TrFormat("Statuses: %1 of %2", {GroupedNumber(judged), GroupedNumber(total)});
}

std::string SetRefusedText(SetFileDialog dialog, const std::string& why) {
  if (dialog == SetFileDialog::Save) {
    // TRANSLATORS: %1 is why, such as "no program to patch is chosen in the main window"
    return TrFormat("No set can be saved: %1.", {why});
  }
  // TRANSLATORS: %1 is why, such as "the statuses are still being computed"
  return TrFormat("No set can be opened: %1.", {why});
}

std::string SetSavedText(const std::string& path) {
  // TRANSLATORS: %1 is the set file's name
  return TrFormat("Set saved as %1", {GetFileName(path)});
}

std::string PlanText(const PatchesPlan& plan) {
  if (plan.Empty()) {
    return {};
  }
  const std::size_t removals = plan.removals.size();
  const std::size_t applications = plan.applications.size();
  return FillPlaceholders(Tr(kPlanTexts[HowMany(removals)][HowMany(applications)]),
                          {GroupedNumber(removals), GroupedNumber(applications)});
}

std::string ChangesDoneText(std::size_t applied, std::size_t removed) {
  if (applied > 0 && removed > 0) {
    // TRANSLATORS: how many patches were applied (%1) and removed (%2)
    return TrFormat("%1 applied, %2 removed", {GroupedNumber(applied), GroupedNumber(removed)});
  }
  if (applied > 0) {
    // TRANSLATORS: how many patches were applied
    return TrFormat("%1 applied", {GroupedNumber(applied)});
  }
  if (removed > 0) {
    // TRANSLATORS: how many patches were removed
    return TrFormat("%1 removed", {GroupedNumber(removed)});
  }
  return {};
}

std::string AfterChangeText(const std::string& done, const std::string& more) {
  if (done.empty()) {
    return more;
  }
  return more.empty() ? done + "." : done + ". " + more;
}

std::string StatusFailureText(const std::string& failure) {
  const bool whole = !failure.empty() && failure.back() == '.';
  if (whole) {
    // TRANSLATORS: %1 is why, a sentence that ends with its own full stop
    return TrFormat("Statuses cannot be computed: %1", {failure});
  }
  // TRANSLATORS: %1 is why, such as "the program cannot be read"
  return TrFormat("Statuses cannot be computed: %1.", {failure});
}

std::string ArgumentPrompt(const std::string& fileName) {
  // TRANSLATORS: %1 is the patch file's name
  return TrFormat("Set argument value for %1", {fileName});
}

}  // namespace varnock
