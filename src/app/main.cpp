// orven: the desktop program.

#include "common/Messages.h"
#include "common/MessageBoxService.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/PackageDialog.h"

#include <QApplication>

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

    // ==================================================================
    // DATA MODULE: create the data module here (it opens the connection at
    // once). A failure ends the program with the error's own message,
    // before the main window is shown, e.g.:
    //   std::unique_ptr<TDM> dm;
    //   try { dm = std::make_unique<TDM>(...); }
    //   catch (const orven::Error &e) { messages.error(e.message()); return 1; }
    // ==================================================================

    orven::ui::TFrmPrincipalXMLORVEN window;
    messages.setParent(&window);

    // ==================================================================
    // FIRST-SHOW STEPS, run once when the main window is first shown:
    //   1. open the connection      -> on failure: connection message, return false
    //   2. "TD" folder + "ID_ORVEN.XML" must exist -> else catalogue message, return false
    //   3. select mexer from cadcli -> window.setExerciseYear(year)
    //   4. chart-of-accounts version check and import offer
    // Returning false ends the program; an exception is reported and the
    // window stays open.
    // ==================================================================
    window.onFirstShow = [] { return true; };

    // ==================================================================
    // WORKING WINDOWS: window.registerChild(TFrmPrincipalXMLORVEN::Child::Gerador,
    //                      [] { return new TFrmGeraXML; });  and so on.
    // ==================================================================

    window.showMaximized();
    const int rc = app.exec();
    orven::MessageService::setInstance(nullptr);
    return window.endedAtStartup() ? 1 : rc;
}
