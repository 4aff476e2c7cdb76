#pragma once

// The court's published files of a demo installation: the ID catalogue
// (the tree of cadastro, opcao, tipo, conta, periodicidade and dados rows
// that a generation walks) and the court chart of accounts (account types
// and accounts imported into ORVEN_TIPO and ORVEN_CONPLA).
//
// Two catalogue editions exist. The reference edition ("ID_ORVEN.XML", read
// for the exercise 2007) carries the court's original tipo and conta ids.
// The 2008 edition ("ID_ORVEN2008.XML", read for every other year) has the
// same rows but the later numbering, whose ids are the ones the education,
// health, amortised-debt, outstanding-commitment and cash sections look for.

#include "packet/DataPacket.h"

#include <QList>
#include <QString>

namespace orven::demo {

// One account (conta) of a catalogue tipo.
struct CourtAccount {
    QString code; // court code without its padding: "1.1.12.02.00", "1.10", "1.100.100"; or a marker
    QString name; // description as the catalogue gives it
    QString id;   // the court's account id in the reference edition
};

// One account type of the court chart ("ORVENTIPO.XML").
struct ChartType {
    QString codtipo;     // as written in the file (one row carries blanks around it)
    QString description;
    QString kind;        // "R", "D", "V" or "P"
};

// One account of the court chart ("ORVENCONPLA.XML").
struct ChartAccount {
    QString codtipo;     // as written in the file
    QString numContabil; // what the classification writes into BALCO_TCE / COD_TCE
    QString description;
};

enum class CatalogueEdition { Reference, Year2008 };

// Width to which the court pads its account codes in the conta "value" field.
inline constexpr int kAccountCodeWidth = 15;
// Width to which the court pads the names of the revenue and expense tipos.
inline constexpr int kPaddedTipoNameWidth = 50;

// The whole catalogue: one top row "lrfcaptura" and its nested levels.
packet::DataPacket buildCatalogue(CatalogueEdition edition);
inline packet::DataPacket referenceCatalogue() { return buildCatalogue(CatalogueEdition::Reference); }
inline packet::DataPacket catalogue2008() { return buildCatalogue(CatalogueEdition::Year2008); }

// The accounts of the catalogue tipo whose value is tipoValue ("101", "201",
// "205", "01", "008", "#TIPO", "Ano", ...), in catalogue order, with the
// reference ids. The same list stands under every opcao that has the tipo.
// Empty for a value the catalogue does not have.
QList<CourtAccount> referenceAccounts(const QString &tipoValue);

// The tipo values of the catalogue, in the order they first appear.
QStringList catalogueTipoValues();

// The court chart, row by row as the two files hold it, including the rows
// that the import is meant to pass over: the excluded types, one account
// listed twice with two descriptions (the first one counts) and one type
// code written with blanks around it.
QList<ChartType> courtChartTypes();
QList<ChartAccount> courtChartAccounts();

// The chart rows as data packets: fields "CODTIPO", "DESCRICAO", "TIPO" and
// "CODTIPO", "NUM_CONTABIL", "DESC_CONTABIL".
packet::DataPacket chartTypesPacket();
packet::DataPacket chartAccountsPacket();

} // namespace orven::demo
