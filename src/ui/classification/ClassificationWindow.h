#pragma once

// The pattern of the three classification windows (revenue records,
// expense records, outstanding commitments): an MDI child that lists one
// record set of the data module in a grid, filtered by entity, with the
// court columns painted grey (empty) or red (not in the chart for that
// record) and the rest in row colours; browse and edit modes; lookups on F2
// and F3; "&Confirmar" saving every change in one transaction; and the
// automatic classification of the window's records.
//
// A window of the pattern derives from ClassificationWindow and gives:
//   - in the constructor, a WindowDesign (caption, heading, glyph, grid
//     columns, whether a double click enters edit mode, whether closing
//     closes the record set);
//   - rules(): the ClassificationRules that decide the state of every
//     court cell and what F2 and F3 offer (kept in memory: the grid asks
//     them for every cell it paints);
//   - loadReferences(): re-reads, when the window is shown, what the rules
//     check against (the court chart, reference tables);
//   - autoClassify(): the automatic classification ("C&lassif. Automático",
//     browse mode only), run with the window's controls disabled;
//   - optionally applyEntity(): the entity filter (by default EMPRESA of the
//     record set).
//
// Modes:                 browse            edit
//   "&Alterar"           enabled           disabled
//   "C&lassif. Automático" enabled         disabled
//   "&Confirmar"         disabled          enabled
//   close button         "Fecha&r"         "Cancela&r"
//   grid                 read-only         editable columns
//   F2 / F3              ignored           lookups

#include "classification/ClassificationRules.h"
#include "common/RecordSetModel.h"
#include "shell/Artwork.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTableView>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace orven::db {
class RecordSet;
class TDM;
} // namespace orven::db

namespace orven::ui {

namespace grid {
class NavigationBar;
}

// The grid of a classification window: F2 and F3 are the window's lookup
// keys in both modes (never the grid's "edit the cell" key), and an editor
// open in a cell can be committed from outside (before a lookup, a save).
class ClassificationGrid : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // Writes the text of a cell being edited into the record and closes the
    // editor. Nothing when no editor is open.
    void commitOpenEditor();
    // Closes an open editor, dropping what was typed in it.
    void discardOpenEditor();
    // Column widths from the columns' designed widths, spread over the
    // grid's width whenever it changes (never narrower than designed).
    void fitColumns(const QList<GridColumn> &columns);

signals:
    void lookupKeyPressed(orven::classification::LookupKey key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void spreadColumns();

    QList<int> m_baseWidths;
};

// Runs a lookup dialog modally and returns its result (QDialog::Accepted
// for OK). The default runs exec(); tests answer the dialog themselves.
using DialogRunner = std::function<int(QDialog &dialog)>;

class ClassificationWindow : public QWidget {
    Q_OBJECT
public:
    static inline const QString kCaptionAlterar = QStringLiteral("&Alterar");
    static inline const QString kCaptionClassif = QStringLiteral("C&lassif. Automático");
    static inline const QString kCaptionConfirmar = QStringLiteral("&Confirmar");
    static inline const QString kCaptionFechar = QStringLiteral("Fecha&r");
    static inline const QString kCaptionCancelar = QStringLiteral("Cancela&r");
    static inline const QString kSaveError = QStringLiteral("Erro ao Gravar os Dados!!!");

    struct WindowDesign {
        QString caption;           // the window's caption
        QString heading;           // title over the grid
        QString subtitle;          // one line under the title
        art::Glyph glyph = art::Glyph::Revenue;
        QString keysHint;          // what F2 and F3 do, shown beside the legend
        QList<GridColumn> columns; // grid columns, in order
        bool doubleClickEdits = true;     // a double click acts as "&Alterar"
        bool closeRecordSetOnClose = true; // closing the window closes the set
    };

    ~ClassificationWindow() override;

    db::TDM &dataModule() const { return m_dm; }
    db::RecordSet &records() const { return m_records; }
    RecordSetModel *model() const { return m_model; }
    ClassificationGrid *grid() const { return DBGrid1; }
    QComboBox *entitySelector() const { return cbent; }
    QPushButton *alterarButton() const { return BtnAltera; }
    QPushButton *classifButton() const { return btnclass; }
    QPushButton *confirmarButton() const { return BtnOK; }
    QPushButton *closeButton() const { return BtnCancelar; }
    grid::NavigationBar *navigation() const { return m_navigation; }

    bool isEditMode() const { return m_editMode; }
    // True while a save or an automatic classification is on its way.
    bool isBusy() const { return m_busy; }

    // The rules of the window's records.
    virtual const classification::ClassificationRules &rules() const = 0;

    // Replaces the way lookup dialogs are shown (tests).
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

public slots:
    // Showing the window: the entity list with "0000 - CONSOLIDADO"
    // selected, the entity filter cleared, the references read again and the
    // record set reopened. Runs once, when the window is first shown.
    void FormShow();
    // Entity chosen: the record set filtered on it ("0000": all entities).
    void cbentChange(int index);
    // Edit mode, the record put into editing, the grid focused.
    void BtnAlteraClick();
    // Saves the changes in one transaction: the record being edited is
    // posted, the change log applied with no limit on errors; any refused
    // record rolls everything back ("Erro ao Gravar os Dados!!!") and the
    // window stays in edit mode with the changes pending. A post that the
    // record set's before-post check cancels stops the save the same way,
    // without the message (the check has told the user), and the
    // transaction is rolled back too: none is left open.
    void BtnOKClick();
    // Browse mode: closes the window. Edit mode: discards every change.
    void BtnCancelarClick();
    // The automatic classification (browse mode only).
    void btnclassClick();
    // The lookups (edit mode only).
    void lookup(orven::classification::LookupKey key);

protected:
    ClassificationWindow(db::TDM &dm, db::RecordSet &records, WindowDesign design, QWidget *parent = nullptr);

    // Re-reads what the rules check against. Throws orven::Error.
    virtual void loadReferences() = 0;
    // Classifies the window's records automatically and reports the outcome.
    virtual void autoClassify() = 0;
    // Filters the record set on an entity (0: all).
    virtual void applyEntity(int entity);

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Back to browse mode: captions, buttons, grid read-only.
    void setBrowseMode();
    void setEditMode();
    // Reports an error: database errors through the error translator,
    // others as a plain message.
    void reportError(const Error &e);

private:
    void buildForm();
    void loadEntities();
    QColor cellBackground(int row, int column) const;
    QColor cellForeground(int row, int column) const;
    void refreshCount();
    void discardChanges();
    void runChartLookup(const classification::LookupRule &rule);
    void runCategoryLookup(const classification::LookupRule &rule);
    void copyChosenRow(const db::RecordSet &chosen, const classification::LookupRule &rule);

    db::TDM &m_dm;
    db::RecordSet &m_records;
    WindowDesign m_design;
    DialogRunner m_runDialog;
    bool m_editMode = false;
    bool m_busy = false;
    bool m_shown = false;
    bool m_discarded = false;
    int m_entityIndex = 0; // the entity item in force

    RecordSetModel *m_model = nullptr;
    QWidget *m_content = nullptr;
    QComboBox *cbent = nullptr;
    QPushButton *BtnAltera = nullptr;
    QPushButton *btnclass = nullptr;
    ClassificationGrid *DBGrid1 = nullptr;
    grid::NavigationBar *m_navigation = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_editBadge = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancelar = nullptr;
};

} // namespace orven::ui
