// orven: the desktop program.

#include "common/Messages.h"
#include "common/MessageBoxService.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/PackageDialog.h"
#include "shell/Startup.h"
#include "db/DataModule.h"
#include "db/Firebird.h"
#include "generation/GenerationWindow.h"
#include "classification/RevenueWindow.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Title "ORVEN (XML)", version, icon and style.
    orven::ui::setUpApplication(app);

    orven::ui::MessageBoxService messages;
    orven::MessageService::setInstance(&messages);

    // "design" as the second argument: the package information first.
    if (orven::ui::showPackageDialogFirst(QCoreApplication::arguments())) {
        orven::ui::TFPackage package;
        package.exec();
    }

    // The data module opens the connection at once; when it cannot, the
    // error's own message ends the program before any window is shown.
    const std::unique_ptr<orven::db::TDM> dm = orven::ui::createDataModule();
    if (!dm) {
        orven::MessageService::setInstance(nullptr);
        return 1;
    }

    // SIGTERM or SIGINT: the client library has shut the engine down; end the
    // program instead of going on with a dead connection.
    orven::firebird::onSignalShutdown([] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); });

    orven::ui::TFrmPrincipalXMLORVEN window;
    messages.setParent(&window);

    // First showing: connection, catalogue file, exercise year, court chart.
    window.onFirstShow = [&window, &dm] { return orven::ui::firstShow(window, *dm); };

    // The working windows; menu entries without one stay disabled.
    using Child = orven::ui::TFrmPrincipalXMLORVEN::Child;
    window.registerChild(Child::Gerador, [&] { return new orven::ui::TFrmGeraXML(*dm->Conexao, &window); });
    window.registerChild(Child::Receita, [&] { return new orven::ui::TFrmReceita(*dm); });

    window.showMaximized();
    const int rc = app.exec();
    orven::MessageService::setInstance(nullptr);
    return window.endedAtStartup() ? 1 : rc;
}
