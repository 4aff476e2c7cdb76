#pragma once

#include <QString>

namespace orven::config {

// Reads one key of a Windows-style profile file ("[Section]" lines and
// "key=value" lines) with the semantics of the platform's profile reader:
// section and key are matched without regard to case, the first matching
// section and key win, blanks around names and values are dropped, and a
// missing file, section or key gives def. The file is read afresh at every
// call. Text is taken as UTF-16 after its byte-order mark, as UTF-8 when it
// is valid UTF-8, else as Windows-1252. Lines may end in CR LF, LF or CR.
QString readProfileString(const QString &filePath, const QString &section, const QString &key,
                          const QString &def = QString());

// The file named `name` in folder `dir`, matched without regard to case;
// dir + "/" + name when no file of that name exists there.
QString findFileNoCase(const QString &dir, const QString &name);

} // namespace orven::config
