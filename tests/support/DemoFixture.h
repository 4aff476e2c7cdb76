#pragma once

#include <QString>

namespace orven::test {

// A small demo installation (zunt.ini, the 2008 database, the court files),
// made once per test process in a temporary folder that lives until the
// process ends. Tests that need a real accounting database share it; a test
// that changes its data must put it back (or make a demo of its own).
struct DemoInstall {
    QString folder;       // the installation folder (DIR)
    QString configDir;    // the folder of zunt.ini, for config::setConfigDirOverride
    QString databasePath; // DIR/ZUNT_8/ARQ2008/ZUNT2008.FDB
    QString tabdefFolder; // DIR/ZUNT_8/TABDEF/ (ends in "/")
    QString error;        // why the demo could not be made; empty when it is ready

    bool isValid() const { return error.isEmpty(); }
};

const DemoInstall &smallDemo();

} // namespace orven::test
