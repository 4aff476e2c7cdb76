#include "generation/AmountSource.h"

#include "common/Error.h"
#include "db/Connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orven::generation {

namespace {

QSqlQuery runQuery(QSqlDatabase &db, const QString &sql, qint64 &count)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    ++count;
    if (!q.exec(sql))
        throw Error(QStringLiteral("%1\n%2").arg(q.lastError().text(), sql));
    return q;
}

} // namespace

QList<double> SqlAmountSource::amounts(const AmountRequest &request)
{
    QSqlQuery q = runQuery(m_db, request.sql, m_count);
    const QSqlRecord rec = q.record();
    QList<int> indexes;
    for (const QString &column : request.columns) {
        const int i = rec.indexOf(column);
        if (i < 0)
            throw Error(QStringLiteral("Campo '%1' não encontrado\n%2").arg(column, request.sql));
        indexes << i;
    }
    QList<double> result(request.columns.size(), 0.0);
    if (q.next()) {
        for (int k = 0; k < indexes.size(); ++k) {
            const QVariant v = q.value(indexes[k]);
            result[k] = v.isNull() ? 0.0 : v.toDouble();
        }
    }
    return result;
}

QList<QVariantList> SqlAmountSource::rows(const QString &sql)
{
    QSqlQuery q = runQuery(m_db, sql, m_count);
    const int n = q.record().count();
    QList<QVariantList> result;
    while (q.next()) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << q.value(i);
        result << row;
    }
    return result;
}

QList<double> ConexaoAmountSource::amounts(const AmountRequest &request)
{
    ++m_count;
    const db::ResultSet rs = m_connection.select(request.sql);
    QList<int> indexes;
    for (const QString &column : request.columns) {
        int found = -1;
        for (int i = 0; i < rs.columns.size(); ++i) {
            if (rs.columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0) {
                found = i;
                break;
            }
        }
        if (found < 0)
            throw Error(QStringLiteral("Campo '%1' não encontrado\n%2").arg(column, request.sql));
        indexes << found;
    }
    QList<double> result(request.columns.size(), 0.0);
    if (!rs.rows.isEmpty()) {
        const db::Row &row = rs.rows.first();
        for (int k = 0; k < indexes.size(); ++k) {
            const QVariant &v = row.at(indexes[k]);
            result[k] = v.isNull() ? 0.0 : v.toDouble();
        }
    }
    return result;
}

QList<QVariantList> ConexaoAmountSource::rows(const QString &sql)
{
    ++m_count;
    const db::ResultSet rs = m_connection.select(sql);
    QList<QVariantList> result;
    result.reserve(rs.rows.size());
    for (const db::Row &row : rs.rows)
        result << row;
    return result;
}

} // namespace orven::generation
