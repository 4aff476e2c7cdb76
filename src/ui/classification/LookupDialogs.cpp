#include "classification/LookupDialogs.h"

#include "classification/GridStyle.h"
#include "common/Messages.h"
#include "common/RecordSetModel.h"
#include "db/Connection.h"
#include "db/ErrorTranslator.h"
#include "db/RecordSet.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace orven::ui {

namespace {

QPushButton *dialogButton(grid::Picture picture, const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(grid::icon(picture, 18), caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setIconSize(QSize(18, 18));
    b->setMinimumSize(112, 30);
    // Enter belongs to the search box; no button answers it by default.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

// ---- LookupDialog --------------------------------------------------------------------------

LookupDialog::LookupDialog(const QString &caption, db::Conexao &connection, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(caption);
    setModal(true);
    m_set = new db::RecordSet(QString(), &connection, this);
}

LookupDialog::~LookupDialog()
{
    if (m_set)
        m_set->close();
}

void LookupDialog::buildForm(const QStringList &options, const QList<GridColumn> &columns, bool rowSelect)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->setSpacing(10);

    // Search.
    auto *box = new QGroupBox(QStringLiteral("Pesquisar por"), this);
    box->setObjectName(QStringLiteral("gbPesquisa"));
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(12, 8, 12, 10);
    boxLayout->setSpacing(8);
    auto *optionRow = new QHBoxLayout;
    optionRow->setSpacing(18);
    for (int i = 0; i < options.size(); ++i) {
        auto *rb = new QRadioButton(options.at(i), box);
        rb->setChecked(i == 0);
        m_options.append(rb);
        optionRow->addWidget(rb);
    }
    optionRow->addStretch(1);
    boxLayout->addLayout(optionRow);
    auto *searchRow = new QHBoxLayout;
    searchRow->setSpacing(6);
    edtPesquisa = new QLineEdit(box);
    edtPesquisa->setObjectName(QStringLiteral("edtPesquisa"));
    edtPesquisa->setPlaceholderText(QStringLiteral("Texto a pesquisar"));
    edtPesquisa->setClearButtonEnabled(true);
    BtnLocalizar = dialogButton(grid::Picture::Search, kCaptionLocalizar, "BtnLocalizar", box);
    BtnLocalizar->setMinimumHeight(edtPesquisa->sizeHint().height() + 2);
    searchRow->addWidget(edtPesquisa, 1);
    searchRow->addWidget(BtnLocalizar);
    boxLayout->addLayout(searchRow);
    outer->addWidget(box);

    // Grid.
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    grid::styleGrid(DBGrid1, rowSelect);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_model = new RecordSetModel(*m_set, this);
    m_model->setColumns(columns);
    m_model->setBackgroundHook([](int row, int) { return grid::rowColour(row); });
    m_model->attachView(DBGrid1);
    outer->addWidget(DBGrid1, 1);

    // Navigation and answer.
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    m_navigation = new grid::NavigationBar(this);
    m_navigation->setRecordSet(m_set);
    bottom->addWidget(m_navigation);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblRegistros"));
    m_count->setStyleSheet(QStringLiteral("color: rgb(90, 96, 100);"));
    bottom->addSpacing(8);
    bottom->addWidget(m_count);
    bottom->addStretch(1);
    BtnOK = dialogButton(grid::Picture::Confirm, kCaptionConfirmar, "BtnOK", this);
    BtnFechar = dialogButton(grid::Picture::Close, kCaptionFechar, "BtnFechar", this);
    bottom->addWidget(BtnOK);
    bottom->addWidget(BtnFechar);
    outer->addLayout(bottom);

    connect(BtnLocalizar, &QPushButton::clicked, this, &LookupDialog::BtnLocalizarClick);
    connect(edtPesquisa, &QLineEdit::returnPressed, this, &LookupDialog::BtnLocalizarClick);
    connect(BtnOK, &QPushButton::clicked, this, &LookupDialog::BtnOKClick);
    connect(BtnFechar, &QPushButton::clicked, this, &LookupDialog::BtnFecharClick);
    connect(DBGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (!index.isValid() || !m_set->isActive())
            return;
        if (m_set->recNo() != index.row() + 1)
            m_set->setRecNo(index.row() + 1);
        BtnOKClick();
    });
    connect(m_set, &db::RecordSet::reset, this, &LookupDialog::refreshState);
    refreshState();
}

int LookupDialog::searchOption() const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options.at(i)->isChecked())
            return i;
    }
    return 0;
}

void LookupDialog::setSearchOption(int option)
{
    if (option >= 0 && option < m_options.size())
        m_options.at(option)->setChecked(true);
}

