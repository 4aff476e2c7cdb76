#pragma once

// The program's start-up around the main window: the data module created
// before any window, and the steps of the main window's first showing
// (connection, court catalogue file, exercise year, court chart check).

#include "chart/ChartImport.h"

#include <QString>

#include <memory>

namespace orven::db {
class TDM;
}

namespace orven::ui {

class TFrmPrincipalXMLORVEN;

// Connection message of the first showing (caption "Erro").
inline const QString kConnectionFailure =
    QStringLiteral("Erro ao Conectar com a Base de Dados!\rO Módulo será Finalizado!!");
// The court catalogue file whose presence the first showing checks, whatever the year.
inline const QString kCatalogueFileName = QStringLiteral("ID_ORVEN.XML");
// Catalogue message of the first showing (caption "Atenção", warning).
inline const QString kCatalogueMissing =
    QStringLiteral("O Arquivo \"ID_ORVEN.XML\" não foi Encontrado, atualize o Definição de Tabelas!!!\r\r"
                   "O Aplicativo será Finalizado...");
// The exercise year, read through CdsAux.
inline const QString kExerciseYearQuery = QStringLiteral("select mexer from cadcli");

// Creates the data module (which opens the connection at once). When that
// fails, shows the error's own message through the message service and
// returns null: the program then ends before any window is shown.
// databasePath empty: the path of zunt.ini.
std::unique_ptr<db::TDM> createDataModule(const QString &databasePath = QString());

// The chart import's progress on the wait window: the window opens when the
// import starts and is discarded when it ends, also when it fails.
chart::ProgressFactory waitWindowProgress();

// The steps of the main window's first showing. False ends the program
// (the database cannot be connected, or the catalogue file is missing),
// after the user was told why. Errors of the later steps (exercise year,
// chart check) go to the caller, which reports them and keeps the window.
bool firstShow(TFrmPrincipalXMLORVEN &window, db::TDM &dm);

} // namespace orven::ui
