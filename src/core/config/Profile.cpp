#include "config/Profile.h"

#include "common/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace orven::config {

QString readProfileString(const QString &filePath, const QString &section, const QString &key, const QString &def)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return def;
    const QByteArray bytes = file.readAll();
    file.close();
    // Files saved as "Unicode" carry a UTF-16 byte-order mark; the others are
    // UTF-8 or the ANSI code page.
    QString content;
    if (bytes.startsWith("\xFF\xFE"))
        content = QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    else if (bytes.startsWith("\xFE\xFF"))
        content = QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    else
        content = text::decodeUtf8OrWindows1252(bytes);

    bool inSection = false;
    // Lines end in CR LF, LF or a lone CR.
    QString normalized = content;
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = normalized.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        // A section header: "[" name "]"; a "[" line without "]" is read as an ordinary line.
        const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
        if (line.startsWith(QLatin1Char('[')) && close > 0) {
            const QString name = line.mid(1, close - 1).trimmed();
            if (inSection)
                return def; // the first matching section was read to its end
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            QString value = line.mid(eq + 1).trimmed();
            // The platform drops one pair of enclosing quotes.
            if (value.size() >= 2 && ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) ||
                                      (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return def;
}

QString findFileNoCase(const QString &dir, const QString &name)
{
    const QDir folder(dir);
    const QString exact = folder.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return exact;
}

} // namespace orven::config
