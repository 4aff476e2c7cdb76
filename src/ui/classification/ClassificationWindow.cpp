#include "classification/ClassificationWindow.h"

#include "classification/EntityFilter.h"
#include "classification/GridStyle.h"
#include "classification/LookupDialogs.h"
#include "common/Error.h"
#include "common/Messages.h"
#include "db/DataModule.h"
#include "db/ErrorTranslator.h"
#include "db/RecordSet.h"
#include "shell/WaitWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace orven::ui {

using classification::CellState;
using classification::LookupKey;
using classification::LookupRule;
using db::RecordSet;

// ---- the grid --------------------------------------------------------------------------

void ClassificationGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ClassificationGrid::discardOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void ClassificationGrid::fitColumns(const QList<GridColumn> &columns)
{
    m_baseWidths.clear();
    for (const GridColumn &c : columns)
        m_baseWidths.append(c.width > 0 ? c.width : 100);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    spreadColumns();
}

void ClassificationGrid::spreadColumns()
{
    if (m_baseWidths.isEmpty() || !model() || model()->columnCount() != m_baseWidths.size())
        return;
    int total = 0;
    for (int w : std::as_const(m_baseWidths))
        total += w;
    const int available = viewport()->width();
    if (total <= 0 || available <= 0)
        return;
    // Never narrower than designed; the room left is shared in proportion.
    const double factor = std::max(1.0, double(available) / total);
    int used = 0;
    for (int c = 0; c < m_baseWidths.size(); ++c) {
        const int width = c + 1 < m_baseWidths.size() ? int(m_baseWidths.at(c) * factor)
                                                      : std::max(m_baseWidths.at(c), available - used);
        setColumnWidth(c, width);
        used += width;
    }
}

void ClassificationGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    spreadColumns();
}

void ClassificationGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2 || event->key() == Qt::Key_F3) {
        event->accept();
        // The text typed so far belongs to the record before the lookup
        // fills it.
        commitOpenEditor();
        emit lookupKeyPressed(event->key() == Qt::Key_F2 ? LookupKey::F2 : LookupKey::F3);
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---- the window ------------------------------------------------------------------------

namespace {

QPushButton *windowButton(grid::Picture picture, const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(grid::icon(picture, 18), caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setIconSize(QSize(18, 18));
    b->setMinimumSize(124, 32);
    b->setAutoDefault(false);
    return b;
}

QLabel *swatch(const QColor &colour, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setFixedSize(14, 14);
    l->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid rgb(120, 120, 120);")
                         .arg(colour.name()));
    return l;
}

bool isEditing(const RecordSet &set)
{
    return set.state() == RecordSet::State::Edit || set.state() == RecordSet::State::Insert;
}

} // namespace

ClassificationWindow::ClassificationWindow(db::TDM &dm, RecordSet &records, WindowDesign design, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_records(records), m_design(std::move(design))
{
    setWindowTitle(m_design.caption);
    setWindowIcon(art::glyphIcon(m_design.glyph, 16));
    buildForm();
    setBrowseMode();
}

ClassificationWindow::~ClassificationWindow()
{
    // Freed without being closed: what was not confirmed goes all the same.
    discardChanges();
}

void ClassificationWindow::buildForm()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("pnlClassificacao"));
    outer->addWidget(m_content);

    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(10);

    // Heading (title, what the window is for, the colours and the keys) and
    // the entity.
    auto *top = new QHBoxLayout;
    top->setSpacing(12);
    auto *glyph = new QLabel(m_content);
    glyph->setPixmap(art::glyphIcon(m_design.glyph, 36).pixmap(36, 36));
    glyph->setFixedSize(40, 40);
    top->addWidget(glyph, 0, Qt::AlignTop);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto *title = new QLabel(m_design.heading.isEmpty() ? m_design.caption : m_design.heading, m_content);
    title->setObjectName(QStringLiteral("lblTitulo"));
    QFont titleFont = title->font();
    titleFont.setPixelSize(17);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: rgb(0, 84, 88);"));
    titles->addWidget(title);
    if (!m_design.subtitle.isEmpty()) {
        auto *subtitle = new QLabel(m_design.subtitle, m_content);
        subtitle->setObjectName(QStringLiteral("lblSubtitulo"));
        subtitle->setStyleSheet(QStringLiteral("color: rgb(90, 96, 100);"));
        subtitle->setWordWrap(true);
        subtitle->setMinimumWidth(120);
        titles->addWidget(subtitle);
    }
    auto *legend = new QHBoxLayout;
    legend->setSpacing(5);
    legend->addWidget(swatch(grid::kMissing, m_content));
    legend->addWidget(new QLabel(QStringLiteral("Não informado"), m_content));
    legend->addSpacing(14);
    legend->addWidget(swatch(grid::kInvalid, m_content));
    legend->addWidget(new QLabel(QStringLiteral("Não encontrado no Plano do TCE"), m_content));
    if (!m_design.keysHint.isEmpty()) {
        legend->addSpacing(18);
        auto *keys = new QLabel(m_design.keysHint, m_content);
        keys->setObjectName(QStringLiteral("lblTeclas"));
        keys->setStyleSheet(QStringLiteral("color: rgb(0, 110, 112);"));
        legend->addWidget(keys);
    }
    legend->addStretch(1);
    titles->addSpacing(3);
    titles->addLayout(legend);
    top->addLayout(titles, 1);

    auto *lblEntidade = new QLabel(QStringLiteral("Entidade"), m_content);
    QFont bold = lblEntidade->font();
    bold.setBold(true);
    lblEntidade->setFont(bold);
    cbent = new QComboBox(m_content);
    cbent->setObjectName(QStringLiteral("cbent"));
    cbent->setEditable(false);
    cbent->setMinimumContentsLength(34);
    cbent->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbent->setMaxVisibleItems(20);
    cbent->setMinimumHeight(28);
    lblEntidade->setBuddy(cbent);
    auto *entity = new QVBoxLayout;
    entity->setSpacing(3);
    entity->addWidget(lblEntidade);
    entity->addWidget(cbent);
    entity->addStretch(1);
    top->addLayout(entity);
    column->addLayout(top);

    // The grid.
    DBGrid1 = new ClassificationGrid(m_content);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    grid::styleGrid(DBGrid1, false);
    m_model = new RecordSetModel(m_records, this);
    m_model->setColumns(m_design.columns);
    m_model->setBackgroundHook([this](int row, int column) { return cellBackground(row, column); });
    m_model->setForegroundHook([this](int row, int column) { return cellForeground(row, column); });
    m_model->attachView(DBGrid1);
    DBGrid1->fitColumns(m_design.columns);
    column->addWidget(DBGrid1, 1);

    // Navigation and the window's commands.
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    m_navigation = new grid::NavigationBar(m_content);
    m_navigation->setRecordSet(&m_records);
    bottom->addWidget(m_navigation);
    bottom->addSpacing(10);
    m_count = new QLabel(m_content);
    m_count->setObjectName(QStringLiteral("lblRegistro"));
    m_count->setMinimumWidth(120);
    m_count->setStyleSheet(QStringLiteral("color: rgb(60, 66, 70);"));
    bottom->addWidget(m_count);
    m_editBadge = new QLabel(QStringLiteral("EM ALTERAÇÃO"), m_content);
    m_editBadge->setObjectName(QStringLiteral("lblAlteracao"));
    m_editBadge->setStyleSheet(QStringLiteral("background-color: rgb(255, 204, 102); color: rgb(90, 60, 0);"
                                              " border: 1px solid rgb(214, 160, 60); border-radius: 3px;"
                                              " padding: 2px 8px; font-weight: bold;"));
    m_editBadge->setVisible(false);
    bottom->addWidget(m_editBadge);
    bottom->addStretch(1);
    BtnAltera = windowButton(grid::Picture::Edit, kCaptionAlterar, "BtnAltera", m_content);
    btnclass = windowButton(grid::Picture::Auto, kCaptionClassif, "btnclass", m_content);
    btnclass->setMinimumWidth(172);
    BtnOK = windowButton(grid::Picture::Confirm, kCaptionConfirmar, "BtnOK", m_content);
    BtnCancelar = windowButton(grid::Picture::Close, kCaptionFechar, "BtnCancelar", m_content);
    bottom->addWidget(BtnAltera);
    bottom->addWidget(btnclass);
    auto *separator = new QFrame(m_content);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    bottom->addSpacing(4);
    bottom->addWidget(separator);
    bottom->addSpacing(4);
    bottom->addWidget(BtnOK);
    bottom->addWidget(BtnCancelar);
    column->addLayout(bottom);

    connect(cbent, &QComboBox::currentIndexChanged, this, &ClassificationWindow::cbentChange);
    connect(BtnAltera, &QPushButton::clicked, this, &ClassificationWindow::BtnAlteraClick);
    connect(btnclass, &QPushButton::clicked, this, &ClassificationWindow::btnclassClick);
    connect(BtnOK, &QPushButton::clicked, this, &ClassificationWindow::BtnOKClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &ClassificationWindow::BtnCancelarClick);
    connect(DBGrid1, &ClassificationGrid::lookupKeyPressed, this, &ClassificationWindow::lookup);
    if (m_design.doubleClickEdits)
        connect(DBGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex &) { BtnAlteraClick(); });
    connect(&m_records, &RecordSet::reset, this, &ClassificationWindow::refreshCount);
    connect(&m_records, &RecordSet::currentChanged, this, &ClassificationWindow::refreshCount);
    refreshCount();
}

