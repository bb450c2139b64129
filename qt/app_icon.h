#pragma once

#include <QIcon>

namespace varnock::qt {

// The program's icon, drawn at the usual sizes: a green "V" on the dark green of the window's
// value fields, with a red patch over one corner.
QIcon AppIcon();

}  // namespace varnock::qt
