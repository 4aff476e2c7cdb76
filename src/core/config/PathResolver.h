#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace orven::config {

// The keys of section "ZUNT" that the resolver reads.
struct ZuntSettings {
    QString ano;             // "Ano"
    QString servidor;        // "Servidor"
    QString servidorTabdef;  // "ServidorTABDEF"
    QString soServidor = QStringLiteral("WINDOWS"); // "SO_Servidor"
    QString caminho;         // "Caminho_Base_Dados"
    QString diretorio;       // "Diretorio_Servidor"
    QString caminhoTabdef;   // "Caminho_Base_Dados_TABDEF"

    // Reads the keys from a profile file (defaults when missing).
    static ZuntSettings fromFile(const QString &iniPath);
};

// Turns a directory code ("B", "D", "TD", "BA2", ...) into a folder path
// ending in a separator. Paths this workstation opens use localSeparator;
// paths as the database server sees them use the server's separator.
// The installation root is the path cut after its first "ZUNT_8" (any
// case), written back in upper case; for a folder of this workstation the
// spelling of the configuration is kept when only that one exists on disk
// (file systems that tell case apart). Creates the working folders marked
// so (createFolders false: none, for listings); throws orven::Error
// ("Não é possível criar o diretório: " + path) when that fails, and when a
// year-offset code meets a year or offset that is not a whole number.
QString resolvePath(const ZuntSettings &settings, const QString &code, QChar localSeparator,
                    bool createFolders = true);

// The resolver as the program uses it: zunt.ini of configDir() read afresh,
// the platform's separator.
QString resolvePath(const QString &code);

// Every code the resolver knows, for listings ("B", "D", "BK", "BA", "DA", "AP", ...).
QStringList knownCodes();

} // namespace orven::config