// ---- colours ---------------------------------------------------------------------------

QColor ClassificationWindow::cellBackground(int row, int column) const
{
    switch (rules().cellState(m_records, row, m_model->fieldIndex(column))) {
    case CellState::Missing:
        return grid::kMissing;
    case CellState::Invalid:
        return grid::kInvalid;
    case CellState::Normal:
        break;
    }
    return grid::rowColour(row);
}

QColor ClassificationWindow::cellForeground(int row, int column) const
{
    if (rules().cellState(m_records, row, m_model->fieldIndex(column)) == CellState::Invalid)
        return grid::windowTextOnRed();
    return grid::kText;
}

// ---- showing and the entity ------------------------------------------------------------

void ClassificationWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || m_shown)
        return;
    m_shown = true;
    FormShow();
}

void ClassificationWindow::loadEntities()
{
    const QSignalBlocker block(cbent);
    cbent->clear();
    cbent->addItem(classification::kConsolidatedItem);
    try {
        const db::ResultSet entities = m_dm.Conexao->select(QStringLiteral("SELECT * FROM TABEMPRESA"));
        int code = -1, name = -1;
        for (int c = 0; c < entities.columns.size(); ++c) {
            if (entities.columns.at(c).name.compare(QLatin1String("EMPRESA"), Qt::CaseInsensitive) == 0)
                code = c;
            else if (entities.columns.at(c).name.compare(QLatin1String("NOME"), Qt::CaseInsensitive) == 0)
                name = c;
        }
        if (code >= 0) {
            for (const db::Row &row : entities.rows) {
                const QString text = name >= 0 ? row.value(name).toString() : QString();
                cbent->addItem(classification::entityItem(row.value(code).toInt(), text));
            }
        }
    } catch (const Error &e) {
        reportError(e);
    }
    cbent->setCurrentIndex(0);
}

void ClassificationWindow::FormShow()
{
    loadEntities();
    m_entityIndex = 0;
    try {
        applyEntity(0);
        loadReferences();
    } catch (const Error &e) {
        // The records are still shown; their codes cannot be checked.
        reportError(e);
    }
    try {
        m_records.close();
        m_records.open();
    } catch (const Error &e) {
        reportError(e);
    }
    refreshCount();
}

void ClassificationWindow::applyEntity(int entity) { classification::setEntityFilter(m_records, entity); }

