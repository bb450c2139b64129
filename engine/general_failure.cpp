#include "engine/general_failure.h"

#include <exception>
#include <new>

namespace varnock {

void ShowGeneralFailure(UserInterface& ui, const std::string& description) {
  ui.ShowMessage("ERROR trying to apply binary patch. Error mexage: " + description,
                 MessageIcon::Critical);
}

ResultCode ReportingFailures(UserInterface& ui, const std::function<ResultCode()>& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    ShowGeneralFailure(ui, "not enough memory");
  } catch (const std::exception& error) {
    ShowGeneralFailure(ui, error.what());
  }
  return ResultFailed;
}

}  // namespace varnock
