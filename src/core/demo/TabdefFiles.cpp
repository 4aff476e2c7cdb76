#include "demo/TabdefFiles.h"

#include "common/Error.h"
#include "demo/ReferenceCatalogue.h"

#include <QDir>

namespace orven::demo {

void writeTabdefFiles(const QString &tabdefFolder)
{
    QDir dir(tabdefFolder);
    if (!dir.exists() && !QDir().mkpath(tabdefFolder))
        throw Error(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(QDir::toNativeSeparators(tabdefFolder)));

    referenceCatalogue().save(dir.filePath(QStringLiteral("ID_ORVEN.XML")));
    catalogue2008().save(dir.filePath(QStringLiteral("ID_ORVEN2008.XML")));
    chartTypesPacket().save(dir.filePath(QStringLiteral("ORVENTIPO.XML")));
    chartAccountsPacket().save(dir.filePath(QStringLiteral("ORVENCONPLA.XML")));
}

} // namespace orven::demo