void ClassificationWindow::cbentChange(int index)
{
    if (index < 0 || m_busy)
        return;
    DBGrid1->commitOpenEditor();
    // Filtering posts the record being edited first; when that is refused
    // the list stays as it was, and so does the selector.
    const bool posting = isEditing(m_records) && m_records.isModified();
    bool applied = false;
    try {
        applyEntity(classification::entityOfItem(cbent->itemText(index)));
        applied = !isEditing(m_records) || !posting;
    } catch (const db::PostCancelled &) {
    } catch (const Error &e) {
        if (!posting || !m_records.onPostError)
            reportError(e);
    }
    if (applied) {
        m_entityIndex = index;
    } else {
        const QSignalBlocker block(cbent);
        cbent->setCurrentIndex(m_entityIndex);
    }
    refreshCount();
}

void ClassificationWindow::refreshCount()
{
    if (!m_count)
        return;
    if (!m_records.isActive() || m_records.isEmpty()) {
        m_count->setText(QStringLiteral("Nenhum registro"));
        return;
    }
    m_count->setText(QStringLiteral("Registro %1 de %2").arg(m_records.recNo()).arg(m_records.recordCount()));
}

// ---- modes -----------------------------------------------------------------------------

void ClassificationWindow::setBrowseMode()
{
    m_editMode = false;
    BtnAltera->setEnabled(true);
    btnclass->setEnabled(true);
    BtnOK->setEnabled(false);
    BtnCancelar->setText(kCaptionFechar);
    BtnCancelar->setIcon(grid::icon(grid::Picture::Close, 18));
    m_model->setEditing(false);
    m_editBadge->setVisible(false);
}

void ClassificationWindow::setEditMode()
{
    m_editMode = true;
    BtnAltera->setEnabled(false);
    btnclass->setEnabled(false);
    BtnOK->setEnabled(true);
    BtnCancelar->setText(kCaptionCancelar);
    BtnCancelar->setIcon(grid::icon(grid::Picture::Cancel, 18));
    m_model->setEditing(true);
    m_editBadge->setVisible(true);
}

void ClassificationWindow::BtnAlteraClick()
{
    if (m_busy)
        return;
    setEditMode();
    DBGrid1->setFocus();
    try {
        if (m_records.isActive())
            m_records.edit();
    } catch (const Error &e) {
        // The record set's own handler has reported a refused edit.
        if (!m_records.onEditError)
            reportError(e);
    }
}

void ClassificationWindow::BtnOKClick()
{
    if (!m_editMode || m_busy)
        return;
    DBGrid1->commitOpenEditor();
    m_busy = true;

    enum class Outcome { Saved, Refused, PostRefused, Failed } outcome = Outcome::Saved;
    bool reported = false;
    QString failure;
    bool databaseFailure = false;
    {
        WaitWindowScope wait;
        bool posting = false;
        try {
            m_dm.startTransaction();
            if (m_records.isActive() && isEditing(m_records)) {
                posting = true;
                if (!m_records.post())
                    throw db::PostCancelled();
                posting = false;
            }
            const int count = m_records.isActive() && m_records.changeCount() > 0 ? m_records.applyUpdates(-1) : 0;
            m_dm.applyErrorCount = count;
            if (count != 0) {
                m_dm.rollback();
                outcome = Outcome::Refused;
            } else {
                m_dm.commit();
            }
        } catch (const db::PostCancelled &) {
            m_dm.rollback();
            outcome = Outcome::PostRefused;
            reported = true; // the before-post check has told the user
        } catch (const Error &e) {
            m_dm.rollback();
            outcome = posting ? Outcome::PostRefused : Outcome::Failed;
            reported = posting && bool(m_records.onPostError);
            failure = e.message();
            databaseFailure = dynamic_cast<const db::DatabaseError *>(&e) != nullptr;
        }
    }
    m_busy = false;

    switch (outcome) {
    case Outcome::Saved:
        setBrowseMode();
        break;
    case Outcome::Refused:
        MessageService::instance().error(kSaveError);
        break;
    case Outcome::PostRefused:
    case Outcome::Failed:
        if (!reported) {
            if (databaseFailure)
                db::ErrorTranslator::translate(failure);
            else
                MessageService::instance().error(failure);
        }
        break;
    }
    refreshCount();
}

