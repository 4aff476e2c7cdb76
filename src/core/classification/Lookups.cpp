#include "classification/Lookups.h"

#include "db/Connection.h"
#include "db/RecordSet.h"

namespace orven::classification {

using db::FieldDecl;
using db::FieldType;

QString quoteEscaped(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return s;
}

// ---- court chart lookup -------------------------------------------------------------------

void setUpChartLookupSet(db::RecordSet &set, db::Conexao *connection)
{
    set.setConnection(connection);
    set.setCommandText(kChartLookupQuery);
    set.setFieldDecls({
        {QStringLiteral("CODTIPO"), FieldType::String, 5, true},
        {QStringLiteral("NUM_CONTABIL"), FieldType::String, 18, true},
        {QStringLiteral("DESC_CONTABIL"), FieldType::String, 150, false},
        {QStringLiteral("DESC_TIPO"), FieldType::String, 150, false},
        {QStringLiteral("TIPO"), FieldType::String, 1, true},
    });
}

QString chartSearchQuery(ChartSearch by, const QString &text)
{
    QString condition;
    if (!text.trimmed().isEmpty()) {
        const QString t = quoteEscaped(text); // as typed: blanks take part
        switch (by) {
        case ChartSearch::Group:
            condition = QStringLiteral(" WHERE A.CODTIPO = '") + t + QStringLiteral("'");
            break;
        case ChartSearch::Code:
            condition = QStringLiteral(" WHERE A.NUM_CONTABIL LIKE '") + t + QStringLiteral("%'");
            break;
        case ChartSearch::Description:
            condition = QStringLiteral(" WHERE A.DESC_CONTABIL LIKE '%") + t + QStringLiteral("%'");
            break;
        }
    }
    return QStringLiteral("SELECT A.*,B.DESC_TIPO, B.TIPO FROM ORVEN_CONPLA A INNER JOIN ORVEN_TIPO B ON B.CODTIPO = "
                          "A.CODTIPO ") +
           condition + QStringLiteral(" ") + QStringLiteral("ORDER BY A.CODTIPO, A.NUM_CONTABIL ASC");
}

void searchChart(db::RecordSet &set, ChartSearch by, const QString &text)
{
    set.close();
    set.setCommandText(chartSearchQuery(by, text));
    set.open();
}

// ---- economic category lookup -----------------------------------------------------------------

void setUpCategoryLookupSet(db::RecordSet &set, db::Conexao *connection)
{
    set.setConnection(connection);
    set.setCommandText(kCategoryLookupQuery);
    set.setFieldDecls({
        {QStringLiteral("CATEGORIA"), FieldType::String, 1, true},
        {QStringLiteral("GRUPO"), FieldType::String, 1, true},
        {QStringLiteral("MODALIDADE"), FieldType::String, 2, true},
        {QStringLiteral("ELEMENTO"), FieldType::String, 2, true},
        {QStringLiteral("DESDOBRO"), FieldType::String, 2, true},
        {QStringLiteral("NOME"), FieldType::String, 60, true},
        {QStringLiteral("CATEC"), FieldType::String, 12, false},
        {QStringLiteral("COD_TCE"), FieldType::Unknown, 0, false},
    });
}

QString categorySearchQuery(CategorySearch by, const QString &text)
{
    const QString t = quoteEscaped(text.trimmed());
    if (t.isEmpty())
        return QStringLiteral("SELECT * FROM TABCATEC ORDER BY CATEC ASCENDING ");
    if (by == CategorySearch::Category)
        return QStringLiteral("SELECT * FROM TABCATEC WHERE CATEC LIKE '") + t +
               QStringLiteral("%' ORDER BY CATEC ASCENDING ");
    return QStringLiteral("SELECT * FROM TABCATEC WHERE NOME LIKE '%") + t +
           QStringLiteral("%' ORDER BY CATEC ASCENDING ");
}

void searchCategories(db::RecordSet &set, CategorySearch by, const QString &text)
{
    set.close();
    set.setCommandText(categorySearchQuery(by, text));
    set.open();
}

} // namespace orven::classification
