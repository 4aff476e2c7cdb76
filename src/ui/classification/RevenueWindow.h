#pragma once

// "Classificação das Fichas de Receita": the revenue records (RECDIS) of one
// entity or of all, with their court account, group and source, typed or
// looked up (F2: court account; F3: court group and source), checked
// against the court chart, saved in one transaction; and the automatic
// revenue classification.

#include "classification/ClassificationWindow.h"
#include "classification/RevenueAutoClassifier.h"
#include "classification/RevenueRules.h"

namespace orven::ui {

class TFrmReceita : public ClassificationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Classificação das Fichas de Receita");

    // The window works on the data module's CdsRecdis.
    explicit TFrmReceita(db::TDM &dm, QWidget *parent = nullptr);

    const classification::ClassificationRules &rules() const override { return m_rules; }
    const classification::RevenueRules &revenueRules() const { return m_rules; }
    // What the last automatic classification did.
    const classification::ClassificationResult &lastClassification() const { return m_last; }

    // The grid's columns: FICHA "Ficha", CODRE "Rec. ZUNT", VINGRUPO
    // "VinGrupo", VINCODIGO "VinCodigo", TIPO "Tipo", EXTRA "Extra", EMPRESA
    // "Entidade", and the editable BALCO_TCE "Plano TCE (F2)", GRUPO_TCE
    // "Grupo TCE (F3)", COD_TCE "Fonte TCE (F3)"; all centred.
    static QList<GridColumn> gridColumns();

protected:
    // The data module's account-type set read again, and the court chart
    // loaded for the checks.
    void loadReferences() override;
    // RevenueAutoClassifier over the window's records, with the wait
    // window's progress bar.
    void autoClassify() override;

private:
    classification::RevenueRules m_rules;
    classification::ClassificationResult m_last;
};

} // namespace orven::ui
