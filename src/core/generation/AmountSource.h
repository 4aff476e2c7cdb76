#pragma once

// What a section asks of the accounting database. Sections describe the
// amount they need (which measure, of which account, for which dates and
// entity) together with the query text that computes it; the default source
// runs that query, one per request. A faster source may answer known
// measures from data it gathered once, without touching the sections.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace orven::db {
class Conexao;
}

namespace orven::generation {

struct AmountRequest {
    QString sql;         // the query, as the section builds it
    QStringList columns; // result columns read from its first row, as numbers (null reads 0)
    // Description of the amount, for sources that answer without the query.
    QString section;     // e.g. "receitas"
    QString measure;     // e.g. "movimento"
    QString account;     // trimmed account code
    QString startDate;   // "dd.mm.yyyy"
    QString endDate;     // "dd.mm.yyyy"
    int entity = 0;
};

class AmountSource {
public:
    virtual ~AmountSource() = default;
    // The named columns of the first row (0 for a null or an empty result).
    virtual QList<double> amounts(const AmountRequest &request) = 0;
    // Every row of a query, every column (for sections that test or sum per row).
    virtual QList<QVariantList> rows(const QString &sql) = 0;
    // Queries sent so far.
    virtual qint64 queryCount() const = 0;
};

// Runs every request's query on a connection. Throws orven::Error with the
// database's text (and the query) when a query fails or a column is missing.
class SqlAmountSource final : public AmountSource {
public:
    explicit SqlAmountSource(QSqlDatabase db) : m_db(std::move(db)) {}
    QList<double> amounts(const AmountRequest &request) override;
    QList<QVariantList> rows(const QString &sql) override;
    qint64 queryCount() const override { return m_count; }

private:
    QSqlDatabase m_db;
    qint64 m_count = 0;
};

// Runs every request's query on the program's connection, one query per request.
class ConexaoAmountSource final : public AmountSource {
public:
    explicit ConexaoAmountSource(db::Conexao &connection) : m_connection(connection) {}
    QList<double> amounts(const AmountRequest &request) override;
    QList<QVariantList> rows(const QString &sql) override;
    qint64 queryCount() const override { return m_count; }

private:
    db::Conexao &m_connection;
    qint64 m_count = 0;
};

} // namespace orven::generation
