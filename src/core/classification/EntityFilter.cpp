#include "classification/EntityFilter.h"

#include "db/RecordSet.h"

namespace orven::classification {

QString entityItem(int entity, const QString &name)
{
    return QStringLiteral("%1 - ").arg(entity, 4, 10, QLatin1Char('0')) + name;
}

int entityOfItem(const QString &item)
{
    bool ok = false;
    const int n = item.left(4).toInt(&ok);
    return ok ? n : 0;
}

QString entityFilterText(int entity)
{
    if (entity == 0)
        return {};
    return QStringLiteral("EMPRESA = '") + QString::number(entity) + QStringLiteral("'");
}

void setEntityFilter(db::RecordSet &records, int entity)
{
    if (entity == 0) {
        records.setFiltered(false);
        records.setFilter(QString());
    } else {
        records.setFilter(entityFilterText(entity));
        records.setFiltered(true);
    }
    if (records.isActive())
        records.first();
}

} // namespace orven::classification
