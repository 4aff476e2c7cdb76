#include "common/RecordSetModel.h"

#include "common/Error.h"
#include "common/Messages.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace orven::ui {

using db::RecordSet;

RecordSetModel::RecordSetModel(RecordSet &set, QObject *parent) : QAbstractTableModel(parent), m_set(set)
{
    connect(&m_set, &RecordSet::reset, this, &RecordSetModel::onReset);
    connect(&m_set, &RecordSet::rowChanged, this, &RecordSetModel::onRowChanged);
    connect(&m_set, &RecordSet::currentChanged, this, &RecordSetModel::onCurrentChanged);
    connect(&m_set, &RecordSet::stateChanged, this, &RecordSetModel::onStateChanged);
    resolveFields();
    m_rows = m_set.isActive() ? m_set.recordCount() : 0;
    m_current = m_set.isActive() ? m_set.recNo() - 1 : -1;
}

RecordSetModel::~RecordSetModel()
{
    for (const auto &c : std::as_const(m_viewConnections))
        disconnect(c);
}

// ---- columns ---------------------------------------------------------------------------

void RecordSetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    resolveFields();
    endResetModel();
    if (m_view) {
        if (auto *table = qobject_cast<QTableView *>(m_view.data())) {
            for (int c = 0; c < m_columns.size(); ++c) {
                if (m_columns.at(c).width > 0)
                    table->setColumnWidth(c, m_columns.at(c).width);
            }
        }
    }
    syncViewToCursor();
}

int RecordSetModel::columnOfField(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns.at(c).field.compare(field, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int RecordSetModel::fieldIndex(int column) const
{
    return column >= 0 && column < m_fields.size() ? m_fields.at(column) : -1;
}

void RecordSetModel::resolveFields()
{
    m_fields.clear();
    for (const GridColumn &c : std::as_const(m_columns))
        m_fields.append(m_set.isActive() ? m_set.fieldIndex(c.field) : -1);
}

void RecordSetModel::setEditing(bool editing)
{
    m_editing = editing;
    // Only the flags change; the views ask for them when an edit starts.
}

// ---- the set's notifications -----------------------------------------------------------

void RecordSetModel::onReset()
{
    beginResetModel();
    resolveFields();
    m_rows = m_set.isActive() ? m_set.recordCount() : 0;
    m_current = m_set.isActive() ? m_set.recNo() - 1 : -1;
    endResetModel();
    syncViewToCursor();
}

void RecordSetModel::onRowChanged(int viewRow)
{
    if (m_rows != (m_set.isActive() ? m_set.recordCount() : 0)) {
        onReset();
        return;
    }
    if (viewRow < 0 || viewRow >= m_rows || m_columns.isEmpty())
        return;
    emit dataChanged(index(viewRow, 0), index(viewRow, int(m_columns.size()) - 1));
}

void RecordSetModel::onCurrentChanged(int viewRow)
{
    const int before = m_current;
    m_current = viewRow;
    if (before != viewRow)
        refreshIndicator(before);
    refreshIndicator(viewRow);
    syncViewToCursor();
}

void RecordSetModel::onStateChanged()
{
    if (!m_set.isActive() && m_rows > 0) {
        onReset();
        return;
    }
    refreshIndicator(m_current);
}

void RecordSetModel::refreshIndicator(int viewRow)
{
    if (viewRow >= 0 && viewRow < m_rows)
        emit headerDataChanged(Qt::Vertical, viewRow, viewRow);
}

// ---- the view --------------------------------------------------------------------------

void RecordSetModel::attachView(QAbstractItemView *view)
{
    for (const auto &c : std::as_const(m_viewConnections))
        disconnect(c);
    m_viewConnections.clear();
    m_view = view;
    if (!view)
        return;
    if (view->model() != this)
        view->setModel(this);
    m_viewConnections << connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                                 &RecordSetModel::onViewCurrentChanged);
    if (auto *table = qobject_cast<QTableView *>(view)) {
        for (int c = 0; c < m_columns.size(); ++c) {
            if (m_columns.at(c).width > 0)
                table->setColumnWidth(c, m_columns.at(c).width);
        }
    }
    syncViewToCursor();
}

void RecordSetModel::syncViewToCursor()
{
    if (!m_view || !m_view->selectionModel() || m_columns.isEmpty())
        return;
    const int row = m_set.isActive() ? m_set.recNo() - 1 : -1;
    if (row < 0 || row >= m_rows)
        return;
    QItemSelectionModel *selection = m_view->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    const int column = current.isValid() ? current.column() : 0;
    const QModelIndex target = index(row, column);
    m_syncing = true;
    selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_syncing = false;
    m_view->scrollTo(target);
}

void RecordSetModel::onViewCurrentChanged(const QModelIndex &current, const QModelIndex &)
{
    if (m_syncing || !current.isValid() || !m_set.isActive())
        return;
    if (current.row() == m_set.recNo() - 1)
        return;
    bool moved = false;
    try {
        moved = m_set.setRecNo(current.row() + 1);
    } catch (const db::PostCancelled &) {
        moved = false;
    } catch (const Error &e) {
        report(e.message(), bool(m_set.onPostError));
        moved = false;
    }
    if (!moved) {
        // The record being edited stays: the grid goes back to it once the
        // view has finished handling this change.
        QMetaObject::invokeMethod(this, &RecordSetModel::syncViewToCursor, Qt::QueuedConnection);
    }
}

void RecordSetModel::configureGrid(QTableView *view)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    view->setTabKeyNavigation(true);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *rows = view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 6);
    rows->setMinimumSectionSize(view->fontMetrics().height() + 2);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setFixedWidth(18);
    rows->setHighlightSections(false);
    QHeaderView *columns = view->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
}

