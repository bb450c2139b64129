#include "app/main_presenter.h"

#include <exception>
#include <utility>

#include "app/window_texts.h"
#include "support/files.h"

namespace varnock {

MainPresenter::MainPresenter(MainWindowView& view, FileOrFolderPicker& picker, UserInterface& ui,
                             AppEnvironment environment)
    : view_(view), picker_(picker), ui_(ui), environment_(std::move(environment)) {}

bool MainPresenter::Load() {
  Guarded("start the program", [this] { InitProgram(); });
  if (!unloaded_ && !environment_.openedFiles.empty()) {
    Guarded("open the files", [this] { OpenFiles(environment_.openedFiles); });
  }
  return !unloaded_;
}

void MainPresenter::Unload() {
  if (unloaded_) {
    return;
  }
  unloaded_ = true;
  picker_.Unload();
  for (std::int32_t i = 0; i < state_.UnpackedCount; ++i) {
    RemoveFile(state_.UnpackedFiles[static_cast<std::size_t>(i)]);
  }
}

void MainPresenter::CloseClicked() {
  Unload();
  view_.CloseWindow();
}

const std::string& MainPresenter::Caption(MainLabel label) const {
  return captions_[static_cast<std::size_t>(label)];
}

void MainPresenter::SetCaption(MainLabel label, const std::string& text) {
  captions_[static_cast<std::size_t>(label)] = text;
  view_.SetCaption(label, text);
}

void MainPresenter::SetDescription(const std::string& text) {
  description_ = text;
  view_.SetDescription(text);
}

void MainPresenter::Guarded(const std::string& doing, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    ui_.ShowMessage(texts::UnexpectedFailure(doing, failure.what()), MessageIcon::None);
  }
}

}  // namespace varnock
