#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace orven::firebird {

// The account of the accounting suite on its databases.
inline constexpr const char *kUser = "KALDOR08";
inline constexpr const char *kPassword = "mudq";
// Character set of the suite's databases and of every connection we open.
inline constexpr const char *kCharset = "WIN1252";

// Creates an empty dialect-3 database with WIN1252 as default character set,
// owned by the suite's account. A local path uses the embedded engine,
// "host:path" a server. Throws orven::Error with the engine's text.
void createDatabase(const QString &path, const QString &user = QString::fromLatin1(kUser),
                    const QString &password = QString::fromLatin1(kPassword));

// Drops a database (used when a demo installation is replaced).
void dropDatabase(const QString &path, const QString &user = QString::fromLatin1(kUser),
                  const QString &password = QString::fromLatin1(kPassword));

// Adds (not opens) a QIBASE connection named connectionName with the suite's
// account and the WIN1252 character set.
QSqlDatabase addConnection(const QString &connectionName, const QString &path,
                           const QString &user = QString::fromLatin1(kUser),
                           const QString &password = QString::fromLatin1(kPassword));

// The client library catches SIGINT and SIGTERM and shuts the engine down
// (every attachment is then lost) without ending the process. `handler` is
// called, from the library's own thread, after such a shutdown so that the
// program can end in an orderly way. Only one handler is kept.
void onSignalShutdown(std::function<void()> handler);

} // namespace orven::firebird
