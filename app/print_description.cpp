#include <string>

#include "app/main_presenter.h"
#include "app/window_texts.h"

namespace varnock {

namespace {

// The description prints in the face of its text box, at 10 points.
constexpr const char* kPrintFace = "Courier";
constexpr int kPrintPoints = 10;

}  // namespace

void MainPresenter::PrintClicked() {
  Guarded("print the description", [this] { PrintDescription(); });
}

void MainPresenter::PrintDescription() {
  std::string error;
  if (!view_.PrintText(description_, kPrintFace, kPrintPoints, error)) {
    ui_.ShowMessage(texts::UnexpectedFailure("print the description", error), MessageIcon::None);
  }
}

}  // namespace varnock
