#include "engine/general_failure.h"

#include <exception>
#include <new>

#include "support/translation.h"

namespace varnock {

void ShowGeneralFailure(UserInterface& ui, const std::string& description) {
  // TRANSLATORS: %1 says what went wrong.
  ui.ShowMessage(TrFormat("ERROR trying to apply binary patch. Error mexage: %1", {description}),
                 MessageIcon::Critical);
}

ResultCode ReportingFailures(UserInterface& ui, const std::function<ResultCode()>& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    ShowGeneralFailure(ui, Tr("not enough memory"));
  } catch (const std::exception& error) {
    ShowGeneralFailure(ui, error.what());
  }
  return ResultFailed;
}

}  // namespace varnock
