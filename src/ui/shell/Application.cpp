#include "shell/Application.h"

#include "shell/Artwork.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>

namespace orven::ui {

namespace {

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        art::paintGlyph(p, art::Glyph::Generator, QRectF(0, 0, size, size));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("ORVEN (XML)"));
    QApplication::setApplicationDisplayName(QStringLiteral("ORVEN (XML)"));
    QApplication::setApplicationVersion(versionText());
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    app.setWindowIcon(programIcon());
}

} // namespace orven::ui
