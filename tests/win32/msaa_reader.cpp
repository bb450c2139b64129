#include "tests/win32/msaa_reader.h"

#include <oleacc.h>

#include "win32/text.h"

namespace varnock::testing {

namespace {

// IAccessible's identifier, as Windows defines it (the one mingw-w64's import libraries give
// is refused by Wine's oleacc with E_NOINTERFACE).
constexpr IID kAccessibleInterface = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string Taken(BSTR text) {
  if (text == nullptr) {
    return {};
  }
  std::string taken = win32::Narrow(std::wstring(text, SysStringLen(text)));
  SysFreeString(text);
  return taken;
}

long Number(IAccessible* accessible,
            HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
            const VARIANT& which) {
  VARIANT answer{};
  const bool read = SUCCEEDED((accessible->*get)(which, &answer)) && answer.vt == VT_I4;
  const long number = read ? answer.lVal : 0;
  VariantClear(&answer);
  return number;
}

}  // namespace

AccessibleReading ReadAccessible(HWND control, long child) {
  AccessibleReading reading;
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                        kAccessibleInterface,
                                        reinterpret_cast<void**>(&accessible))) ||
      accessible == nullptr) {
    return reading;
  }
  VARIANT which{};
  which.vt = VT_I4;
  which.lVal = child;
  VARIANT state{};
  reading.found = SUCCEEDED(accessible->get_accState(which, &state)) && state.vt == VT_I4;
  reading.state = reading.found ? state.lVal : 0;
  VariantClear(&state);
  BSTR text = nullptr;
  if (reading.found && accessible->get_accName(which, &text) == S_OK) {
    reading.name = Taken(text);
  }
  text = nullptr;
  if (reading.found && accessible->get_accValue(which, &text) == S_OK) {
    reading.value = Taken(text);
  }
  reading.role = reading.found ? Number(accessible, &IAccessible::get_accRole, which) : 0;
  if (child == CHILDID_SELF) {
    accessible->get_accChildCount(&reading.children);
  }
  accessible->Release();
  return reading;
}

}  // namespace varnock::testing
