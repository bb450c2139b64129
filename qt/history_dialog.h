#pragma once

#include "app/history_texts.h"

class QWidget;

namespace varnock::qt {

// The History window over `parent`, modally: the rows of the history in a list that scrolls,
// the file's state under them; returns when it is closed.
void ShowHistoryDialog(const HistoryListing& listing, QWidget* parent);

}  // namespace varnock::qt