void ClassificationWindow::BtnCancelarClick()
{
    if (m_busy)
        return;
    if (!m_editMode) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->close();
        else
            close();
        return;
    }
    DBGrid1->discardOpenEditor();
    try {
        // Rolled back first: rows written in a transaction return to the
        // change log when it is rolled back, and the log is emptied next.
        m_dm.rollback();
        m_records.cancelUpdates();
    } catch (const Error &e) {
        reportError(e);
    }
    setBrowseMode();
    refreshCount();
}

void ClassificationWindow::discardChanges()
{
    if (m_discarded)
        return;
    m_discarded = true;
    try {
        if (m_dm.inTransaction())
            m_dm.rollback();
        m_records.cancelUpdates();
        if (m_design.closeRecordSetOnClose)
            m_records.close();
    } catch (const Error &) {
        // Nothing else to do with a window on its way out.
    }
}

void ClassificationWindow::closeEvent(QCloseEvent *event)
{
    // The work on its way holds the window; it can close afterwards.
    if (m_busy) {
        event->ignore();
        return;
    }
    DBGrid1->discardOpenEditor();
    discardChanges();
    QWidget::closeEvent(event);
}

// ---- automatic classification ----------------------------------------------------------

void ClassificationWindow::btnclassClick()
{
    if (m_editMode || m_busy || !m_records.isActive())
        return;
    m_busy = true;
    // Pending events are processed during the run: the window's controls
    // stay still until it ends.
    m_content->setEnabled(false);
    try {
        autoClassify();
    } catch (const Error &e) {
        reportError(e);
    }
    m_content->setEnabled(true);
    m_busy = false;
    refreshCount();
}

// ---- lookups ---------------------------------------------------------------------------

void ClassificationWindow::lookup(LookupKey key)
{
    if (!m_editMode || m_busy || !m_records.isActive() || m_records.isEmpty())
        return;
    DBGrid1->commitOpenEditor();
    const LookupRule rule = rules().lookup(key, m_records, m_records.recNo() - 1);
    switch (rule.dialog) {
    case LookupRule::Dialog::None:
        return;
    case LookupRule::Dialog::Chart:
        runChartLookup(rule);
        return;
    case LookupRule::Dialog::Category:
        runCategoryLookup(rule);
        return;
    }
}

void ClassificationWindow::runChartLookup(const LookupRule &rule)
{
    TFrmPesPlano dialog(*m_dm.Conexao, this);
    dialog.CdsPlano().setFiltered(true);
    dialog.CdsPlano().setFilter(rule.filter);
    const int result = m_runDialog ? m_runDialog(dialog) : dialog.exec();
    if (result == QDialog::Accepted)
        copyChosenRow(dialog.CdsPlano(), rule);
    dialog.CdsPlano().close();
}

void ClassificationWindow::runCategoryLookup(const LookupRule &rule)
{
    TFrmPesCatec dialog(*m_dm.Conexao, this);
    dialog.openResultSet();
    dialog.position(rule.position);
    const int result = m_runDialog ? m_runDialog(dialog) : dialog.exec();
    if (result == QDialog::Accepted)
        copyChosenRow(dialog.CdsCatec(), rule);
    dialog.CdsCatec().close();
}

void ClassificationWindow::copyChosenRow(const RecordSet &chosen, const LookupRule &rule)
{
    // No row chosen (an empty search): the record keeps its codes.
    if (!chosen.isActive() || chosen.isEmpty() || chosen.recNo() < 1)
        return;
    bool editing = false;
    try {
        if (m_records.state() == RecordSet::State::Browse) {
            editing = true;
            m_records.edit();
            editing = false;
        }
        for (const auto &[field, column] : rule.assignments)
            m_records.setValue(field, chosen.value(column));
    } catch (const Error &e) {
        // A refused edit has been reported by the record set's own handler.
        if (!editing || !m_records.onEditError)
            reportError(e);
    }
}

void ClassificationWindow::reportError(const Error &e)
{
    if (dynamic_cast<const db::DatabaseError *>(&e))
        db::ErrorTranslator::translate(e.message());
    else
        MessageService::instance().error(e.message());
}

} // namespace orven::ui
