#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QWidget>

#include <functional>

class QPainter;

namespace orven::ui::art {

// The shell's own artwork, drawn with QPainter at any size: no image files.

// Colours of the shell.
inline const QColor kTeal(0, 128, 128);
inline const QColor kTealDark(0, 84, 88);
inline const QColor kTealLight(38, 170, 168);
inline const QColor kAccent(88, 214, 206);
inline const QColor kGold(236, 186, 72);
inline const QColor kProgressGreen(128, 255, 0);

// Fonts. The designed faces (Tahoma, Verdana) are Windows fonts; on systems
// without them the closest installed face is used: a condensed sans for
// Tahoma, a wide sans for Verdana.
QFont tahoma(int pixelSize, bool bold = false);
QFont verdana(int pixelSize, bool bold = false);

// Pictures of the main window.
void paintBannerLeft(QPainter &p, const QRect &r);   // 519 x 83, black
void paintBannerRight(QPainter &p, const QRect &r);  // 167 x 83, black, under the exit buttons
void paintMenuColumn(QPainter &p, const QRect &r);   // the teal column
void paintColumnPicture(QPainter &p, const QRect &r); // 57 high, under the menu group
void paintWorkspace(QPainter &p, const QRect &r);    // the MDI area without children
// Picture of the wait window.
void paintWaitBackground(QPainter &p, const QRect &r);

enum class Glyph {
    Generator,
    Revenue,
    Expense,
    Outstanding,
    Guarantees,
    Viewer,
    Capture,
    ExitDoor,
    ExitClose,
    Module,
    Folder,
    Unit,
    Package,
};

// A glyph drawn into a square of the given size (device-independent pixels).
void paintGlyph(QPainter &p, Glyph glyph, const QRectF &box);
QIcon glyphIcon(Glyph glyph, int size);

// A widget that shows one of the pictures above over its whole surface.
class Picture : public QWidget {
public:
    using Painter = std::function<void(QPainter &, const QRect &)>;
    Picture(Painter painter, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Painter m_painter;
};

} // namespace orven::ui::art
