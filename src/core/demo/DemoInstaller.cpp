#include "demo/DemoInstaller.h"

#include "common/Error.h"
#include "common/Progress.h"
#include "common/Text.h"
#include "db/Firebird.h"
#include "demo/TabdefFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orven::demo {

namespace {

const char *const kMarkerName = "ORVEN_DEMO.TXT";

QString withSlash(const QString &path) { return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'); }

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

QString markerPath(const DemoSummary &l) { return l.baseFolder + QLatin1String(kMarkerName); }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw Error(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(native(path), f.errorString()));
}

// [ZUNT] with the year and the base folder as this workstation sees it; in
// Windows-1252 like the suite's own files, unless the path needs more.
QByteArray iniContents(const DemoSummary &l)
{
    const QString content = QStringLiteral("[ZUNT]\r\nAno=%1\r\nCaminho_Base_Dados=%2\r\n")
                                .arg(QString::number(kDemoYear), native(l.baseFolder));
    bool lossless = false;
    const QByteArray cp = text::toWindows1252(content, &lossless);
    return lossless ? cp : content.toUtf8();
}

// Removes an earlier demo installation: its database (dropped through the
// engine, so that a database in use is noticed), zunt.ini and ZUNT_8.
void removeDemo(const DemoSummary &l)
{
    if (QFileInfo::exists(l.databasePath)) {
        try {
            firebird::dropDatabase(l.databasePath);
        } catch (const Error &e) {
            // A file that is no database at all can simply go; one that the
            // engine keeps open (in use elsewhere) must stay.
            if (!QFile::remove(l.databasePath))
                throw Error(QStringLiteral("Não foi possível apagar o banco de dados da demonstração anterior:\n%1")
                                .arg(e.message()));
        }
    }
    if (QFileInfo::exists(l.iniPath) && !QFile::remove(l.iniPath))
        throw Error(QStringLiteral("Não foi possível apagar %1.").arg(native(l.iniPath)));
    QDir base(l.baseFolder);
    if (base.exists() && !base.removeRecursively())
        throw Error(QStringLiteral("Não foi possível apagar a pasta %1.").arg(native(l.baseFolder)));
}

} // namespace

DemoSummary demoLayout(const QString &dir)
{
    DemoSummary l;
    l.folder = QDir::cleanPath(QDir(dir).absolutePath());
    const QString root = withSlash(l.folder);
    l.iniPath = root + QStringLiteral("zunt.ini");
    l.baseFolder = root + QStringLiteral("ZUNT_8/");
    l.databasePath = l.baseFolder + QStringLiteral("ARQ%1/ZUNT%1.FDB").arg(kDemoYear);
    l.tabdefFolder = l.baseFolder + QStringLiteral("TABDEF/");
    return l;
}

bool installationExists(const QString &dir)
{
    const DemoSummary l = demoLayout(dir);
    QDir folder(l.folder);
    if (!folder.exists())
        return false;
    // zunt.ini whatever the case of its name, and the ZUNT_8 folder.
    for (const QFileInfo &fi : folder.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (fi.isFile() && fi.fileName().compare(QStringLiteral("zunt.ini"), Qt::CaseInsensitive) == 0)
            return true;
        if (fi.isDir() && fi.fileName() == u"ZUNT_8")
            return true;
    }
    return false;
}

DemoSummary createDemo(const QString &dir, DemoSize size, bool replace, Progress &progress)
{
    QElapsedTimer timer;
    timer.start();
    DemoSummary l = demoLayout(dir);
    l.size = size;

    // The path resolver takes the installation root from the first "ZUNT_8"
    // of the base folder; a folder above DIR with that name would send the
    // table-definition folder elsewhere.
    if (l.folder.contains(QStringLiteral("zunt_8"), Qt::CaseInsensitive))
        throw Error(QStringLiteral("A pasta da demonstração não pode conter \"ZUNT_8\" no caminho: %1").arg(native(l.folder)));

    if (installationExists(l.folder)) {
        if (!replace)
            throw Error(QStringLiteral("Já existe uma instalação em %1 (zunt.ini ou ZUNT_8); nada foi alterado. "
                                       "Use --replace para substituí-la.")
                            .arg(native(l.folder)));
        if (!QFileInfo::exists(markerPath(l)))
            throw Error(QStringLiteral("A instalação em %1 não é uma demonstração do ORVEN (falta %2); "
                                       "ela não será apagada.")
                            .arg(native(l.folder), QLatin1String(kMarkerName)));
        progress.setStatus(QStringLiteral("Removendo a demonstração anterior"));
        removeDemo(l);
        l.replaced = true;
    }

    const bool folderExisted = QDir(l.folder).exists();
    try {
        const QString yearFolder = QFileInfo(l.databasePath).absolutePath();
        if (!QDir().mkpath(yearFolder))
            throw Error(QStringLiteral("Não foi possível criar a pasta %1.").arg(native(yearFolder)));
        writeFile(markerPath(l), QByteArrayLiteral("Instalação de demonstração criada por orven-cli demo.\r\n"
                                                   "orven-cli demo --replace pode apagá-la e refazê-la.\r\n"));
        progress.setStatus(QStringLiteral("Catálogo e plano de contas do tribunal"));
        writeTabdefFiles(l.tabdefFolder);
        l.contents = createDemoDatabase(l.databasePath, size, progress);
        writeFile(l.iniPath, iniContents(l));
    } catch (...) {
        QFile::remove(l.iniPath);
        QDir(l.baseFolder).removeRecursively();
        if (!folderExisted)
            QDir().rmdir(l.folder);
        throw;
    }
    l.elapsedMs = timer.elapsed();
    return l;
}

} // namespace orven::demo
