#include "classification/GridStyle.h"

#include "common/Error.h"
#include "common/Messages.h"
#include "common/RecordSetModel.h"
#include "db/RecordSet.h"
#include "shell/Artwork.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTableView>
#include <QToolButton>

#include <cmath>

namespace orven::ui::grid {

QColor windowTextOnRed() { return QApplication::palette().color(QPalette::Active, QPalette::Base); }

// ---- the grid --------------------------------------------------------------------------

void GridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const bool selected = option->state & QStyle::State_Selected;
    option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    const QVariant background = index.data(Qt::BackgroundRole);
    const QColor colour = background.canConvert<QBrush>() ? background.value<QBrush>().color() : QColor();
    const bool flagged = colour.isValid() && colour != kRowOdd && colour != kRowEven;
    if (selected && !flagged) {
        option->backgroundBrush = kSelected;
        option->palette.setColor(QPalette::Text, kText);
        option->palette.setColor(QPalette::HighlightedText, kText);
    } else if (!colour.isValid()) {
        option->backgroundBrush = rowColour(index.row());
    }
    const QVariant foreground = index.data(Qt::ForegroundRole);
    if (!foreground.isValid() || (selected && !flagged))
        option->palette.setColor(QPalette::Text, kText);
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        const QVariant alignment = index.data(Qt::TextAlignmentRole);
        if (alignment.isValid())
            line->setAlignment(alignment.value<Qt::Alignment>());
    }
    return editor;
}

void styleGrid(QTableView *view, bool rowSelect)
{
    RecordSetModel::configureGrid(view);
    view->setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    view->setItemDelegate(new GridDelegate(view));
    view->setShowGrid(true);
    view->setAlternatingRowColors(false);

    QPalette pal = view->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(g, QPalette::Base, kBackground);
        pal.setColor(g, QPalette::Highlight, kSelected);
        pal.setColor(g, QPalette::HighlightedText, kText);
    }
    pal.setColor(QPalette::Text, kText);
    view->setPalette(pal);
    view->setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(190, 200, 196); }"));

    const QString header = QStringLiteral(
        "QHeaderView { background-color: rgb(0, 127, 128); }"
        "QHeaderView::section { background-color: rgb(0, 127, 128); color: white; font-style: italic;"
        " padding: 3px 4px; border: none; border-right: 1px solid rgb(0, 96, 98);"
        " border-bottom: 1px solid rgb(0, 96, 98); }");
    view->horizontalHeader()->setStyleSheet(header);
    view->verticalHeader()->setStyleSheet(header + QStringLiteral(
        "QHeaderView::section { font-style: normal; padding: 0px; color: white; }"));
    view->horizontalHeader()->setMinimumHeight(view->fontMetrics().height() + 10);
    view->horizontalHeader()->setSectionsClickable(false);
    view->verticalHeader()->setSectionsClickable(false);
}

// ---- pictures --------------------------------------------------------------------------

