#include "shell/Artwork.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <cmath>

namespace orven::ui::art {

namespace {

// The first of the faces that is really installed (fontconfig answers for
// any name with a substitute, so ask the database, not the matcher).
QString installedFace(std::initializer_list<const char *> faces)
{
    static const QStringList families = QFontDatabase::families();
    for (const char *face : faces) {
        const QString name = QString::fromLatin1(face);
        if (families.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QString();
}

QFont face(const QString &family, int pixelSize, bool bold)
{
    QFont f;
    if (!family.isEmpty())
        f.setFamily(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

} // namespace

QFont tahoma(int pixelSize, bool bold)
{
    static const QString family =
        installedFace({"Tahoma", "DejaVu Sans Condensed", "Liberation Sans Narrow", "Arial", "DejaVu Sans"});
    return face(family, pixelSize, bold);
}

QFont verdana(int pixelSize, bool bold)
{
    static const QString family = installedFace({"Verdana", "DejaVu Sans", "Arial"});
    return face(family, pixelSize, bold);
}

namespace {

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// A sheet of paper with a folded corner, used by several glyphs.
QPainterPath sheetPath(const QRectF &r, qreal fold)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    return path;
}

void paintSheet(QPainter &p, const QRectF &r, const QColor &paper, const QColor &edge)
{
    const qreal fold = r.width() * 0.32;
    p.setPen(QPen(edge, std::max<qreal>(1.0, r.width() / 18.0)));
    p.setBrush(paper);
    p.drawPath(sheetPath(r, fold));
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(paper.darker(125));
    p.drawPath(corner);
}

void paintCoins(QPainter &p, const QRectF &r)
{
    // Three stacked coins seen from the side.
    const qreal h = r.height() / 5.0;
    for (int i = 0; i < 3; ++i) {
        QRectF coin(r.left(), r.bottom() - (i + 1) * h * 1.15 - h * 0.2, r.width(), h * 1.4);
        QLinearGradient g(coin.topLeft(), coin.bottomLeft());
        g.setColorAt(0, QColor(255, 226, 130));
        g.setColorAt(1, QColor(196, 140, 30));
        p.setPen(QPen(QColor(130, 88, 10), 1));
        p.setBrush(g);
        p.drawRoundedRect(coin, coin.height() / 2.2, coin.height() / 2.2);
    }
}

void paintArrow(QPainter &p, const QRectF &r, bool up, const QColor &colour)
{
    QPainterPath path;
    const qreal cx = r.center().x();
    const qreal shaft = r.width() * 0.34;
    if (up) {
        path.moveTo(cx, r.top());
        path.lineTo(r.right(), r.top() + r.height() * 0.5);
        path.lineTo(cx + shaft / 2, r.top() + r.height() * 0.5);
        path.lineTo(cx + shaft / 2, r.bottom());
        path.lineTo(cx - shaft / 2, r.bottom());
        path.lineTo(cx - shaft / 2, r.top() + r.height() * 0.5);
        path.lineTo(r.left(), r.top() + r.height() * 0.5);
    } else {
        path.moveTo(cx, r.bottom());
        path.lineTo(r.right(), r.top() + r.height() * 0.5);
        path.lineTo(cx + shaft / 2, r.top() + r.height() * 0.5);
        path.lineTo(cx + shaft / 2, r.top());
        path.lineTo(cx - shaft / 2, r.top());
        path.lineTo(cx - shaft / 2, r.top() + r.height() * 0.5);
        path.lineTo(r.left(), r.top() + r.height() * 0.5);
    }
    path.closeSubpath();
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawPath(path);
}

// The program's emblem: a teal tile holding a sheet with an XML tag.
void paintEmblem(QPainter &p, const QRectF &r, int alpha = 255)
{
    p.save();
    p.setOpacity(alpha / 255.0);
    QLinearGradient tile(r.topLeft(), r.bottomRight());
    tile.setColorAt(0, kTealLight);
    tile.setColorAt(1, kTealDark);
    p.setPen(QPen(kAccent, r.width() / 40.0));
    p.setBrush(tile);
    const qreal radius = r.width() * 0.2;
    p.drawRoundedRect(r, radius, radius);

    const QRectF sheet(r.left() + r.width() * 0.24, r.top() + r.height() * 0.14, r.width() * 0.52,
                       r.height() * 0.72);
    paintSheet(p, sheet, QColor(250, 252, 252), QColor(200, 214, 214));
    // Lines of text on the sheet.
    p.setPen(QPen(QColor(160, 184, 186), std::max<qreal>(1.0, r.width() / 40.0)));
    for (int i = 0; i < 3; ++i) {
        const qreal y = sheet.top() + sheet.height() * (0.18 + i * 0.11);
        p.drawLine(QPointF(sheet.left() + sheet.width() * 0.15, y),
                   QPointF(sheet.right() - sheet.width() * (i == 0 ? 0.42 : 0.15), y));
    }
    // The tag badge.
    const QRectF badge(r.left() + r.width() * 0.12, r.top() + r.height() * 0.56, r.width() * 0.62,
                       r.height() * 0.26);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawRoundedRect(badge, badge.height() * 0.25, badge.height() * 0.25);
    QFont f = verdana(std::max(6, int(badge.height() * 0.72)), true);
    p.setFont(f);
    p.setPen(QColor(60, 40, 0));
    p.drawText(badge, Qt::AlignCenter, QStringLiteral("XML"));
    p.restore();
}

} // namespace

void paintBannerLeft(QPainter &p, const QRect &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(r, Qt::black);

    // A soft teal glow behind the emblem.
    QRadialGradient glow(QPointF(r.left() + 46, r.center().y()), 70);
    glow.setColorAt(0, withAlpha(kTeal, 120));
    glow.setColorAt(1, withAlpha(kTeal, 0));
    p.fillRect(QRect(r.left(), r.top(), 140, r.height()), glow);

    paintEmblem(p, QRectF(r.left() + 18, r.top() + 13, 56, 56));

    // Word mark.
    QFont big = verdana(34, true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(big);
    p.setPen(Qt::white);
    const int x = r.left() + 92;
    const int base = r.top() + 47;
    p.drawText(QPoint(x, base), QStringLiteral("ORVEN"));
    const int wordWidth = QFontMetrics(big).horizontalAdvance(QStringLiteral("ORVEN"));
    QFont tag = verdana(18, true);
    p.setFont(tag);
    p.setPen(kGold);
    p.drawText(QPoint(x + wordWidth + 10, base), QStringLiteral("(XML)"));

    // Subtitle and a thin rule.
    QFont sub = verdana(11);
    p.setFont(sub);
    p.setPen(QColor(150, 190, 190));
    p.drawText(QPoint(x + 1, base + 20),
               QStringLiteral("Gerador do Arquivo de Captura  \u2022  Gestão Fiscal Bimestral"));
    QLinearGradient rule(QPointF(x, 0), QPointF(r.right(), 0));
    rule.setColorAt(0, withAlpha(kAccent, 200));
    rule.setColorAt(1, withAlpha(kAccent, 0));
    p.fillRect(QRectF(x + 1, base + 6, r.right() - x - 20, 1.5), rule);

    // Small label over the word mark.
    QFont small = verdana(9, true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(small);
    p.setPen(QColor(120, 150, 150));
    p.drawText(QPoint(x + 2, r.top() + 14), QStringLiteral("ZUNT 8.0  \u00B7  CONTABILIDADE PÚBLICA"));
    p.restore();
}

void paintBannerRight(QPainter &p, const QRect &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(r, Qt::black);
    // Diagonal bands that fade towards the left.
    p.setClipRect(r);
    for (int i = 0; i < 7; ++i) {
        const qreal x0 = r.left() + 20 + i * 22;
        QPainterPath band;
        band.moveTo(x0, r.bottom() + 1);
        band.lineTo(x0 + 40, r.top());
        band.lineTo(x0 + 52, r.top());
        band.lineTo(x0 + 12, r.bottom() + 1);
        band.closeSubpath();
        p.fillPath(band, withAlpha(kTeal, 18 + i * 9));
    }
    QLinearGradient shade(QPointF(r.left(), 0), QPointF(r.left() + 60, 0));
    shade.setColorAt(0, QColor(0, 0, 0, 255));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(r.left(), r.top(), 60, r.height()), shade);
    p.restore();
}

void paintMenuColumn(QPainter &p, const QRect &r)
{
    QLinearGradient g(QPointF(r.left(), 0), QPointF(r.right(), 0));
    g.setColorAt(0, kTeal);
    g.setColorAt(1, kTeal.darker(112));
    p.fillRect(r, g);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), kTealDark.darker(130));
}

void paintColumnPicture(QPainter &p, const QRect &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = QRectF(r).adjusted(8, 5, -8, -5);
    p.setPen(QPen(withAlpha(Qt::white, 70), 1));
    p.setBrush(withAlpha(Qt::black, 45));
    p.drawRoundedRect(panel, 6, 6);

    // A small bar chart: six bimesters.
    const qreal baseY = panel.bottom() - 9;
    const qreal heights[6] = {10, 16, 13, 21, 18, 27};
    for (int i = 0; i < 6; ++i) {
        QRectF bar(panel.left() + 10 + i * 8, baseY - heights[i], 6, heights[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 5 ? kGold : withAlpha(Qt::white, 200));
        p.drawRect(bar);
    }
    p.setPen(QPen(withAlpha(Qt::white, 160), 1));
    p.drawLine(QPointF(panel.left() + 8, baseY + 0.5), QPointF(panel.left() + 60, baseY + 0.5));

    p.setPen(Qt::white);
    p.setFont(tahoma(14, true));
    p.drawText(QRectF(panel.left() + 66, panel.top() + 6, panel.width() - 70, 18), Qt::AlignLeft,
               QStringLiteral("LRF"));
    p.setFont(tahoma(10));
    p.setPen(withAlpha(Qt::white, 210));
    p.drawText(QRectF(panel.left() + 66, panel.top() + 24, panel.width() - 70, 14), Qt::AlignLeft,
               QStringLiteral("6 bimestres"));
    p.restore();
}

void paintWorkspace(QPainter &p, const QRect &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(QPointF(0, r.top()), QPointF(0, r.bottom()));
    g.setColorAt(0, QColor(236, 241, 242));
    g.setColorAt(1, QColor(200, 213, 216));
    p.fillRect(r, g);

    // Watermark in the middle: the emblem, the name and a hint.
    const QPointF c = r.center();
    const qreal size = std::clamp<qreal>(std::min(r.width(), r.height()) * 0.22, 64, 150);
    paintEmblem(p, QRectF(c.x() - size / 2, c.y() - size * 0.85, size, size), 60);
    QFont f = verdana(int(size * 0.28), true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(f);
    p.setPen(QColor(0, 96, 100, 70));
    const QRectF nameBox(r.left(), c.y() + size * 0.25, r.width(), size * 0.4);
    p.drawText(nameBox, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("ORVEN (XML)"));
    p.setFont(verdana(12));
    p.setPen(QColor(60, 90, 96, 120));
    p.drawText(QRectF(r.left(), nameBox.bottom() + 4, r.width(), 20), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Escolha uma opção no menu ao lado"));
    p.restore();
}

void paintWaitBackground(QPainter &p, const QRect &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(QPointF(0, r.top()), QPointF(0, r.bottom()));
    g.setColorAt(0, kTealLight.darker(110));
    g.setColorAt(0.5, kTeal.darker(120));
    g.setColorAt(1, kTealDark.darker(150));
    p.fillRect(r, g);
    // Glossy upper half.
    QLinearGradient gloss(QPointF(0, r.top()), QPointF(0, r.top() + r.height() / 2));
    gloss.setColorAt(0, QColor(255, 255, 255, 60));
    gloss.setColorAt(1, QColor(255, 255, 255, 8));
    p.fillRect(QRect(r.left(), r.top(), r.width(), r.height() / 2), gloss);
    p.setPen(QPen(kAccent, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));

    // An hourglass at the left.
    const QRectF hg(r.left() + 10, r.top() + 10, 16, 24);
    QPainterPath glass;
    glass.moveTo(hg.left() + 2, hg.top() + 3);
    glass.lineTo(hg.right() - 2, hg.top() + 3);
    glass.lineTo(hg.center().x() + 1.5, hg.center().y());
    glass.lineTo(hg.right() - 2, hg.bottom() - 3);
    glass.lineTo(hg.left() + 2, hg.bottom() - 3);
    glass.lineTo(hg.center().x() - 1.5, hg.center().y());
    glass.closeSubpath();
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(QColor(255, 255, 255, 50));
    p.drawPath(glass);
    QPainterPath sand;
    sand.moveTo(hg.left() + 4, hg.bottom() - 3);
    sand.lineTo(hg.center().x(), hg.bottom() - 9);
    sand.lineTo(hg.right() - 4, hg.bottom() - 3);
    sand.closeSubpath();
    p.fillPath(sand, kGold);
    QPainterPath top;
    top.moveTo(hg.left() + 5, hg.top() + 7);
    top.lineTo(hg.right() - 5, hg.top() + 7);
    top.lineTo(hg.center().x(), hg.center().y() - 1);
    top.closeSubpath();
    p.fillPath(top, kGold);
    p.setPen(QPen(kGold.lighter(120), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(hg.left(), hg.top() + 2), QPointF(hg.right(), hg.top() + 2));
    p.drawLine(QPointF(hg.left(), hg.bottom() - 2), QPointF(hg.right(), hg.bottom() - 2));
    p.restore();
}

void paintGlyph(QPainter &p, Glyph glyph, const QRectF &box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = box.width();
    auto at = [&](qreal x, qreal y, qreal w, qreal h) {
        return QRectF(box.left() + x * s, box.top() + y * s, w * s, h * s);
    };
    switch (glyph) {
    case Glyph::Generator: {
        paintSheet(p, at(0.16, 0.06, 0.58, 0.78), QColor(252, 253, 253), QColor(90, 110, 112));
        p.setPen(QPen(QColor(150, 170, 172), std::max<qreal>(1.0, s / 24)));
        for (int i = 0; i < 3; ++i) {
            const qreal y = box.top() + s * (0.26 + i * 0.12);
            p.drawLine(QPointF(box.left() + s * 0.25, y), QPointF(box.left() + s * (i ? 0.64 : 0.46), y));
        }
        QRectF badge = at(0.36, 0.56, 0.6, 0.36);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(46, 160, 67));
        p.drawRoundedRect(badge, s * 0.06, s * 0.06);
        p.setPen(QPen(Qt::white, std::max<qreal>(1.4, s / 14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal cy = badge.center().y();
        const qreal h = badge.height() * 0.28;
        p.drawPolyline(QPolygonF({QPointF(badge.left() + badge.width() * 0.3, cy - h),
                                  QPointF(badge.left() + badge.width() * 0.16, cy),
                                  QPointF(badge.left() + badge.width() * 0.3, cy + h)}));
        p.drawPolyline(QPolygonF({QPointF(badge.left() + badge.width() * 0.7, cy - h),
                                  QPointF(badge.left() + badge.width() * 0.84, cy),
                                  QPointF(badge.left() + badge.width() * 0.7, cy + h)}));
        break;
    }
    case Glyph::Revenue:
        paintCoins(p, at(0.04, 0.3, 0.56, 0.66));
        paintArrow(p, at(0.52, 0.04, 0.44, 0.62), true, QColor(70, 200, 90));
        break;
    case Glyph::Expense:
        paintCoins(p, at(0.04, 0.3, 0.56, 0.66));
        paintArrow(p, at(0.52, 0.3, 0.44, 0.62), false, QColor(232, 80, 70));
        break;
    case Glyph::Outstanding: {
        QRectF cal = at(0.06, 0.12, 0.76, 0.74);
        p.setPen(QPen(QColor(90, 100, 110), std::max<qreal>(1.0, s / 24)));
        p.setBrush(QColor(252, 252, 252));
        p.drawRoundedRect(cal, s * 0.06, s * 0.06);
        QRectF head(cal.left(), cal.top(), cal.width(), cal.height() * 0.26);
        p.setBrush(QColor(214, 64, 56));
        p.drawRoundedRect(head, s * 0.06, s * 0.06);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 160, 170));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.drawRect(QRectF(cal.left() + cal.width() * (0.1 + col * 0.21),
                                  cal.top() + cal.height() * (0.38 + row * 0.19), cal.width() * 0.13,
                                  cal.height() * 0.11));
        // A clock in front: payments still due.
        QRectF clock = at(0.5, 0.5, 0.46, 0.46);
        p.setPen(QPen(QColor(40, 60, 70), std::max<qreal>(1.0, s / 22)));
        p.setBrush(QColor(255, 236, 160));
        p.drawEllipse(clock);
        p.setPen(QPen(QColor(40, 60, 70), std::max<qreal>(1.2, s / 18), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(clock.center(), QPointF(clock.center().x(), clock.top() + clock.height() * 0.22));
        p.drawLine(clock.center(), QPointF(clock.right() - clock.width() * 0.26, clock.center().y()));
        break;
    }
    case Glyph::Guarantees: {
        QPainterPath shield;
        const QRectF r = at(0.14, 0.06, 0.72, 0.88);
        shield.moveTo(r.center().x(), r.top());
        shield.cubicTo(r.center().x() + r.width() * 0.25, r.top() + r.height() * 0.1, r.right(),
                       r.top() + r.height() * 0.1, r.right(), r.top() + r.height() * 0.12);
        shield.cubicTo(r.right(), r.top() + r.height() * 0.6, r.center().x() + r.width() * 0.2,
                       r.bottom() - r.height() * 0.1, r.center().x(), r.bottom());
        shield.cubicTo(r.center().x() - r.width() * 0.2, r.bottom() - r.height() * 0.1, r.left(),
                       r.top() + r.height() * 0.6, r.left(), r.top() + r.height() * 0.12);
        shield.cubicTo(r.left(), r.top() + r.height() * 0.1, r.center().x() - r.width() * 0.25,
                       r.top() + r.height() * 0.1, r.center().x(), r.top());
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(90, 150, 230));
        g.setColorAt(1, QColor(30, 70, 160));
        p.setPen(QPen(kGold, std::max<qreal>(1.2, s / 16)));
        p.setBrush(g);
        p.drawPath(shield);
        p.setPen(QPen(Qt::white, std::max<qreal>(1.6, s / 10), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(r.left() + r.width() * 0.28, r.top() + r.height() * 0.5),
                                  QPointF(r.left() + r.width() * 0.45, r.top() + r.height() * 0.66),
                                  QPointF(r.left() + r.width() * 0.74, r.top() + r.height() * 0.34)}));
        break;
    }
    case Glyph::Viewer: {
        QRectF grid = at(0.04, 0.08, 0.7, 0.66);
        p.setPen(QPen(QColor(80, 96, 110), std::max<qreal>(1.0, s / 24)));
        p.setBrush(QColor(252, 252, 252));
        p.drawRect(grid);
        p.fillRect(QRectF(grid.left(), grid.top(), grid.width(), grid.height() * 0.25), QColor(70, 130, 200));
        for (int i = 1; i < 4; ++i) {
            const qreal y = grid.top() + grid.height() * (0.25 + i * 0.1875);
            p.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
        }
        p.drawLine(QPointF(grid.left() + grid.width() * 0.4, grid.top()),
                   QPointF(grid.left() + grid.width() * 0.4, grid.bottom()));
        QRectF lens = at(0.44, 0.42, 0.38, 0.38);
        p.setPen(QPen(QColor(50, 50, 60), std::max<qreal>(1.6, s / 12), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(lens.center() + QPointF(lens.width() * 0.35, lens.height() * 0.35),
                   QPointF(box.left() + s * 0.95, box.top() + s * 0.95));
        p.setPen(QPen(QColor(50, 50, 60), std::max<qreal>(1.2, s / 18)));
        p.setBrush(QColor(200, 230, 255, 220));
        p.drawEllipse(lens);
        break;
    }
    case Glyph::Capture: {
        QRectF globe = at(0.06, 0.06, 0.76, 0.76);
        QRadialGradient g(globe.center() - QPointF(globe.width() * 0.2, globe.height() * 0.2), globe.width() * 0.7);
        g.setColorAt(0, QColor(140, 200, 255));
        g.setColorAt(1, QColor(20, 90, 190));
        p.setPen(QPen(QColor(10, 50, 120), std::max<qreal>(1.0, s / 24)));
        p.setBrush(g);
        p.drawEllipse(globe);
        p.setPen(QPen(QColor(255, 255, 255, 170), std::max<qreal>(1.0, s / 28)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(globe.adjusted(globe.width() * 0.28, 0, -globe.width() * 0.28, 0));
        p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
        p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
        p.drawLine(QPointF(globe.left() + globe.width() * 0.08, globe.top() + globe.height() * 0.28),
                   QPointF(globe.right() - globe.width() * 0.08, globe.top() + globe.height() * 0.28));
        p.drawLine(QPointF(globe.left() + globe.width() * 0.08, globe.top() + globe.height() * 0.72),
                   QPointF(globe.right() - globe.width() * 0.08, globe.top() + globe.height() * 0.72));
        // Sent to the court: an upward arrow on a green badge.
        const QRectF badge(box.left() + s * 0.48, box.top() + s * 0.48, s * 0.5, s * 0.5);
        p.setPen(QPen(QColor(20, 90, 30), std::max<qreal>(1.0, s / 28)));
        p.setBrush(QColor(60, 190, 80));
        p.drawEllipse(badge);
        paintArrow(p, badge.adjusted(badge.width() * 0.2, badge.height() * 0.16, -badge.width() * 0.2,
                                     -badge.height() * 0.16),
                   true, Qt::white);
        break;
    }
    case Glyph::ExitDoor: {
        QRectF frame = at(0.12, 0.06, 0.5, 0.88);
        p.setPen(QPen(QColor(200, 200, 200), std::max<qreal>(1.0, s / 20)));
        p.setBrush(QColor(40, 40, 40));
        p.drawRect(frame);
        QPainterPath door;
        door.moveTo(frame.left(), frame.top());
        door.lineTo(frame.left() + frame.width() * 0.72, frame.top() + frame.height() * 0.1);
        door.lineTo(frame.left() + frame.width() * 0.72, frame.bottom() - frame.height() * 0.02);
        door.lineTo(frame.left(), frame.bottom());
        door.closeSubpath();
        QLinearGradient g(frame.topLeft(), frame.topRight());
        g.setColorAt(0, QColor(196, 136, 76));
        g.setColorAt(1, QColor(130, 80, 36));
        p.setBrush(g);
        p.setPen(QPen(QColor(90, 50, 20), std::max<qreal>(1.0, s / 28)));
        p.drawPath(door);
        p.setBrush(kGold);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(frame.left() + frame.width() * 0.55, frame.center().y()), s * 0.04, s * 0.04);
        // Leaving: an arrow pointing out of the door.
        p.save();
        p.translate(box.left() + s * 0.74, box.top() + s * 0.52);
        p.rotate(90);
        paintArrow(p, QRectF(-s * 0.2, -s * 0.24, s * 0.4, s * 0.48), true, QColor(90, 210, 110));
        p.restore();
        break;
    }
    case Glyph::ExitClose: {
        QRectF c = at(0.08, 0.08, 0.84, 0.84);
        QRadialGradient g(c.center() - QPointF(c.width() * 0.18, c.height() * 0.2), c.width() * 0.7);
        g.setColorAt(0, QColor(255, 130, 110));
        g.setColorAt(1, QColor(180, 30, 24));
        p.setPen(QPen(QColor(110, 10, 10), std::max<qreal>(1.0, s / 24)));
        p.setBrush(g);
        p.drawEllipse(c);
        // Power symbol.
        p.setPen(QPen(Qt::white, std::max<qreal>(1.8, s / 9), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QRectF ring = c.adjusted(c.width() * 0.26, c.height() * 0.26, -c.width() * 0.26, -c.height() * 0.26);
        p.drawArc(ring, 120 * 16, 300 * 16);
        p.drawLine(QPointF(c.center().x(), c.top() + c.height() * 0.18), QPointF(c.center().x(), c.center().y()));
        break;
    }
    case Glyph::Module: {
        QRectF r = at(0.1, 0.16, 0.8, 0.7);
        p.setPen(QPen(QColor(60, 90, 110), 1));
        p.setBrush(QColor(120, 170, 210));
        p.drawRoundedRect(r, s * 0.08, s * 0.08);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.25, r.width() * 0.7,
                          r.height() * 0.5));
        break;
    }
    case Glyph::Folder: {
        QRectF r = at(0.06, 0.18, 0.88, 0.68);
        p.setPen(QPen(QColor(170, 120, 20), 1));
        p.setBrush(QColor(250, 206, 96));
        QPainterPath path;
        path.moveTo(r.left(), r.top() + r.height() * 0.15);
        path.lineTo(r.left(), r.top());
        path.lineTo(r.left() + r.width() * 0.4, r.top());
        path.lineTo(r.left() + r.width() * 0.5, r.top() + r.height() * 0.15);
        path.lineTo(r.right(), r.top() + r.height() * 0.15);
        path.lineTo(r.right(), r.bottom());
        path.lineTo(r.left(), r.bottom());
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case Glyph::Unit:
        paintSheet(p, at(0.18, 0.08, 0.64, 0.84), QColor(252, 253, 253), QColor(110, 120, 130));
        break;
    case Glyph::Package: {
        QRectF r = at(0.12, 0.2, 0.76, 0.66);
        p.setPen(QPen(QColor(120, 80, 30), 1));
        p.setBrush(QColor(214, 170, 110));
        p.drawRect(r);
        p.fillRect(QRectF(r.center().x() - s * 0.06, r.top(), s * 0.12, r.height()), QColor(160, 110, 50));
        break;
    }
    }
    p.restore();
}

QIcon glyphIcon(Glyph glyph, int size)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(size * scale, size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paintGlyph(p, glyph, QRectF(0, 0, size, size));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

Picture::Picture(Painter painter, QWidget *parent) : QWidget(parent), m_painter(std::move(painter)) {}

void Picture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    m_painter(p, rect());
}

} // namespace orven::ui::art
