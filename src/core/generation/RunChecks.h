#pragma once

// What the generation window and the command line check and read before a
// run, and the texts they report.

#include <QList>
#include <QString>

namespace orven::db {
class Conexao;
}

namespace orven::generation {

// The messages of a run.
namespace messages {
inline const QString folderMissing = QStringLiteral("Local onde o Arquivo será gerado Inexistente!");
inline const QString unclassifiedCommitments =
    QStringLiteral("Existem Empenhos de Restos à Pagar sem o Grupo e a Fonte do ORVEN!!!");
inline const QString success = QStringLiteral("Arquivo XML Gerado com Sucesso!!!");
inline const QString failure = QStringLiteral("Erro ao Gerar o Arquivo XML!!!");
inline const QString cancelQuestion = QStringLiteral("Deseja realmente cancelar a Geração do XML?");
inline const QString cancelled = QStringLiteral("Geração do XML Cancelada!!!");
} // namespace messages

// Outstanding commitments whose court group or source is still an empty
// text. The database evaluates AND before OR: a row counts when its expense
// record's account begins with "3211" and its group is empty, or when its
// source is empty and the expense record is extra-budgetary. A null column
// is not an empty text.
inline const QString kUnclassifiedCommitmentsQuery = QStringLiteral(
    "SELECT DESPES.* FROM DESPES INNER JOIN DESDIS ON DESDIS.FICHA = DESPES.FICHA WHERE "
    "SUBSTRING(DESDIS.BALCO FROM 1 FOR 4) = '3211' AND SUBSTRING(DESPES.GRUPO_TCE FROM 1 FOR 1) = '' OR "
    "SUBSTRING(DESPES.COD_TCE FROM 1 FOR 1) = '' AND DESDIS.EXTRA = 'S' ");

struct Entity {
    int code = 0;
    QString name;
};

// "0007 - NAME": the code with at least four digits, the name in upper case.
QString entityItemText(int code, const QString &name);
// The entity number of a list item: its first four characters as an integer.
// Throws orven::Error when they are not a number (an empty list).
int entityFromItem(const QString &itemText);

// The rows of TABEMPRESA, in the table's order.
QList<Entity> entities(db::Conexao &db);
// MEXER of CADCLI, as text (the first row).
QString exerciseYear(db::Conexao &db);
// True when the commitment check finds a row.
bool hasUnclassifiedCommitments(db::Conexao &db);
// Number of commitments the check finds.
int unclassifiedCommitmentCount(db::Conexao &db);

// The items of the bimester list: "1º BIMESTRE" .. "6º BIMESTRE".
QStringList bimesterItems();

} // namespace orven::generation
