#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace varnock::testing {

// Answers the modal windows a test opens in its own thread. Every message box's text is
// recorded and the box answered with OK; a file dialog is given the next of `fileNames` and
// answered with OK. A picker or input box runs the next step queued for
// its window class, once the window is active and has the focus. A box or window still open
// after ten seconds without another one being activated, one that nobody expected or that a
// step left open, fails the test and is closed. One driver at a time.
class ModalDriver {
 public:
  using Step = std::function<void(HWND)>;

  ModalDriver();
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // The next activation of a window of `windowClass` runs `step` with that window.
  void Then(const wchar_t* windowClass, Step step) {
    steps_.emplace_back(windowClass, std::move(step));
  }
  bool Done() const { return steps_.empty(); }

  std::vector<std::string> messages;  // the texts of the message boxes
  std::deque<std::string> fileNames;  // typed into the file dialogs, first first

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HHOOK hook_ = nullptr;
  HWND calls_ = nullptr;
  std::deque<std::pair<std::wstring, Step>> steps_;
  std::set<HWND> seen_;
};

// A click on a dialog's button, posted.
void PostClick(HWND dialog, int buttonId);
// A list box's item chosen as a click does, or with `open` as a double click; the dialog has
// handled it on return.
void ChooseInList(HWND dialog, int listId, const std::string& item, bool open = false);

}  // namespace varnock::testing
