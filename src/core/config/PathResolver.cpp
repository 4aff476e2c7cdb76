#include "config/PathResolver.h"

#include "common/Error.h"
#include "config/Installation.h"
#include "config/Profile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace orven::config {

namespace {

const QString kMarker = QStringLiteral("ZUNT_8");

// The path cut just after the first occurrence of "ZUNT_8" (any case), the
// marker written back in upper case; the path itself without a marker.
QString installationRoot(const QString &path)
{
    const qsizetype at = path.indexOf(kMarker, 0, Qt::CaseInsensitive);
    return at < 0 ? path : path.left(at) + kMarker;
}

// The installation root of a path this workstation opens. On a file system
// that tells case apart, the marker written back in upper case may name no
// folder at all ("/srv/zunt_8" installed, "/srv/ZUNT_8" asked for): the
// spelling of the configuration is kept then, when that one exists.
QString workstationRoot(const QString &path)
{
    const QString root = installationRoot(path);
    const QString asWritten = path.left(root.size());
    if (root != asWritten && !QFileInfo::exists(root) && QFileInfo::exists(asWritten))
        return asWritten;
    return root;
}

bool endsWith(const QString &text, QChar c) { return !text.isEmpty() && text.back() == c; }

// The text followed by sep unless it already ends in sep.
QString withSeparator(const QString &text, QChar sep) { return endsWith(text, sep) ? text : text + sep; }

// A whole number as the platform's integer conversion reads it: an optional
// sign and decimal digits, nothing else.
bool toWholeNumber(const QString &text, qint64 *value)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (i == text.size())
        return false;
    for (qsizetype j = i; j < text.size(); ++j) {
        if (text[j] < QLatin1Char('0') || text[j] > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    if (ok)
        *value = n;
    return ok;
}

// The year of a code "BA"/"DA" with an optional number n: Ano minus n (1 when
// the code has no number).
QString offsetYear(const QString &ano, const QString &code)
{
    const QString rest = code.mid(2);
    qint64 offset = 1;
    if (!rest.isEmpty() && !toWholeNumber(rest, &offset))
        throw Error(QStringLiteral("O código de diretório \"%1\" não tem um número de anos válido: \"%2\" não é "
                                   "um número inteiro.")
                        .arg(code, rest));
    qint64 year = 0;
    if (!toWholeNumber(ano, &year))
        throw Error(QStringLiteral("O ano \"%1\" (chave Ano de zunt.ini) não é um número inteiro válido; o código "
                                   "de diretório \"%2\" precisa dele.")
                        .arg(ano, code));
    return QString::number(year - offset);
}

// Creates the last level of folder when it does not exist.
void ensureFolder(const QString &folder)
{
    if (QDir(folder).exists())
        return;
    if (!QDir().mkdir(folder))
        throw Error(QStringLiteral("Não é possível criar o diretório: ") + folder);
}

struct Resolved {
    QString folder;      // the text returned
    QString createPath;  // the folder to create when missing; empty: none
};

Resolved resolveLocal(const ZuntSettings &s, const QString &k, const QString &rc, QChar l)
{
    const QString &c = s.caminho;
    const QString year = c + QStringLiteral("ARQ") + s.ano + l;
    if (k == QLatin1String("B") || k == QLatin1String("D") || k == QLatin1String("BK"))
        return {year, {}};
    if (k.startsWith(QLatin1String("BA")) || k.startsWith(QLatin1String("DA")))
        return {c + QStringLiteral("ARQ") + offsetYear(s.ano, k) + l, {}};
    if (k == QLatin1String("AP"))
        return {c, {}};
    auto created = [](const QString &folder) { return Resolved{folder, folder}; };
    if (k == QLatin1String("BKAD") || k == QLatin1String("BKAB"))
        return created(year + QStringLiteral("BCK") + l);
    if (k == QLatin1String("TPD") || k == QLatin1String("TPB"))
        return created(year + QStringLiteral("TEMP") + l);
    if (k == QLatin1String("DE"))
        return created(year + QStringLiteral("EXPORTA") + l);
    if (k == QLatin1String("DI"))
        return created(year + QStringLiteral("IMPORTA") + l);
    if (k == QLatin1String("RTM"))
        return created(c + QStringLiteral("RTM") + l);
    if (k == QLatin1String("EXE"))
        return {withSeparator(rc, l), {}};
    // Every other code, "TD" and "TB" among them: the table-definition folder.
    return {withSeparator(rc, l) + QStringLiteral("TABDEF") + l, {}};
}

Resolved resolveServer(const ZuntSettings &s, const QString &k, const QString &rw, const QString &st,
                       const QString &ct, QChar l)
{
    const QChar sep = s.soServidor == QLatin1String("LINUX") ? QLatin1Char('/') : QLatin1Char('\\');
    const QString &c = s.caminho;
    const QString &w = s.diretorio;
    // The year's folder as the workstation reaches it and as the server addresses it (without host).
    const QString wYear = w + QStringLiteral("ARQ") + s.ano + l;
    const QString cYear = c + QStringLiteral("ARQ") + s.ano + sep;
    auto created = [](const QString &folder) { return Resolved{folder, folder}; };

    if (k == QLatin1String("D"))
        return {wYear, {}};
    if (k == QLatin1String("B"))
        return {s.servidor + QLatin1Char(':') + cYear, {}};
    if (k.startsWith(QLatin1String("DA")))
        return {w + QStringLiteral("ARQ") + offsetYear(s.ano, k) + l, {}};
    if (k.startsWith(QLatin1String("BA")))
        return {s.servidor + QLatin1Char(':') + c + QStringLiteral("ARQ") + offsetYear(s.ano, k) + sep, {}};
    if (k == QLatin1String("TD"))
        return {withSeparator(rw, l) + QStringLiteral("TABDEF") + l, {}};
    if (k == QLatin1String("TB")) {
        // No doubled separator when the TABDEF base already ends in one
        // (a backslash, or the server's own separator).
        const QString base = st + QLatin1Char(':') + ct;
        const bool ends = endsWith(base, QLatin1Char('\\')) || endsWith(base, sep);
        return {(ends ? base : base + sep) + QStringLiteral("TABDEF") + sep, {}};
    }
    if (k == QLatin1String("BK"))
        return {cYear, {}};
    if (k == QLatin1String("BKAD"))
        return created(wYear + QStringLiteral("BCK") + l);
    if (k == QLatin1String("BKAB"))
        return {cYear + QStringLiteral("BCK") + sep, wYear + QStringLiteral("BCK") + l};
    if (k == QLatin1String("AP"))
        return {w, {}};
    if (k == QLatin1String("TPD"))
        return created(wYear + QStringLiteral("TEMP") + l);
    if (k == QLatin1String("TPB"))
        return {cYear + QStringLiteral("TEMP") + sep, wYear + QStringLiteral("TEMP") + l};
    if (k == QLatin1String("DE"))
        return created(wYear + QStringLiteral("EXPORTA") + l);
    if (k == QLatin1String("DI"))
        return created(wYear + QStringLiteral("IMPORTA") + l);
    if (k == QLatin1String("RTM"))
        return created(w + QStringLiteral("RTM") + l);
    if (k == QLatin1String("EXE"))
        return {withSeparator(rw, l), {}};
    return {};
}

} // namespace

ZuntSettings ZuntSettings::fromFile(const QString &iniPath)
{
    const QString section = QStringLiteral("ZUNT");
    auto read = [&](const char *key, const QString &def = QString()) {
        return readProfileString(iniPath, section, QLatin1String(key), def);
    };
    ZuntSettings s;
    s.ano = read("Ano");
    s.servidor = read("Servidor");
    s.servidorTabdef = read("ServidorTABDEF");
    s.soServidor = read("SO_Servidor", QStringLiteral("WINDOWS"));
    s.caminho = read("Caminho_Base_Dados");
    s.diretorio = read("Diretorio_Servidor");
    s.caminhoTabdef = read("Caminho_Base_Dados_TABDEF");
    if (s.servidorTabdef.isEmpty())
        s.servidorTabdef = s.servidor;
    if (s.caminhoTabdef.isEmpty())
        s.caminhoTabdef = installationRoot(s.caminho);
    return s;
}

QString resolvePath(const ZuntSettings &settings, const QString &code, QChar localSeparator, bool createFolders)
{
    const QString k = code.toUpper();
    const QString rc = installationRoot(settings.caminho);
    // RC of a local installation and RW are folders of this workstation.
    const QString rcLocal = workstationRoot(settings.caminho);
    const QString rw = workstationRoot(settings.diretorio);
    const QString ct = settings.caminhoTabdef.isEmpty() ? rc : settings.caminhoTabdef;
    const QString st = settings.servidorTabdef.isEmpty() ? settings.servidor : settings.servidorTabdef;

    const Resolved r = settings.servidor.isEmpty() ? resolveLocal(settings, k, rcLocal, localSeparator)
                                                   : resolveServer(settings, k, rw, st, ct, localSeparator);
    if (createFolders && !r.createPath.isEmpty())
        ensureFolder(r.createPath);
    return r.folder;
}

QString resolvePath(const QString &code)
{
    return resolvePath(ZuntSettings::fromFile(zuntIniPath()), code, QDir::separator(), true);
}

QStringList knownCodes()
{
    return {QStringLiteral("B"),    QStringLiteral("D"),   QStringLiteral("BK"),  QStringLiteral("BA"),
            QStringLiteral("DA"),   QStringLiteral("AP"),  QStringLiteral("BKAD"), QStringLiteral("BKAB"),
            QStringLiteral("TPD"),  QStringLiteral("TPB"), QStringLiteral("DE"),  QStringLiteral("DI"),
            QStringLiteral("RTM"),  QStringLiteral("EXE"), QStringLiteral("TD"),  QStringLiteral("TB")};
}

} // namespace orven::config
