#pragma once

#include <QIcon>

#include "app/patches_presenter.h"

namespace varnock::qt {

// The small picture before a status word, one shape and colour per group, so that the groups
// are told apart at a glance and without colour: a green disc (applied), a grey ring (not
// applied), an orange triangle (partly applied or does not fit), a blue square (another build or
// program), a red cross (broken); nothing while the status is computed.
QIcon StatusIcon(StatusGroup group, int size);

}  // namespace varnock::qt
