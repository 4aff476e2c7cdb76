#include "shell/ModuleInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <elf.h>
#include <link.h>

namespace orven::ui::modules {

namespace {

// Bounds that keep a damaged file from making us read much.
constexpr quint64 kMaxProgramHeaders = 4096;
constexpr quint64 kMaxDynamicBytes = 1 << 20;
constexpr quint64 kMaxStringTable = 16 << 20;

class ElfReader {
public:
    explicit ElfReader(const QString &path) : m_file(path) {}

    QStringList needed()
    {
        if (!m_file.open(QIODevice::ReadOnly))
            return {};
        m_size = quint64(m_file.size());
        const QByteArray ident = read(0, EI_NIDENT);
        if (ident.size() != EI_NIDENT || !ident.startsWith(QByteArray(ELFMAG, SELFMAG)))
            return {};
        m_is64 = ident[EI_CLASS] == ELFCLASS64;
        if (!m_is64 && ident[EI_CLASS] != ELFCLASS32)
            return {};
        m_bigEndian = ident[EI_DATA] == ELFDATA2MSB;
        if (!m_bigEndian && ident[EI_DATA] != ELFDATA2LSB)
            return {};

        // Program headers: the loadable segments and the dynamic segment.
        quint64 phoff, phentsize, phnum;
        if (m_is64) {
            phoff = u64(0x20);
            phentsize = u16(0x36);
            phnum = u16(0x38);
        } else {
            phoff = u32(0x1C);
            phentsize = u16(0x2A);
            phnum = u16(0x2C);
        }
        if (!m_ok || phnum == 0 || phnum > kMaxProgramHeaders
            || phentsize < (m_is64 ? sizeof(Elf64_Phdr) : sizeof(Elf32_Phdr)))
            return {};

        struct Segment {
            quint64 offset, vaddr, filesz;
        };
        QList<Segment> loads;
        Segment dynamic{0, 0, 0};
        bool haveDynamic = false;
        for (quint64 i = 0; i < phnum; ++i) {
            const quint64 at = phoff + i * phentsize;
            quint32 type = u32(at);
            Segment s;
            if (m_is64) {
                s = {u64(at + 0x08), u64(at + 0x10), u64(at + 0x20)};
            } else {
                s = {u32(at + 0x04), u32(at + 0x08), u32(at + 0x10)};
            }
            if (!m_ok)
                return {};
            if (type == PT_LOAD)
                loads.append(s);
            else if (type == PT_DYNAMIC) {
                dynamic = s;
                haveDynamic = true;
            }
        }
        if (!haveDynamic || dynamic.filesz > kMaxDynamicBytes)
            return {};

        // Dynamic entries: the needed names are offsets into the string table.
        const quint64 entSize = m_is64 ? 16 : 8;
        QList<quint64> neededOffsets;
        quint64 strtabAddr = 0, strtabSize = 0;
        bool haveStrtab = false;
        for (quint64 at = dynamic.offset; at + entSize <= dynamic.offset + dynamic.filesz; at += entSize) {
            const quint64 tag = m_is64 ? u64(at) : u32(at);
            const quint64 val = m_is64 ? u64(at + 8) : u32(at + 4);
            if (!m_ok)
                return {};
            if (tag == DT_NULL)
                break;
            if (tag == DT_NEEDED)
                neededOffsets.append(val);
            else if (tag == DT_STRTAB) {
                strtabAddr = val;
                haveStrtab = true;
            } else if (tag == DT_STRSZ)
                strtabSize = val;
        }
        if (neededOffsets.isEmpty() || !haveStrtab || strtabSize == 0 || strtabSize > kMaxStringTable)
            return {};

        // The string table's address, as a place in the file.
        quint64 strtabOffset = 0;
        bool mapped = false;
        for (const Segment &s : loads) {
            if (strtabAddr >= s.vaddr && strtabAddr - s.vaddr < s.filesz) {
                strtabOffset = s.offset + (strtabAddr - s.vaddr);
                mapped = true;
                break;
            }
        }
        if (!mapped)
            return {};
        const QByteArray strings = read(strtabOffset, strtabSize);
        if (quint64(strings.size()) != strtabSize)
            return {};

        QStringList names;
        for (quint64 off : neededOffsets) {
            if (off >= strtabSize)
                continue;
            const qsizetype end = strings.indexOf('\0', qsizetype(off));
            if (end < 0)
                continue;
            names << QString::fromUtf8(strings.constData() + off, end - qsizetype(off));
        }
        return names;
    }

private:
    QByteArray read(quint64 offset, quint64 length)
    {
        if (offset > m_size || length > m_size - offset || !m_file.seek(qint64(offset))) {
            m_ok = false;
            return {};
        }
        QByteArray bytes = m_file.read(qint64(length));
        if (quint64(bytes.size()) != length)
            m_ok = false;
        return bytes;
    }

