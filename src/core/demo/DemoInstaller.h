#pragma once

// A complete local installation of the suite for trying ORVEN out, for the
// tests and for benchmarks: the configuration file, the year's database and
// the court's files, in one folder.
//
//   DIR/zunt.ini                          [ZUNT] Ano=2008, Caminho_Base_Dados=DIR/ZUNT_8/
//   DIR/ZUNT_8/ARQ2008/ZUNT2008.FDB       the accounting database (demo data)
//   DIR/ZUNT_8/TABDEF/                    ID catalogue and court chart files
//   DIR/ZUNT_8/ORVEN_DEMO.TXT             marks the installation as a demo

#include "demo/DemoDatabase.h"

#include <QString>

namespace orven {
class Progress;
}

namespace orven::demo {

struct DemoSummary {
    QString folder;       // DIR, absolute, without a trailing separator
    QString iniPath;      // DIR/zunt.ini
    QString baseFolder;   // DIR/ZUNT_8/ (Caminho_Base_Dados)
    QString databasePath; // DIR/ZUNT_8/ARQ2008/ZUNT2008.FDB
    QString tabdefFolder; // DIR/ZUNT_8/TABDEF/
    DemoSize size = DemoSize::Small;
    bool replaced = false; // an earlier demo was removed first
    DemoContents contents;
    qint64 elapsedMs = 0;
};

// Where a demo installation in dir puts its files (nothing is touched).
DemoSummary demoLayout(const QString &dir);

// True when dir holds zunt.ini or a ZUNT_8 folder (a demo or any other
// installation).
bool installationExists(const QString &dir);

// Creates the demo installation in dir (created when missing). Over an
// existing installation: without replace, refuses with an orven::Error that
// says what is there and how to replace it; with replace, removes the earlier
// demo whole first (drops its database, removes zunt.ini and the ZUNT_8
// folder) -- but only when that installation carries the demo mark, so that
// a real installation is never deleted. A failed creation leaves nothing of
// what it made. Throws orven::Error.
DemoSummary createDemo(const QString &dir, DemoSize size, bool replace, Progress &progress);

} // namespace orven::demo