namespace {

void paintPicture(QPainter &p, Picture picture, const QRectF &box)
{
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = box.width();
    const QPointF o = box.topLeft();
    auto at = [&](qreal x, qreal y) { return o + QPointF(x * s, y * s); };
    const QColor ink = art::kTealDark;

    auto triangle = [&](qreal x0, bool left) {
        QPainterPath path;
        if (left) {
            path.moveTo(at(x0 + 0.34, 0.18));
            path.lineTo(at(x0, 0.5));
            path.lineTo(at(x0 + 0.34, 0.82));
        } else {
            path.moveTo(at(x0, 0.18));
            path.lineTo(at(x0 + 0.34, 0.5));
            path.lineTo(at(x0, 0.82));
        }
        path.closeSubpath();
        p.fillPath(path, ink);
    };
    auto bar = [&](qreal x0) { p.fillRect(QRectF(at(x0, 0.18), QSizeF(0.11 * s, 0.64 * s)), ink); };

    switch (picture) {
    case Picture::First:
        bar(0.2);
        triangle(0.34, true);
        break;
    case Picture::Prior:
        triangle(0.32, true);
        break;
    case Picture::Next:
        triangle(0.34, false);
        break;
    case Picture::Last:
        triangle(0.3, false);
        bar(0.69);
        break;
    case Picture::Edit: {
        // A pencil across the box.
        p.save();
        p.translate(at(0.5, 0.5));
        p.rotate(-45);
        const qreal w = 0.2 * s, l = 0.78 * s;
        QRectF body(-l / 2 + 0.16 * s, -w / 2, l - 0.16 * s, w);
        p.fillRect(body, art::kGold);
        p.fillRect(QRectF(body.right() - 0.12 * s, -w / 2, 0.12 * s, w), QColor(214, 92, 92));
        p.fillRect(QRectF(body.right() - 0.17 * s, -w / 2, 0.05 * s, w), QColor(170, 170, 170));
        QPainterPath tip;
        tip.moveTo(body.left(), -w / 2);
        tip.lineTo(-l / 2, 0);
        tip.lineTo(body.left(), w / 2);
        tip.closeSubpath();
        p.fillPath(tip, QColor(236, 210, 160));
        p.setPen(QPen(QColor(60, 60, 60), 0.05 * s));
        p.drawPoint(QPointF(-l / 2 + 0.03 * s, 0));
        p.setPen(QPen(QColor(120, 90, 30), 0.04 * s));
        p.setBrush(Qt::NoBrush);
        p.drawRect(body);
        p.restore();
        break;
    }
    case Picture::Auto: {
        // A wand with sparkles.
        p.setPen(QPen(ink, 0.12 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(0.16, 0.86), at(0.6, 0.42));
        p.setPen(QPen(Qt::white, 0.12 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(0.6, 0.42), at(0.66, 0.36));
        auto star = [&](qreal cx, qreal cy, qreal r) {
            QPainterPath path;
            for (int i = 0; i < 8; ++i) {
                const qreal a = i * M_PI / 4 - M_PI / 2;
                const qreal rr = i % 2 == 0 ? r : r * 0.38;
                const QPointF pt = at(cx, cy) + QPointF(std::cos(a) * rr * s, std::sin(a) * rr * s);
                i == 0 ? path.moveTo(pt) : path.lineTo(pt);
            }
            path.closeSubpath();
            p.fillPath(path, art::kGold);
        };
        star(0.72, 0.28, 0.24);
        star(0.36, 0.2, 0.12);
        star(0.86, 0.64, 0.11);
        break;
    }
    case Picture::Confirm: {
        p.setBrush(QColor(46, 160, 67));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(at(0.06, 0.06), QSizeF(0.88 * s, 0.88 * s)));
        p.setPen(QPen(Qt::white, 0.13 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath check;
        check.moveTo(at(0.28, 0.52));
        check.lineTo(at(0.44, 0.68));
        check.lineTo(at(0.73, 0.34));
        p.drawPath(check);
        break;
    }
    case Picture::Cancel: {
        p.setBrush(QColor(208, 58, 52));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(at(0.06, 0.06), QSizeF(0.88 * s, 0.88 * s)));
        p.setPen(QPen(Qt::white, 0.13 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(0.33, 0.33), at(0.67, 0.67));
        p.drawLine(at(0.67, 0.33), at(0.33, 0.67));
        break;
    }
    case Picture::Close:
        art::paintGlyph(p, art::Glyph::ExitDoor, box);
        break;
    case Picture::Search: {
        p.setPen(QPen(ink, 0.12 * s));
        p.setBrush(QColor(220, 240, 238));
        p.drawEllipse(QRectF(at(0.1, 0.1), QSizeF(0.52 * s, 0.52 * s)));
        p.setPen(QPen(ink, 0.16 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(0.58, 0.58), at(0.86, 0.86));
        break;
    }
    }
}

} // namespace

QIcon icon(Picture picture, int size)
{
    QIcon result;
    for (int scale : {1, 2}) {
        QPixmap pm(size * scale, size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paintPicture(p, picture, QRectF(0, 0, size, size));
        p.end();
        result.addPixmap(pm);
    }
    return result;
}

// ---- navigation ------------------------------------------------------------------------

NavigationBar::NavigationBar(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    const Picture pictures[4] = {Picture::First, Picture::Prior, Picture::Next, Picture::Last};
    const char *names[4] = {"btnPrimeiro", "btnAnterior", "btnProximo", "btnUltimo"};
    const QString tips[4] = {QStringLiteral("Primeiro registro"), QStringLiteral("Registro anterior"),
                             QStringLiteral("Próximo registro"), QStringLiteral("Último registro")};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(names[i]));
        b->setIcon(icon(pictures[i], 16));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(tips[i]);
        b->setFixedSize(32, 28);
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        row->addWidget(b);
        m_buttons[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { move(i); });
    }
}

void NavigationBar::first() { move(0); }
void NavigationBar::prior() { move(1); }
void NavigationBar::next() { move(2); }
void NavigationBar::last() { move(3); }

void NavigationBar::move(int which)
{
    if (!m_set || !m_set->isActive())
        return;
    try {
        switch (which) {
        case 0:
            m_set->first();
            break;
        case 1:
            m_set->prior();
            break;
        case 2:
            m_set->next();
            break;
        default:
            m_set->last();
            break;
        }
    } catch (const db::PostCancelled &) {
        // The before-post hook has told the user.
    } catch (const Error &e) {
        if (onError)
            onError(e.message());
        else if (!m_set->onPostError)
            MessageService::instance().error(e.message());
    }
}

} // namespace orven::ui::grid