void LookupDialog::refreshState()
{
    const bool rows = m_set->isActive() && !m_set->isEmpty();
    if (BtnOK)
        BtnOK->setEnabled(rows);
    if (m_count) {
        const int n = m_set->isActive() ? m_set->recordCount() : 0;
        m_count->setText(n == 1 ? QStringLiteral("1 registro") : QStringLiteral("%1 registros").arg(n));
    }
}

void LookupDialog::report(const Error &e)
{
    if (dynamic_cast<const db::DatabaseError *>(&e))
        db::ErrorTranslator::translate(e.message());
    else
        MessageService::instance().error(e.message());
}

void LookupDialog::reopen()
{
    try {
        m_set->close();
        m_set->open();
    } catch (const Error &e) {
        report(e);
    }
    refreshState();
}

void LookupDialog::BtnLocalizarClick()
{
    try {
        search(searchOption(), edtPesquisa->text());
    } catch (const Error &e) {
        report(e);
    }
    refreshState();
    DBGrid1->setFocus();
}

void LookupDialog::BtnOKClick()
{
    if (!m_set->isActive() || m_set->isEmpty())
        return;
    accept();
}

void LookupDialog::BtnFecharClick() { reject(); }

// ---- TFrmPesPlano --------------------------------------------------------------------------

TFrmPesPlano::TFrmPesPlano(db::Conexao &connection, QWidget *parent) : LookupDialog(kCaption, connection, parent)
{
    setObjectName(QStringLiteral("FrmPesPlano"));
    m_set->setObjectName(QStringLiteral("CdsPlano"));
    classification::setUpChartLookupSet(*m_set, &connection);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    buildForm({QStringLiteral("Grupo"), QStringLiteral("Código"), QStringLiteral("Descrição Código Contabil")},
              {{QStringLiteral("CODTIPO"), QStringLiteral("Grupo"), Qt::AlignCenter, false, 58},
               {QStringLiteral("DESC_TIPO"), QStringLiteral("Nome Grupo"), left, false, 270},
               {QStringLiteral("NUM_CONTABIL"), QStringLiteral("Código Contabil"), left, false, 122},
               {QStringLiteral("DESC_CONTABIL"), QStringLiteral("Nome Código"), left, false, 0}},
              false);
    searchOptions().at(0)->setObjectName(QStringLiteral("rbGrupo"));
    searchOptions().at(1)->setObjectName(QStringLiteral("rbCodigo"));
    searchOptions().at(2)->setObjectName(QStringLiteral("rbDescricao"));
    resize(920, 540);
}

classification::ChartSearch TFrmPesPlano::chartSearch() const
{
    switch (searchOption()) {
    case 1:
        return classification::ChartSearch::Code;
    case 2:
        return classification::ChartSearch::Description;
    default:
        return classification::ChartSearch::Group;
    }
}

void TFrmPesPlano::showEvent(QShowEvent *event)
{
    LookupDialog::showEvent(event);
    if (event->spontaneous() || m_opened)
        return;
    m_opened = true;
    // Centred on the screen.
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    reopen();
}

void TFrmPesPlano::search(int, const QString &text) { classification::searchChart(*m_set, chartSearch(), text); }

// ---- TFrmPesCatec --------------------------------------------------------------------------

TFrmPesCatec::TFrmPesCatec(db::Conexao &connection, QWidget *parent) : LookupDialog(kCaption, connection, parent)
{
    setObjectName(QStringLiteral("FrmPesCatec"));
    m_set->setObjectName(QStringLiteral("CdsCatec"));
    classification::setUpCategoryLookupSet(*m_set, &connection);
    buildForm({QStringLiteral("Cat.Econ."), QStringLiteral("Descrição")},
              {{QStringLiteral("CATEC"), QStringLiteral("Categ.Econ."), Qt::AlignCenter, false, 110},
               {QStringLiteral("NOME"), QStringLiteral("Descrição"), Qt::AlignLeft | Qt::AlignVCenter, false, 0}},
              true);
    searchOptions().at(0)->setObjectName(QStringLiteral("rbCatec"));
    searchOptions().at(1)->setObjectName(QStringLiteral("rbDescricao"));
    resize(620, 480);
}

bool TFrmPesCatec::position(const QVariant &catec)
{
    if (!m_set->isActive() || !catec.isValid() || catec.isNull())
        return false;
    return m_set->locate(QStringLiteral("CATEC"), catec);
}

classification::CategorySearch TFrmPesCatec::categorySearch() const
{
    return searchOption() == 1 ? classification::CategorySearch::Description
                               : classification::CategorySearch::Category;
}

void TFrmPesCatec::search(int, const QString &text)
{
    classification::searchCategories(*m_set, categorySearch(), text);
}

} // namespace orven::ui
