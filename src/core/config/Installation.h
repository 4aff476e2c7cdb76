#pragma once

#include <QString>

namespace orven::config {

// The folder that holds zunt.ini: the one named by setConfigDirOverride()
// (the command line's --config-dir), else the environment variable
// ORVEN_CONFIG_DIR, else the folder of the running executable.
QString configDir();
void setConfigDirOverride(const QString &dir);

// Full path of the configuration file in configDir(), whatever the case of
// its name on disk ("zunt.ini", "Zunt.ini", "ZUNT.INI").
QString zuntIniPath();

// A key of section "ZUNT" of zunt.ini, read afresh at every call; def when
// the file or the key is missing.
QString zuntValue(const QString &key, const QString &def = QString());

} // namespace orven::config
