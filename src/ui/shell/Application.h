#pragma once

class QApplication;

namespace orven::ui {

// Program-wide settings of the desktop program: the title "ORVEN (XML)",
// version, window icon and the widget style the shell's artwork is drawn for.
void setUpApplication(QApplication &app);

} // namespace orven::ui
