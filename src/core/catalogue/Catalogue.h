#pragma once

// The court's ID catalogue: the tree of report sections (cadastro), their
// options (opcao), account types (tipo) and accounts (conta) that a capture
// file must contain. Read afresh from the table-definition folder at every run.

#include <QList>
#include <QString>

namespace orven::packet {
class DataPacket;
}

namespace orven::catalogue {

struct Conta {
    QString name;  // as stored
    QString value; // as stored: the code padded with blanks, or a marker
    QString id;
    // "properties" of the account's first periodicidade row ("0", "1", "2");
    // empty when the account has no period rows.
    QString periodProperties;
};

struct Tipo {
    QString name; // trailing blanks are part of the name
    QString value;
    QString id;
    QList<Conta> contas;
};

struct Opcao {
    QString name;
    QString id; // the option kind: "movimento", "orcado", ...
    QList<Tipo> tipos;
};

struct Cadastro {
    QString name;
    QList<Opcao> opcoes;
};

struct Catalogue {
    QString name;       // root element name of the capture format ("lrfcaptura")
    QString properties; // "bimestre"
    QString version;    // "3.0"
    QString xsi;        // XML Schema instance namespace
    QList<Cadastro> cadastros;

    // Reads a catalogue file; throws orven::Error naming the file when it is
    // missing, unreadable or not a catalogue.
    static Catalogue load(const QString &path);
    static Catalogue fromPacket(const packet::DataPacket &packet, const QString &sourceName);

    // "ID_ORVEN.XML" for the exercise year "2007", else "ID_ORVEN2008.XML".
    static QString fileNameForYear(const QString &exerciseYear);

    int contaCount() const;
};

} // namespace orven::catalogue
