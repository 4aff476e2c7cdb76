#include "FirebirdFixture.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "db/Firebird.h"

#include <QFile>
#include <QFileInfo>

namespace orven::test {

FirebirdFixture::FirebirdFixture(const QStringList &ddl, const QString &fileName)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    m_path = m_dir.filePath(fileName);
    try {
        firebird::createDatabase(m_path);
        run(ddl);
    } catch (const Error &e) {
        m_error = e.message();
    }
}

std::unique_ptr<FirebirdFixture> FirebirdFixture::copyOf(const FirebirdFixture &source)
{
    std::unique_ptr<FirebirdFixture> copy(new FirebirdFixture(Empty{}));
    if (!source.isValid())
        copy->m_error = source.error();
    else if (!copy->m_dir.isValid())
        copy->m_error = QStringLiteral("no temporary folder");
    else {
        copy->m_path = copy->m_dir.filePath(QFileInfo(source.path()).fileName());
        if (!QFile::copy(source.path(), copy->m_path))
            copy->m_error = QStringLiteral("could not copy %1").arg(source.path());
    }
    return copy;
}

void FirebirdFixture::run(const QStringList &statements) const
{
    if (statements.isEmpty())
        return;
    db::Conexao connection;
    connection.setDatabasePath(m_path);
    for (const QString &sql : statements)
        connection.execute(sql);
    connection.close();
}

} // namespace orven::test
