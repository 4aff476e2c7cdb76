#pragma once

#include <QByteArray>
#include <QString>

namespace orven::text {

// Windows-1252, the code page of the suite's files and database.
QString fromWindows1252(const QByteArray &bytes);
// Characters outside Windows-1252 become '?' unless a replacement is handled by the caller.
QByteArray toWindows1252(const QString &text, bool *lossless = nullptr);
bool isWindows1252(QChar c);

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), else Windows-1252.
QString decodeUtf8OrWindows1252(const QByteArray &bytes);

} // namespace orven::text
