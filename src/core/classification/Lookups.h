#pragma once

// The result sets of the two lookup dialogs and their searches:
//   CdsPlano  (TFrmPesPlano, "Pesquisa Plano de Contas do ORVEN"): the court
//             chart with the name and kind of each account's group;
//   CdsCatec  (TFrmPesCatec, "Pesquisa TabCatec"): the economic categories.
// A search rebuilds the set's query with a condition on the text the user
// typed and reads it again; the filter the caller set on the set stays in
// force, so a search only narrows the rows the caller allows.
//
// The typed text goes into the query as a quoted literal with each quote
// doubled, so that it is always read as text: a quote in it can neither
// break the query nor add conditions to it.

#include <QString>

namespace orven::db {
class Conexao;
class RecordSet;
} // namespace orven::db

namespace orven::classification {

// ---- court chart lookup (CdsPlano) ---------------------------------------------------

enum class ChartSearch {
    Group,       // "Grupo": CODTIPO equal to the text
    Code,        // "Código": NUM_CONTABIL beginning with the text
    Description, // "Descrição Código Contabil": DESC_CONTABIL containing the text
};

inline const QString kChartLookupQuery = QStringLiteral(
    "SELECT A.*,B.DESC_TIPO, B.TIPO FROM ORVEN_CONPLA A INNER JOIN ORVEN_TIPO B ON B.CODTIPO = A.CODTIPO "
    "ORDER BY A.CODTIPO, A.NUM_CONTABIL ASC");

// Declares the fields of CdsPlano on `set` (CODTIPO text 5 required,
// NUM_CONTABIL text 18 required, DESC_CONTABIL text 150, DESC_TIPO text 150,
// TIPO text 1 required), its connection and its initial query. Filtering is
// left as it is.
void setUpChartLookupSet(db::RecordSet &set, db::Conexao *connection);

// The query of a search. A text of blanks only (or empty) gives the whole
// chart. Otherwise the text is used as typed, blanks included: they take
// part in the comparison.
QString chartSearchQuery(ChartSearch by, const QString &text);

// "&Localizar": closes the set, gives it the search's query and opens it
// again (the caller's filter applies to the new rows). Throws
// db::DatabaseError when the database refuses the query.
void searchChart(db::RecordSet &set, ChartSearch by, const QString &text);

// ---- economic category lookup (CdsCatec) -----------------------------------------------

enum class CategorySearch {
    Category,    // "Cat.Econ.": CATEC beginning with the text
    Description, // "Descrição": NOME containing the text
};

inline const QString kCategoryLookupQuery = QStringLiteral("SELECT * FROM TABCATEC ORDER BY CATEC ASCENDING");

// Declares the fields of CdsCatec (CATEGORIA, GRUPO text 1, MODALIDADE,
// ELEMENTO, DESDOBRO text 2, NOME text 60, all required; CATEC text 12;
// COD_TCE text), its connection and its initial query.
void setUpCategoryLookupSet(db::RecordSet &set, db::Conexao *connection);

// The query of a search; the text is trimmed first, and an empty text gives
// every category.
QString categorySearchQuery(CategorySearch by, const QString &text);

// "&Localizar" in the category dialog: close, new query, open.
void searchCategories(db::RecordSet &set, CategorySearch by, const QString &text);

// The text made fit to stand between the quotes of an SQL literal: each
// quote doubled.
QString quoteEscaped(const QString &text);

} // namespace orven::classification
