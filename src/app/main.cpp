// orven: the desktop program.

#include "Version.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORVEN (XML)"));
    QApplication::setApplicationVersion(QStringLiteral(ORVEN_VERSION_TEXT));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ORVEN (XML)"));
    window.showMaximized();
    return app.exec();
}
