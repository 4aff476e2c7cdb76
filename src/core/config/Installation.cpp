#include "config/Installation.h"

#include "config/Profile.h"

#include <QCoreApplication>
#include <QDir>

namespace orven::config {

namespace {
QString g_override;
}

void setConfigDirOverride(const QString &dir) { g_override = dir; }

QString configDir()
{
    if (!g_override.isEmpty())
        return QDir(g_override).absolutePath();
    const QString env = qEnvironmentVariable("ORVEN_CONFIG_DIR");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString zuntIniPath() { return findFileNoCase(configDir(), QStringLiteral("zunt.ini")); }

QString zuntValue(const QString &key, const QString &def)
{
    return readProfileString(zuntIniPath(), QStringLiteral("ZUNT"), key, def);
}

} // namespace orven::config
