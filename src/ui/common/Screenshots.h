#pragma once

#include <QString>

class QWidget;

namespace orven::ui {

// Renders a widget, shown or not, into a PNG file; works without a display
// (QT_QPA_PLATFORM=offscreen). The folder is created when missing. Throws
// orven::Error when the file cannot be written.
void renderToPng(QWidget *widget, const QString &path);

} // namespace orven::ui
