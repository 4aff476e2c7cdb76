#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace orven::test {

// An empty Firebird database (dialect 3, WIN1252) in a temporary folder,
// opened through the embedded engine, removed with the folder. Statements of
// `ddl` run one by one, each committed, right after creation.
class FirebirdFixture {
public:
    explicit FirebirdFixture(const QStringList &ddl = {}, const QString &fileName = QStringLiteral("TEST.FDB"));
    // A copy of another fixture's database file, made while nothing is
    // connected to it: much quicker than creating a database.
    static std::unique_ptr<FirebirdFixture> copyOf(const FirebirdFixture &source);

    // False when the folder or the database could not be made; error() says why.
    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Runs statements on a connection of its own (each committed).
    void run(const QStringList &statements) const;

private:
    struct Empty {};
    explicit FirebirdFixture(Empty) {}

    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
};

} // namespace orven::test
