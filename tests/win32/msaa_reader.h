#pragma once

#include <windows.h>

#include <string>

namespace varnock::testing {

// What a screen reader reads of a control through MSAA (oleacc's AccessibleObjectFromWindow),
// the accessibility interface that both Windows and Wine give every window; `child` 0 is the
// control itself, 1 and up its items (the rows of a list).
struct AccessibleReading {
  bool found = false;  // the control or item could be read at all
  std::string name;
  long role = 0;
  long state = 0;
  std::string value;
  long children = 0;
};

AccessibleReading ReadAccessible(HWND control, long child = 0);

}  // namespace varnock::testing