    quint64 number(quint64 offset, int width)
    {
        const QByteArray b = read(offset, quint64(width));
        if (b.size() != width)
            return 0;
        quint64 v = 0;
        for (int i = 0; i < width; ++i) {
            const quint64 byte = quint8(b[m_bigEndian ? i : width - 1 - i]);
            v = (v << 8) | byte;
        }
        return v;
    }
    quint64 u16(quint64 offset) { return number(offset, 2); }
    quint64 u32(quint64 offset) { return number(offset, 4); }
    quint64 u64(quint64 offset) { return number(offset, 8); }

    QFile m_file;
    quint64 m_size = 0;
    bool m_is64 = true;
    bool m_bigEndian = false;
    bool m_ok = true;
};

QString executablePath()
{
    const QString viaProc = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!viaProc.isEmpty())
        return viaProc;
    return QCoreApplication::applicationFilePath();
}

int collectModule(struct dl_phdr_info *info, size_t, void *data)
{
    auto *names = static_cast<QStringList *>(data);
    // The executable comes first, with an empty name.
    names->append(info->dlpi_name ? QString::fromLocal8Bit(info->dlpi_name) : QString());
    return 0;
}

} // namespace

QStringList elfNeededLibraries(const QString &path) { return ElfReader(path).needed(); }

QList<Unit> programUnits(const QString &executablePath)
{
    // The program entry, then the libraries linked into it.
    return {
        {QFileInfo(executablePath).completeBaseName(), MainUnit},
        {QStringLiteral("orven_ui"), 0},
        {QStringLiteral("orven_core"), 0},
    };
}

QList<Module> loadedModules()
{
    QStringList names;
    dl_iterate_phdr(&collectModule, &names);

    QList<Module> modules;
    QSet<QString> seen;
    bool first = true;
    for (const QString &raw : names) {
        const bool isExecutable = first;
        first = false;
        QString path = isExecutable && raw.isEmpty() ? executablePath() : raw;
        // Objects that are not files (the kernel's vDSO) are not modules of the program.
        if (path.isEmpty() || !QFileInfo(path).isFile())
            continue;
        if (seen.contains(path))
            continue;
        seen.insert(path);

        Module m;
        m.fileName = path.left(kFileNameLength);
        m.required = elfNeededLibraries(path);
        if (isExecutable)
            m.contains = programUnits(path);
        modules.append(m);
    }
    return modules;
}

QString unitNodeText(const QString &name, int flags)
{
    QString text = QStringLiteral(" ");
    if (flags & MainUnit)
        text += QStringLiteral("Main Unit ");
    if (flags & PackageUnit)
        text += QStringLiteral("Package Unit ");
    if (flags & WeakUnit)
        text += QStringLiteral("Weak Unit ");
    if (text.size() > 1)
        text = QStringLiteral(" (") + text + QStringLiteral(")");
    return name + text;
}

} // namespace orven::ui::modules
