#pragma once

// The court's chart of accounts in the year's database: the account types in
// ORVEN_TIPO and the accounts in ORVEN_CONPLA, imported from the court's two
// files of the table-definition folder ("TD").
//
// At start-up the version recorded in the installation (the version file
// beside the chart files) is compared with the chart version the program
// carries; when they differ both tables are emptied and the file is set to
// the program's version. Whenever ORVEN_TIPO is empty the user is offered
// the import, which runs in one transaction: all of the chart or nothing.

#include "common/Progress.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace orven::db {
class TDM;
}

namespace orven::chart {

// The chart version this program carries.
inline constexpr int kProgramChartVersion = 2;

inline const QString kVersionFileName = QStringLiteral("Vrs_plano_orven.xml");
inline const QString kTypesFileName = QStringLiteral("ORVENTIPO.XML");
inline const QString kAccountsFileName = QStringLiteral("ORVENCONPLA.XML");

inline const QString kQuestion = QStringLiteral("Deseja atualizar o Plano de Contas do ORVEN?");
inline const QString kSuccess = QStringLiteral("Importação Efetuada com Sucesso!!!");
inline const QString kFailure = QStringLiteral("Erro ao Importar o Plano de Contas!!!");

// Types of the court's files that are never imported (compared as the file
// writes them).
const QStringList &excludedTypes();
bool isExcludedType(const QString &codtipo);

// Blanks and control characters removed from both ends.
QString trimCode(const QString &code);

// ---- the version file ----------------------------------------------------------------

// resolvePath("TD") + "Vrs_plano_orven.xml".
QString versionFilePath();
// The version the file records; 0 when the file does not exist (or its
// value is null). Throws orven::Error when the file cannot be read.
int readVersionFile(const QString &path);
// Writes the file afresh: one integer field "versao", one row. Throws orven::Error.
void writeVersionFile(const QString &path, int version);

// Steps run at every start, before the offer: when the recorded version is
// not the program's, empties ORVEN_CONPLA and ORVEN_TIPO (each deletion
// committed on its own) and records the program's version. True when the
// tables were emptied. Errors go to the caller.
bool checkVersion(db::TDM &dm);

// True when ORVEN_TIPO has rows (read through CdsAux).
bool chartPresent(db::TDM &dm);

// ---- the import ----------------------------------------------------------------------

// Opens the progress of the import when it starts (the window: the wait
// window with its bar; the command line: a bar on stderr). The progress is
// destroyed when the import ends, also when it fails.
using ProgressFactory = std::function<std::unique_ptr<Progress>()>;

struct ImportResult {
    enum class Status { Imported, Refused, Failed };
    Status status = Status::Failed;
    int typesAdded = 0;    // rows appended to ORVEN_TIPO
    int accountsAdded = 0; // rows appended to ORVEN_CONPLA
    int refused = 0;       // rows the database refused (the apply error count)
    QString error;         // the error's own text when status is Failed
    bool ok() const { return status == Status::Imported; }
};

// Empties both tables, then, inside a transaction (started when none is
// active), appends the court's types and accounts to CdsTipo and CdsConpla
// and applies them: excluded types are left out, codes of types are stored
// without surrounding blanks, and an account whose type and code (as the
// file writes them) were appended already is left out, so a repeated
// account keeps its first description. Commits and shows "Importação
// Efetuada com Sucesso!!!" when the database took every row; otherwise
// rolls back (refused rows, or an error such as a missing file) and shows
// "Erro ao Importar o Plano de Contas!!!". Never throws for what happens
// after the deletions; returns what happened.
ImportResult importChart(db::TDM &dm, const ProgressFactory &openProgress);

// The whole check of the first showing: version check, the offer (when
// ORVEN_TIPO is empty: "Deseja atualizar o Plano de Contas do ORVEN?", No
// by default) and the import on Yes.
enum class CheckOutcome { UpToDate, Declined, Imported, Failed };
CheckOutcome runChartCheck(db::TDM &dm, const ProgressFactory &openProgress);

} // namespace orven::chart
