#pragma once

#include <QString>

class QFontMetrics;

namespace varnock::qt {

// `text` as it fits in `width` pixels: whole when it fits; a path loses the middle of its folder
// and keeps its file name ("C:\Games\Co…\tomb4.exe"); other text loses its middle.
QString ElidePath(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace varnock::qt
