#include "engine/general_failure.h"

namespace varnock {

void ShowGeneralFailure(UserInterface& ui, const std::string& description) {
  ui.ShowMessage("ERROR trying to apply binary patch. Error mexage: " + description,
                 MessageIcon::Critical);
}

}  // namespace varnock
