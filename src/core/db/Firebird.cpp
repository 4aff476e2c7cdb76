#include "db/Firebird.h"

#include "common/Error.h"

#include <ibase.h>

#include <QByteArray>
#include <QSqlDatabase>

namespace orven::firebird {

namespace {

QString statusText(const ISC_STATUS *status)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *p = status;
    while (fb_interpret(buffer, sizeof buffer, &p)) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

QByteArray sqlLiteral(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return "'" + quoted.toUtf8() + "'";
}

} // namespace

void createDatabase(const QString &path, const QString &user, const QString &password)
{
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    const QByteArray sql = "CREATE DATABASE " + sqlLiteral(path) + " USER " + sqlLiteral(user) + " PASSWORD " +
                           sqlLiteral(password) + " PAGE_SIZE 8192 DEFAULT CHARACTER SET " + kCharset;
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, sql.constData(), 3, nullptr))
        throw Error(QStringLiteral("Não foi possível criar o banco de dados %1:\n%2").arg(path, statusText(status)));
    ISC_STATUS_ARRAY detachStatus{};
    isc_detach_database(detachStatus, &db);
}

void dropDatabase(const QString &path, const QString &user, const QString &password)
{
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    const QByteArray file = path.toLocal8Bit();
    const QByteArray u = user.toUtf8();
    const QByteArray p = password.toUtf8();
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    dpb.append(char(isc_dpb_user_name)).append(char(u.size())).append(u);
    dpb.append(char(isc_dpb_password)).append(char(p.size())).append(p);
    if (isc_attach_database(status, 0, file.constData(), &db, short(dpb.size()), dpb.constData()))
        throw Error(QStringLiteral("Não foi possível abrir o banco de dados %1:\n%2").arg(path, statusText(status)));
    if (isc_drop_database(status, &db))
        throw Error(QStringLiteral("Não foi possível apagar o banco de dados %1:\n%2").arg(path, statusText(status)));
}

namespace {

std::function<void()> &signalShutdownHandler()
{
    static std::function<void()> handler;
    return handler;
}

int shutdownCallback(const int reason, const int, void *)
{
    if (reason == fb_shutrsn_signal && signalShutdownHandler())
        signalShutdownHandler()();
    return 0;
}

} // namespace

void onSignalShutdown(std::function<void()> handler)
{
    const bool first = !signalShutdownHandler();
    signalShutdownHandler() = std::move(handler);
    if (first) {
        ISC_STATUS_ARRAY status{};
        fb_shutdown_callback(status, shutdownCallback, fb_shut_finish, nullptr);
    }
}

QSqlDatabase addConnection(const QString &connectionName, const QString &path, const QString &user,
                           const QString &password)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    db.setDatabaseName(path);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=%1").arg(QLatin1String(kCharset)));
    return db;
}

} // namespace orven::firebird
