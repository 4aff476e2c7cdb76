#pragma once

// The table model through which the grids show a record set: chosen fields
// as columns, the set's display texts, edits written into the set, and the
// grid's current row following the set's cursor (and the other way round).

#include "db/RecordSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

#include <QAbstractItemView>
class QTableView;

namespace orven::ui {

// A grid column: the field it shows, its title and how its text sits.
struct GridColumn {
    QString field;
    QString caption;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool editable = false; // typed into in edit mode
    int width = 0;         // pixels; 0: the view's default
};

class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The colour of one cell (view row, model column); an invalid colour
    // leaves the view's own.
    using ColourHook = std::function<QColor(int row, int column)>;
    // Told the message of an edit or a post that failed. Without a handler
    // the message goes to the message service, unless the record set has a
    // handler of its own for that error (it has told the user already).
    using ErrorHandler = std::function<void(const QString &message)>;

    explicit RecordSetModel(db::RecordSet &set, QObject *parent = nullptr);
    ~RecordSetModel() override;

    db::RecordSet &recordSet() const { return m_set; }

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    const GridColumn &column(int column) const { return m_columns.at(column); }
    // Model column of a field (case-insensitive); -1 when not shown.
    int columnOfField(const QString &field) const;
    // The set's field index of a column; -1 when the set has no such field
    // (or is closed).
    int fieldIndex(int column) const;

    // In edit mode the editable columns take typed values; otherwise the
    // grid is read-only.
    void setEditing(bool editing);
    bool isEditing() const { return m_editing; }

    void setBackgroundHook(ColourHook hook) { m_background = std::move(hook); }
    void setForegroundHook(ColourHook hook) { m_foreground = std::move(hook); }
    void setErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }

    // Shows the model in the view and keeps the view's current row and the
    // set's cursor in step: choosing a row in the grid moves the cursor (a
    // record being edited is posted first; when that post is refused the
    // grid goes back to the record), and a cursor moved in code moves the
    // grid. Column widths are applied. One view at a time.
    void attachView(QAbstractItemView *view);
    QAbstractItemView *view() const { return m_view; }

    // Sets up a table view the way the grids of the program look: fixed row
    // height, no row added below the last, selection by rows, the indicator
    // column of the current record.
    static void configureGrid(QTableView *view);

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Moves the cursor to the row (posting a record being edited), puts the
    // set into editing and sets the field's value. False when refused.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Text of the indicator column: the current row shows "▶" while
    // browsing and "I" while its record is being edited.
    static inline const QString kCurrentMark = QStringLiteral("\u25B6");
    static inline const QString kEditMark = QStringLiteral("I");

private:
    void onReset();
    void onRowChanged(int viewRow);
    void onCurrentChanged(int viewRow);
    void onStateChanged();
    void onViewCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void syncViewToCursor();
    void resolveFields();
    void report(const QString &message, bool reportedBySet);
    void refreshIndicator(int viewRow);

    db::RecordSet &m_set;
    QList<GridColumn> m_columns;
    QList<int> m_fields; // set field index per column
    int m_rows = 0;      // rows the views were last told about
    int m_current = -1;  // cursor row the views were last told about
    bool m_editing = false;
    bool m_syncing = false;
    ColourHook m_background;
    ColourHook m_foreground;
    ErrorHandler m_onError;
    QPointer<QAbstractItemView> m_view;
    QList<QMetaObject::Connection> m_viewConnections;
};

} // namespace orven::ui
