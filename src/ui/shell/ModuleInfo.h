#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace orven::ui::modules {

// What the package information dialog shows of each module of the running
// program. On this platform a module is the executable or a shared library
// loaded into the process; the libraries a module requires are the DT_NEEDED
// entries of its ELF dynamic section; the executable lists its own components.

enum UnitFlag { MainUnit = 1, PackageUnit = 2, WeakUnit = 4 };
enum PackageFlag { DesignOnly = 2, RunOnly = 4 };

struct Unit {
    QString name;
    int flags = 0; // UnitFlag bits
};

struct Module {
    QString fileName;
    QString description; // empty: none
    int packageFlags = 0; // PackageFlag bits
    QList<Unit> contains;
    QStringList required;
};

// Longest module file name shown; a longer one is cut.
constexpr int kFileNameLength = 199;

// The executable followed by every loaded shared library, in load order.
QList<Module> loadedModules();

// The DT_NEEDED entries of an ELF file (32 or 64 bits, either byte order), in
// file order. Empty when the file cannot be read, is not ELF or has no
// dynamic section; a damaged file never reads outside its own bytes.
QStringList elfNeededLibraries(const QString &path);

// The components the program's executable is built from, the main one first.
QList<Unit> programUnits(const QString &executablePath);

// "Name" followed by the flags text: " " when there are no flags, otherwise
// " (" + " Main Unit Package Unit Weak Unit " (those present) + ")".
QString unitNodeText(const QString &name, int flags);

} // namespace orven::ui::modules
