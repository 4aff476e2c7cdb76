#include "generation/RunChecks.h"

#include "common/Error.h"
#include "db/Connection.h"

namespace orven::generation {

QString entityItemText(int code, const QString &name)
{
    return QStringLiteral("%1 - %2").arg(code, 4, 10, QLatin1Char('0')).arg(name.trimmed().toUpper());
}

int entityFromItem(const QString &itemText)
{
    bool ok = false;
    const int n = itemText.left(4).trimmed().toInt(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' não é um valor inteiro válido").arg(itemText.left(4)));
    return n;
}

QList<Entity> entities(db::Conexao &db)
{
    const db::ResultSet rs = db.select(QStringLiteral("SELECT * FROM TABEMPRESA"));
    int codeCol = -1, nameCol = -1;
    for (int i = 0; i < rs.columns.size(); ++i) {
        if (rs.columns.at(i).name.compare(QLatin1String("EMPRESA"), Qt::CaseInsensitive) == 0)
            codeCol = i;
        else if (rs.columns.at(i).name.compare(QLatin1String("NOME"), Qt::CaseInsensitive) == 0)
            nameCol = i;
    }
    if (codeCol < 0 || nameCol < 0)
        throw Error(QStringLiteral("A tabela TABEMPRESA não tem as colunas EMPRESA e NOME."));
    QList<Entity> list;
    for (const db::Row &row : rs.rows)
        list.append({row.at(codeCol).toInt(), row.at(nameCol).toString().trimmed()});
    return list;
}

QString exerciseYear(db::Conexao &db)
{
    return db.selectValue(QStringLiteral("SELECT MEXER FROM CADCLI")).toString().trimmed();
}

int unclassifiedCommitmentCount(db::Conexao &db)
{
    return int(db.select(kUnclassifiedCommitmentsQuery).rows.size());
}

bool hasUnclassifiedCommitments(db::Conexao &db) { return unclassifiedCommitmentCount(db) > 0; }

QStringList bimesterItems()
{
    QStringList items;
    for (int b = 1; b <= 6; ++b)
        items << QStringLiteral("%1º BIMESTRE").arg(b);
    return items;
}

} // namespace orven::generation
