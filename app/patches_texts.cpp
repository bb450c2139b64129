#include "app/patches_texts.h"

#include "app/status_line.h"
#include "support/paths.h"

namespace varnock {

namespace {

std::string Patches(std::size_t count) {
  return GroupedNumber(count) + (count == 1 ? " patch" : " patches");
}

}  // namespace

std::string ProgressText(std::size_t judged, std::size_t total) {
  return "Statuses: " + GroupedNumber(judged) + " of " + GroupedNumber(total);
}

std::string SetRefusedText(SetFileDialog dialog, const std::string& why) {
  return std::string(dialog == SetFileDialog::Save ? "No set can be saved: "
                                                   : "No set can be opened: ") +
         why + ".";
}

std::string SetSavedText(const std::string& path) {
  return "Set saved as " + GetFileName(path);
}

std::string PlanText(const PatchesPlan& plan) {
  if (plan.Empty()) {
    return {};
  }
  std::string text = "Apply changes will ";
  if (!plan.removals.empty()) {
    text += "remove " + Patches(plan.removals.size());
  }
  if (!plan.applications.empty()) {
    text += (plan.removals.empty() ? "apply " : " and apply ") + Patches(plan.applications.size());
  }
  return text + ".";
}

std::string ChangesDoneText(std::size_t applied, std::size_t removed) {
  std::string text;
  if (applied > 0) {
    text = GroupedNumber(applied) + " applied";
  }
  if (removed > 0) {
    text += (text.empty() ? "" : ", ") + GroupedNumber(removed) + " removed";
  }
  return text;
}

std::string AfterChangeText(const std::string& done, const std::string& more) {
  if (done.empty()) {
    return more;
  }
  return more.empty() ? done + "." : done + ". " + more;
}

std::string StatusFailureText(const std::string& failure) {
  const bool whole = !failure.empty() && failure.back() == '.';
  return "Statuses cannot be computed: " + failure + (whole ? "" : ".");
}

std::string ArgumentPrompt(const std::string& fileName) {
  return "Set argument value for " + fileName;
}

}  // namespace varnock
