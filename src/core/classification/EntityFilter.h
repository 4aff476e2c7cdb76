#pragma once

// The entity selector of the revenue and expense windows: item 0 is
// "0000 - CONSOLIDADO" (every entity), then one item per entity of
// TABEMPRESA, "0002 - CÂMARA MUNICIPAL"; choosing an item filters the
// window's record set on EMPRESA.

#include <QString>

namespace orven::db {
class RecordSet;
}

namespace orven::classification {

inline const QString kConsolidatedItem = QStringLiteral("0000 - CONSOLIDADO");

// "0002 - NAME": the number with at least four digits, zero-filled.
QString entityItem(int entity, const QString &name);
// The entity of an item: its first four characters as a number (0 for
// "0000 - CONSOLIDADO" and for an item that does not begin with a number).
int entityOfItem(const QString &item);

// The filter of an entity: empty for 0 (every entity), otherwise
// "EMPRESA = '2'" (the number without leading zeros).
QString entityFilterText(int entity);
// Filters the record set on the entity (0: filtering switched off and the
// filter emptied). Puts the cursor on the first row of an open set; a
// closed set keeps the filter for its next opening.
void setEntityFilter(db::RecordSet &records, int entity);

} // namespace orven::classification
