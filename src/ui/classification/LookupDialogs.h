#pragma once

// The two lookup dialogs of the classification windows:
//   TFrmPesPlano  "Pesquisa Plano de Contas do ORVEN": one row of the court
//                 chart (court account; court group and source);
//   TFrmPesCatec  "Pesquisa TabCatec": one economic category.
// A caller creates a dialog for one lookup, restricts its result set (a
// filter on CdsPlano, a position on CdsCatec), shows it modally and, on OK,
// reads the current row of the result set before freeing the dialog. Inside,
// the user searches ("&Localizar", or Enter in the search box), moves with
// the navigation buttons and picks a row with "&Confirmar" or a double
// click; "Fecha&r", Escape or the window frame give Cancel.
//
// "&Confirmar" is enabled only while the result set has a row, so that an
// empty search can never hand the caller an empty row to copy over the
// record's codes.

#include "classification/Lookups.h"
#include "common/Error.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace orven::db {
class Conexao;
class RecordSet;
} // namespace orven::db

namespace orven::ui {

class RecordSetModel;
struct GridColumn;

namespace grid {
class NavigationBar;
}

// What the two dialogs share: search options, search box, grid, navigation,
// "&Confirmar" and "Fecha&r".
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaptionLocalizar = QStringLiteral("&Localizar");
    static inline const QString kCaptionConfirmar = QStringLiteral("&Confirmar");
    static inline const QString kCaptionFechar = QStringLiteral("Fecha&r");

    ~LookupDialog() override;

    db::RecordSet &resultSet() const { return *m_set; }
    RecordSetModel *model() const { return m_model; }
    QTableView *grid() const { return DBGrid1; }
    QLineEdit *searchBox() const { return edtPesquisa; }
    QPushButton *localizarButton() const { return BtnLocalizar; }
    QPushButton *confirmButton() const { return BtnOK; }
    QPushButton *closeButton() const { return BtnFechar; }
    grid::NavigationBar *navigation() const { return m_navigation; }
    // The search options, in order; the one checked.
    const QList<QRadioButton *> &searchOptions() const { return m_options; }
    int searchOption() const;
    void setSearchOption(int option);

public slots:
    // Searches by the option checked with the text of the search box.
    void BtnLocalizarClick();
    // OK with the current row.
    void BtnOKClick();
    // Cancel.
    void BtnFecharClick();

protected:
    LookupDialog(const QString &caption, db::Conexao &connection, QWidget *parent);

    // Builds the controls: the search options (the first one checked), the
    // grid's columns, and whole-row or single-cell selection.
    void buildForm(const QStringList &options, const QList<GridColumn> &columns, bool rowSelect);
    // Runs a search on the result set (close, new query, open).
    virtual void search(int option, const QString &text) = 0;
    // Opens the result set again with its current query (close, open),
    // reporting a failure.
    void reopen();

    void refreshState();

    db::RecordSet *m_set = nullptr;

private:
    void report(const Error &e);

    RecordSetModel *m_model = nullptr;
    QList<QRadioButton *> m_options;
    QLineEdit *edtPesquisa = nullptr;
    QPushButton *BtnLocalizar = nullptr;
    QTableView *DBGrid1 = nullptr;
    grid::NavigationBar *m_navigation = nullptr;
    QLabel *m_count = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnFechar = nullptr;
    QString m_countNoun;
};

// "Pesquisa Plano de Contas do ORVEN": the court chart with the name and
// kind of each account's group, ordered by group and account.
class TFrmPesPlano : public LookupDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Pesquisa Plano de Contas do ORVEN");

    explicit TFrmPesPlano(db::Conexao &connection, QWidget *parent = nullptr);

    // The result set: fields CODTIPO, NUM_CONTABIL, DESC_CONTABIL,
    // DESC_TIPO and TIPO. Callers switch its filtering on and set their
    // filter before showing the dialog; the filter stays in force through
    // every search.
    db::RecordSet &CdsPlano() const { return *m_set; }

    // "Grupo", "Código" or "Descrição Código Contabil".
    classification::ChartSearch chartSearch() const;

protected:
    // On show the result set is read afresh with its current query, so the
    // caller's filter applies.
    void showEvent(QShowEvent *event) override;
    void search(int option, const QString &text) override;

private:
    bool m_opened = false;
};

// "Pesquisa TabCatec": the economic categories of TABCATEC.
class TFrmPesCatec : public LookupDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Pesquisa TabCatec");

    explicit TFrmPesCatec(db::Conexao &connection, QWidget *parent = nullptr);

    // The result set: CATEGORIA, GRUPO, MODALIDADE, ELEMENTO, DESDOBRO,
    // NOME, CATEC, COD_TCE. The caller opens it (openResultSet) and may
    // position it before showing the dialog.
    db::RecordSet &CdsCatec() const { return *m_set; }
    // Close and open the result set with its current query.
    void openResultSet() { reopen(); }
    // Moves to the category, if there is one (no message otherwise).
    bool position(const QVariant &catec);

    // "Cat.Econ." or "Descrição".
    classification::CategorySearch categorySearch() const;

protected:
    void search(int option, const QString &text) override;
};

} // namespace orven::ui
