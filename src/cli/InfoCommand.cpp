#include "Commands.h"

#include "common/Error.h"
#include "config/Installation.h"
#include "config/PathResolver.h"
#include "db/Connection.h"
#include "db/Firebird.h"
#include "db/Schema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace orven::cli {

namespace {

// One QIBASE connection for the listing, removed when done.
class InfoConnection {
public:
    explicit InfoConnection(const QString &path)
        : m_name(QStringLiteral("orven-cli-info-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        m_db = firebird::addConnection(m_name, path);
        if (!m_db.open())
            throw Error(QStringLiteral("Não foi possível abrir o banco de dados %1:\n%2").arg(path, m_db.lastError().text()));
    }
    ~InfoConnection()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    QVariant value(const QString &sql)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.exec(sql) || !q.next())
            throw Error(QStringLiteral("Erro na consulta \"%1\":\n%2").arg(sql, q.lastError().text()));
        return q.value(0);
    }

private:
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace

// orven-cli info: where the installation of zunt.ini keeps its files, and
// what the year's database holds.
int cmdInfo(Context &ctx)
{
    if (!ctx.args.isEmpty()) {
        ctx.err << "usage: orven-cli [--config-dir DIR] info\n";
        return ExitUsage;
    }
    const QString ini = config::zuntIniPath();
    ctx.out << "zunt.ini   " << ini << (QFileInfo::exists(ini) ? "" : "  (missing)") << "\n";
    for (const char *code : {"B", "D", "TD"})
        ctx.out << QString::fromLatin1(code).leftJustified(10) << " " << config::resolvePath(QString::fromLatin1(code)) << "\n";
    const QString path = db::Conexao::zuntDatabasePath();
    ctx.out << "database   " << path << "\n";
    ctx.out.flush();
    if (!QFileInfo::exists(path)) {
        ctx.err << "orven-cli info: the database file does not exist: " << path << "\n";
        return ExitFailure;
    }

    try {
        InfoConnection db(path);
        ctx.out << "year       " << db.value(QStringLiteral("SELECT MEXER FROM CADCLI")).toString().trimmed() << "\n";
        ctx.out << "rows:\n";
        for (const db::SchemaObject &o : db::schemaObjects()) {
            if (!o.contract)
                continue;
            if (o.kind == db::SchemaObject::Kind::Procedure) {
                ctx.out << "  " << o.name.leftJustified(14) << "  " << QStringLiteral("procedure").rightJustified(9) << "\n";
                continue;
            }
            const qlonglong n = db.value(QStringLiteral("SELECT COUNT(*) FROM ") + o.name).toLongLong();
            ctx.out << "  " << o.name.leftJustified(14) << "  " << QString::number(n).rightJustified(9)
                    << (o.kind == db::SchemaObject::Kind::View ? "  (view)" : "") << "\n";
        }
    } catch (const Error &e) {
        ctx.out.flush();
        ctx.err << "orven-cli info: " << e.message() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace orven::cli
