#include "chart/ChartImport.h"

#include "common/Error.h"
#include "common/Messages.h"
#include "config/PathResolver.h"
#include "db/DataModule.h"
#include "packet/DataPacket.h"

#include <QFileInfo>

#include <exception>

namespace orven::chart {

namespace {

const QString kVersionField = QStringLiteral("versao");
const QString kDeleteAccounts = QStringLiteral("DELETE FROM ORVEN_CONPLA");
const QString kDeleteTypes = QStringLiteral("DELETE FROM ORVEN_TIPO");

// Empties both court tables, accounts first (they refer to their types).
// Each deletion commits on its own when no transaction is active.
void emptyTables(db::TDM &dm)
{
    dm.SQL(kDeleteAccounts);
    dm.SQL(kDeleteTypes);
}

QString errorText(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Error &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    return QStringLiteral("erro desconhecido");
}

// After a failed import the two sets show what the database holds again:
// a row being appended is dropped, and so is the change log (rows written
// inside the rolled-back transaction come back into it first).
void dropChanges(db::RecordSet &set)
{
    try {
        if (!set.isActive())
            return;
        set.cancel();
        set.cancelUpdates();
    } catch (...) {
        try {
            set.close();
        } catch (...) {
        }
    }
}

} // namespace

const QStringList &excludedTypes()
{
    static const QStringList list{QStringLiteral("002"), QStringLiteral("003"), QStringLiteral("005"),
                                  QStringLiteral("006"), QStringLiteral("007"), QStringLiteral("008"),
                                  QStringLiteral("104"), QStringLiteral("107"), QStringLiteral("204")};
    return list;
}

bool isExcludedType(const QString &codtipo) { return excludedTypes().contains(codtipo); }

QString trimCode(const QString &code)
{
    qsizetype begin = 0;
    qsizetype end = code.size();
    while (begin < end && code.at(begin).unicode() <= u' ')
        ++begin;
    while (end > begin && code.at(end - 1).unicode() <= u' ')
        --end;
    return code.mid(begin, end - begin);
}

// ---- the version file ----------------------------------------------------------------

QString versionFilePath() { return config::resolvePath(QStringLiteral("TD")) + kVersionFileName; }

int readVersionFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return 0;
    const packet::Table table = packet::DataPacket::load(path).root.visible();
    if (table.indexOf(kVersionField) < 0)
        throw Error(QStringLiteral("%1: Field '%2' not found").arg(path, kVersionField));
    if (table.rows.isEmpty())
        return 0;
    const QVariant value = table.value(table.rows.first(), kVersionField);
    if (!value.isValid())
        return 0;
    bool ok = false;
    const int version = value.toInt(&ok);
    if (!ok)
        throw Error(QStringLiteral("%1: '%2' is not a valid integer value").arg(path, value.toString()));
    return version;
}

void writeVersionFile(const QString &path, int version)
{
    packet::DataPacket file;
    file.root.fields.append(packet::Field::integer(kVersionField));
    packet::Row &row = file.root.appendRow();
    file.root.setValue(row, kVersionField, version);
    // Written beside the old file and renamed over it: the old one is gone
    // only once the new one is complete.
    file.save(path);
}

bool checkVersion(db::TDM &dm)
{
    const QString path = versionFilePath();
    if (readVersionFile(path) == kProgramChartVersion)
        return false;
    emptyTables(dm);
    writeVersionFile(path, kProgramChartVersion);
    return true;
}

bool chartPresent(db::TDM &dm)
{
    dm.CdsAux->close();
    dm.CdsAux->setCommandText(QStringLiteral("SELECT * FROM ORVEN_TIPO"));
    dm.CdsAux->open();
    return !dm.CdsAux->isEmpty();
}

// ---- the import ----------------------------------------------------------------------