// ---- model -----------------------------------------------------------------------------

int RecordSetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int RecordSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const int row = index.row();
    const int column = index.column();
    // While the set's controls are disabled the views are not told about
    // changes; a repaint in between may ask for rows that are gone.
    if (!m_set.isActive() || row >= m_set.recordCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const int f = m_fields.at(column);
        return f < 0 ? QVariant() : QVariant(m_set.displayText(row, f));
    }
    case Qt::EditRole: {
        const int f = m_fields.at(column);
        if (f < 0)
            return {};
        if (m_set.field(f).isText())
            return m_set.valueAt(row, f).toString();
        return m_set.displayText(row, f);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns.at(column).alignment);
    case Qt::BackgroundRole:
        if (m_background) {
            const QColor c = m_background(row, column);
            if (c.isValid())
                return c;
        }
        return {};
    case Qt::ForegroundRole:
        if (m_foreground) {
            const QColor c = m_foreground(row, column);
            if (c.isValid())
                return c;
        }
        return {};
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return {};
        if (role == Qt::DisplayRole)
            return m_columns.at(section).caption;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(m_columns.at(section).alignment);
        return {};
    }
    if (role == Qt::DisplayRole) {
        if (section != m_current || !m_set.isActive())
            return QString();
        const bool editing = m_set.state() == RecordSet::State::Edit || m_set.state() == RecordSet::State::Insert;
        return editing ? kEditMark : kCurrentMark;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_editing && index.column() < m_columns.size() && m_columns.at(index.column()).editable) {
        const int field = m_fields.value(index.column(), -1);
        if (field >= 0 && !m_set.field(field).lookup)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool RecordSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    const int field = m_fields.at(index.column());
    if (!m_set.isActive() || row >= m_set.recordCount() || field < 0)
        return false;

    enum class Step { Move, Edit, Set } step = Step::Move;
    try {
        if (m_set.recNo() - 1 != row) {
            const int rowsBefore = m_rows;
            const int recordsBefore = m_set.recordCount();
            if (!m_set.setRecNo(row + 1))
                return false;
            // Posting the record left before may have taken it out of the
            // view; the row number then names another record.
            if (m_set.recordCount() != recordsBefore || m_rows != rowsBefore)
                return false;
        }
        step = Step::Edit;
        if (m_set.state() == RecordSet::State::Browse)
            m_set.edit();
        if (m_set.state() != RecordSet::State::Edit)
            return false;
        step = Step::Set;
        // Unchanged text leaves the record as it is (no change logged).
        if (m_set.field(field).isText() && m_set.valueAt(row, field).toString() == value.toString())
            return true;
        m_set.setValue(field, value);
        return true;
    } catch (const db::PostCancelled &) {
        return false;
    } catch (const Error &e) {
        const bool reported = (step == Step::Move && m_set.onPostError) || (step == Step::Edit && m_set.onEditError);
        report(e.message(), reported);
        return false;
    }
}

void RecordSetModel::report(const QString &message, bool reportedBySet)
{
    if (m_onError) {
        m_onError(message);
        return;
    }
    if (!reportedBySet)
        MessageService::instance().error(message);
}

} // namespace orven::ui
