#pragma once

// The guarantees file ORVEN_Garantia.xml: the guarantee and counter-guarantee
// amounts per bimester that the accounting database does not hold. One file
// per accounting year, in the year's data folder (directory code "D"); a
// client-dataset data packet with the fields Codigo, Descricao and Valor1 ..
// Valor6 and a primary index on codigo. The guarantees editor writes it; the
// guarantee section of the generation reads it.

#include <QList>
#include <QString>

#include <array>

namespace orven::packet {
class DataPacket;
}

namespace orven::guarantees {

inline constexpr const char *kFileName = "ORVEN_Garantia.xml";
// The primary index on codigo (the current order of the rows).
inline constexpr const char *kIndexName = "CdsGarantiaIndex1";
inline constexpr int kCodeWidth = 10;
inline constexpr int kDescriptionWidth = 100;
inline constexpr int kBimesters = 6;

struct Guarantee {
    QString codigo;
    QString descricao;
    std::array<double, kBimesters> valores{}; // Valor1 .. Valor6

    // Amount of bimester 1..6.
    double valor(int bimester) const { return valores.at(bimester - 1); }
    void setValor(int bimester, double amount) { valores.at(bimester - 1) = amount; }
    bool operator==(const Guarantee &) const = default;
};

class GuaranteesFile {
public:
    // The folder of directory code "D" followed by ORVEN_Garantia.xml.
    static QString defaultPath();

    // The twelve guarantee rows, in code order, with zero amounts.
    static QList<Guarantee> defaultRows();

    // Reads a file, rows in code order. Throws orven::Error when the file is
    // missing, damaged, not a data packet, or lacks Codigo or one of Valor1 ..
    // Valor6.
    static QList<Guarantee> load(const QString &path);

    // The file's rows when it exists, else the twelve rows with zero amounts
    // (the file is not written then). `existed` says which. Throws like load()
    // for a file that exists and cannot be read.
    static QList<Guarantee> loadOrCreate(const QString &path, bool *existed = nullptr);

    // Writes the rows to a temporary file beside path and renames it over
    // path, so the previous file stays whole when anything fails. Throws
    // orven::Error (a code longer than 10 characters, a description longer
    // than 100, an amount that is not a number, or a write error).
    static void save(const QString &path, const QList<Guarantee> &rows);

    static packet::DataPacket toPacket(const QList<Guarantee> &rows);
    static QList<Guarantee> fromPacket(const packet::DataPacket &packet, const QString &sourceName);

    // The row whose code equals `code` exactly (case and blanks count), or
    // nullptr.
    static const Guarantee *find(const QList<Guarantee> &rows, const QString &code);
};

} // namespace orven::guarantees