ImportResult importChart(db::TDM &dm, const ProgressFactory &openProgress)
{
    ImportResult result;
    db::RecordSet &tipo = *dm.CdsTipo;
    db::RecordSet &conpla = *dm.CdsConpla;
    db::RecordSet &xml = *dm.CdsXml;

    // Committed before the import's own transaction: after a failed import
    // both tables are empty.
    emptyTables(dm);

    std::unique_ptr<Progress> progress = openProgress ? openProgress() : nullptr;
    NullProgress noProgress;
    Progress &bar = progress ? *progress : noProgress;

    bool started = false;
    try {
        tipo.close();
        tipo.open();
        conpla.close();
        conpla.open();

        started = dm.startTransaction();

        const QString folder = config::resolvePath(QStringLiteral("TD"));
        const QString typesFile = folder + kTypesFileName;
        const QString accountsFile = folder + kAccountsFileName;

        bar.setPosition(0);
        dm.loadCdsXml(typesFile);
        qint64 steps = xml.recordCount();
        bar.setMaximum(steps);
        dm.loadCdsXml(accountsFile);
        steps += xml.recordCount();
        bar.setMaximum(steps);

        // Account types.
        dm.loadCdsXml(typesFile);
        for (xml.first(); !xml.eof(); xml.next()) {
            const QString codtipo = xml.value(QStringLiteral("CODTIPO")).toString();
            if (!isExcludedType(codtipo)) {
                tipo.append();
                tipo.setValue(QStringLiteral("CODTIPO"), trimCode(codtipo));
                tipo.setValue(QStringLiteral("DESC_TIPO"), xml.value(QStringLiteral("DESCRICAO")));
                tipo.setValue(QStringLiteral("TIPO"), xml.value(QStringLiteral("TIPO")));
                tipo.post();
                ++result.typesAdded;
            }
            bar.advance(1);
        }

        // Accounts. One already appended with the same type and code, as the
        // file writes them, is left out (and does not move the bar).
        dm.loadCdsXml(accountsFile);
        for (xml.first(); !xml.eof(); xml.next()) {
            const QVariant codtipo = xml.value(QStringLiteral("CODTIPO"));
            const QVariant account = xml.value(QStringLiteral("NUM_CONTABIL"));
            if (conpla.locate({QStringLiteral("CODTIPO"), QStringLiteral("NUM_CONTABIL")}, {codtipo, account}))
                continue;
            if (!isExcludedType(codtipo.toString())) {
                conpla.append();
                conpla.setValue(QStringLiteral("CODTIPO"), trimCode(codtipo.toString()));
                conpla.setValue(QStringLiteral("NUM_CONTABIL"), account);
                conpla.setValue(QStringLiteral("DESC_CONTABIL"), xml.value(QStringLiteral("DESC_CONTABIL")));
                conpla.post();
                ++result.accountsAdded;
            }
            bar.advance(1);
        }

        // Types first: the accounts refer to them.
        dm.applyErrorCount = 0;
        if (tipo.changeCount() > 0)
            dm.applyErrorCount += tipo.applyUpdates(-1);
        if (conpla.changeCount() > 0)
            dm.applyErrorCount += conpla.applyUpdates(-1);
        result.refused = dm.applyErrorCount;

        if (dm.applyErrorCount != 0) {
            dm.rollback();
            dropChanges(tipo);
            dropChanges(conpla);
            result.status = ImportResult::Status::Refused;
            MessageService::instance().error(kFailure);
        } else {
            dm.commit();
            result.status = ImportResult::Status::Imported;
            MessageService::instance().information(kSuccess);
        }
    } catch (...) {
        result.status = ImportResult::Status::Failed;
        result.error = errorText(std::current_exception());
        // The transaction this import started ends here, so that nothing of
        // the failed import stays pending on the connection.
        if (started) {
            try {
                dm.rollback();
            } catch (...) {
            }
        }
        dropChanges(tipo);
        dropChanges(conpla);
        MessageService::instance().error(kFailure);
    }
    progress.reset();
    return result;
}

CheckOutcome runChartCheck(db::TDM &dm, const ProgressFactory &openProgress)
{
    checkVersion(dm);
    if (chartPresent(dm))
        return CheckOutcome::UpToDate;
    if (!MessageService::instance().ask(kQuestion, QStringLiteral("Atenção")))
        return CheckOutcome::Declined;
    return importChart(dm, openProgress).ok() ? CheckOutcome::Imported : CheckOutcome::Failed;
}

} // namespace orven::chart
