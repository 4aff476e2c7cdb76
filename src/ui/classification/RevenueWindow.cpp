#include "classification/RevenueWindow.h"

#include "classification/CourtChart.h"
#include "common/Messages.h"
#include "db/DataModule.h"
#include "shell/WaitWindow.h"

namespace orven::ui {

using classification::RevenueRules;

QList<GridColumn> TFrmReceita::gridColumns()
{
    const Qt::Alignment centre = Qt::AlignCenter;
    return {
        {QStringLiteral("FICHA"), QStringLiteral("Ficha"), centre, false, 64},
        {QStringLiteral("CODRE"), QStringLiteral("Rec. ZUNT"), centre, false, 118},
        {QStringLiteral("VINGRUPO"), QStringLiteral("VinGrupo"), centre, false, 78},
        {QStringLiteral("VINCODIGO"), QStringLiteral("VinCodigo"), centre, false, 80},
        {QStringLiteral("TIPO"), QStringLiteral("Tipo"), centre, false, 54},
        {QStringLiteral("EXTRA"), QStringLiteral("Extra"), centre, false, 54},
        {QStringLiteral("EMPRESA"), QStringLiteral("Entidade"), centre, false, 72},
        {QStringLiteral("BALCO_TCE"), RevenueRules::kAccountCaption, centre, true, 160},
        {QStringLiteral("GRUPO_TCE"), RevenueRules::kGroupCaption, centre, true, 118},
        {QStringLiteral("COD_TCE"), RevenueRules::kSourceCaption, centre, true, 140},
    };
}

TFrmReceita::TFrmReceita(db::TDM &dm, QWidget *parent)
    : ClassificationWindow(dm, *dm.CdsRecdis,
                           WindowDesign{kCaption, kCaption,
                                      QStringLiteral("Plano, Grupo e Fonte do Tribunal de Contas de cada ficha de "
                                                     "receita, usados na geração do arquivo de captura."),
                                      art::Glyph::Revenue,
                                      QStringLiteral("F2: Plano TCE   F3: Grupo e Fonte TCE"), gridColumns(),
                                      true, true},
                           parent)
{
    setObjectName(QStringLiteral("FrmReceita"));
}

void TFrmReceita::loadReferences()
{
    dataModule().CdsTipo->close();
    dataModule().CdsTipo->open();
    m_rules.setChart(classification::CourtChart::load(*dataModule().Conexao));
}

void TFrmReceita::autoClassify()
{
    WaitWindowScope wait;
    classification::RevenueAutoClassifier classifier(*dataModule().Conexao, records(), *dataModule().CdsAux,
                                                     wait.progress(), MessageService::instance());
    m_last = classifier.run();
    dataModule().applyErrorCount = m_last.refused;
}

} // namespace orven::ui
