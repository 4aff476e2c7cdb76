#pragma once

// Look and parts shared by the classification windows and their lookup
// dialogs: the grid colours, the delegate that paints the current cell,
// the four navigation buttons and the small pictures of their buttons.

#include <QColor>
#include <QIcon>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>

class QTableView;
class QToolButton;

namespace orven::db {
class RecordSet;
}

namespace orven::ui::grid {

// ---- colours ---------------------------------------------------------------------------

inline const QColor kRowOdd(215, 232, 227);       // odd record numbers
inline const QColor kRowEven(245, 250, 248);      // even record numbers
inline const QColor kSelected(255, 204, 102);     // the current cell (or row)
inline const QColor kMissing(128, 128, 128);      // an empty court code
inline const QColor kInvalid(255, 0, 0);          // a code that is not in the chart
inline const QColor kBackground(239, 239, 230);   // the grid below its rows
inline const QColor kFixed(0, 127, 128);          // titles and indicator
inline const QColor kText(Qt::black);

// Row colour of a view row (0-based): record number viewRow + 1.
inline QColor rowColour(int viewRow) { return (viewRow + 1) % 2 == 1 ? kRowOdd : kRowEven; }
// Text on a red cell: the system's window colour.
QColor windowTextOnRed();

// ---- the grid --------------------------------------------------------------------------

// Paints the grid cells: the background the model gives (row colours,
// grey, red); a selected cell whose background is a row colour (or none)
// in the selection colour with black text. Grey and red cells stay grey and
// red when selected. No focus frame.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The cell editor writes where the cell does (same alignment).
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

// Sets up a table view shown through a RecordSetModel: the program's grid
// settings, the titles and indicator in the fixed colour with white italic
// titles, the grid's background, and the delegate above. rowSelect: the
// whole row is the selection (otherwise only the current cell).
void styleGrid(QTableView *view, bool rowSelect);

// ---- pictures --------------------------------------------------------------------------

enum class Picture { First, Prior, Next, Last, Edit, Auto, Confirm, Cancel, Close, Search };
QIcon icon(Picture picture, int size = 18);

// ---- navigation ------------------------------------------------------------------------

// The four navigation buttons, left to right: first, prior, next and last
// record of a record set.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit NavigationBar(QWidget *parent = nullptr);

    void setRecordSet(db::RecordSet *set) { m_set = set; }
    QToolButton *button(int index) const { return m_buttons[index]; }

    // Told when a move failed (a record being edited that cannot be posted).
    std::function<void(const QString &message)> onError;

public slots:
    void first();
    void prior();
    void next();
    void last();

private:
    void move(int which);

    QPointer<db::RecordSet> m_set;
    QToolButton *m_buttons[4] = {};
};

} // namespace orven::ui::grid
