#include "shell/MainWindow.h"

#include "Version.h"
#include "common/Error.h"
#include "common/Messages.h"
#include "shell/Artwork.h"
#include "shell/WaitWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStatusBar>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace orven::ui {

namespace {

TFrmPrincipalXMLORVEN *g_mainWindow = nullptr;

// The locale's long time format without its time-zone designator.
QString longTimeFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.trimmed();
}

struct MenuEntry {
    const char *objectName;
    QString caption;
    art::Glyph glyph;
    QString windowCaption;
};

const MenuEntry &menuEntry(int index)
{
    static const MenuEntry entries[] = {
        {"btngerador", QStringLiteral("Gerador XML"), art::Glyph::Generator, QStringLiteral("Gerador XML")},
        {"btnReceita", QStringLiteral("Classif. Receita"), art::Glyph::Revenue,
         QStringLiteral("Classificação das Fichas de Receita")},
        {"BtnDespesa", QStringLiteral("Classif. Despesa"), art::Glyph::Expense,
         QStringLiteral("Classificação das Fichas de Despesa")},
        {"btnrestos", QStringLiteral("Restos à Pagar"), art::Glyph::Outstanding,
         QStringLiteral("Classificação dos Restos à Pagar")},
        {"BtnGarantia", QStringLiteral("Garantias"), art::Glyph::Guarantees,
         QStringLiteral("Garantias e Contragarantias")},
        {"Btndados", QStringLiteral("Dados XML"), art::Glyph::Viewer, QStringLiteral("Visualização do XML")},
    };
    return entries[index];
}

// The MDI client: our backdrop where no working window covers it.
class Workspace : public QMdiArea {
public:
    using QMdiArea::QMdiArea;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(viewport());
        art::paintWorkspace(p, viewport()->rect());
    }
};

// The MDI frame of a working window. The window is freed when it closes,
// and its frame goes with it.
class ChildFrame : public QMdiSubWindow {
public:
    explicit ChildFrame(QWidget *content)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        content->setAttribute(Qt::WA_DeleteOnClose);
        setWidget(content);
        m_content = content;
        if (!content->windowIcon().isNull())
            setWindowIcon(content->windowIcon());
    }

protected:
    void childEvent(QChildEvent *event) override
    {
        QMdiSubWindow::childEvent(event);
        // Sent when the window is freed on its own, not while the frame frees it.
        if (event->type() == QEvent::ChildRemoved && event->child() == m_content) {
            m_content = nullptr;
            deleteLater();
        }
    }

private:
    QObject *m_content = nullptr;
};

// The menu group "Menu": a header that cannot be closed over its buttons.
class MenuGroup : public QWidget {
public:
    static constexpr int kHeader = 24;
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        // Body.
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.setBrush(QColor(0, 0, 0, 38));
        p.drawRoundedRect(r, 5, 5);
        // Header.
        QPainterPath header;
        header.addRoundedRect(QRectF(r.left(), r.top(), r.width(), kHeader), 5, 5);
        QPainterPath square;
        square.addRect(QRectF(r.left(), r.top() + kHeader / 2.0, r.width(), kHeader / 2.0));
        header = header.united(square);
        QLinearGradient g(QPointF(0, r.top()), QPointF(0, r.top() + kHeader));
        g.setColorAt(0, art::kTealLight.lighter(112));
        g.setColorAt(1, art::kTealDark);
        p.fillPath(header, g);
        p.setPen(QColor(255, 255, 255, 90));
        p.drawLine(QPointF(r.left() + 1, r.top() + kHeader), QPointF(r.right() - 1, r.top() + kHeader));
        p.setPen(Qt::white);
        p.setFont(art::tahoma(13, true));
        p.drawText(QRectF(r.left() + 10, r.top(), r.width() - 20, kHeader), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("Menu"));
    }
};

QLabel *makePane(const QString &name, int width, Qt::Alignment alignment, QWidget *parent)
{
    auto *pane = new QLabel(parent);
    pane->setObjectName(name);
    pane->setFont(art::verdana(11));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(alignment | Qt::AlignVCenter);
    pane->setIndent(3);
    if (width > 0)
        pane->setFixedWidth(width);
    return pane;
}

} // namespace

// ------------------------------------------------------------ free functions

QUrl captureApplicationUrl()
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QString::fromLatin1(kCaptureHost));
    url.setPort(kCapturePort);
    url.setPath(QString::fromLatin1(kCapturePath));
    return url;
}

QString versionText() { return QStringLiteral(ORVEN_VERSION_TEXT); }

bool showPackageDialogFirst(const QStringList &arguments)
{
    return arguments.size() >= 2 && arguments.at(1) == QLatin1String("design");
}

QString mainWindowCaption(const QString &executablePath, const QString &version, const QLocale &locale)
{
    const QFileInfo info(executablePath);
    if (executablePath.isEmpty() || !info.isFile())
        return QString::fromLatin1(kDesignCaption);
    const QDateTime stamp = info.lastModified();
    QString when = stamp.date().toString(shortDateFormat());
    if (stamp.time() != QTime(0, 0))
        when += QLatin1Char(' ') + locale.toString(stamp.time(), longTimeFormat(locale));
    return QStringLiteral("ZUNT 8.0 - MÓDULO ORVEN - Atualizado dia ") + when + QStringLiteral(" - Versão: ")
        + version;
}

// ------------------------------------------------------------ buttons

MenuButton::MenuButton(const QString &caption, const QIcon &glyph, QWidget *parent) : QAbstractButton(parent)
{
    setText(caption);
    setIcon(glyph);
    setIconSize(QSize(24, 24));
    setFont(art::tahoma(13, true));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setFixedSize(144, 41);
}

void MenuButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const bool enabled = isEnabled();
    if (enabled && isDown()) {
        p.setPen(QPen(QColor(0, 0, 0, 80), 1));
        p.setBrush(QColor(0, 0, 0, 60));
        p.drawRoundedRect(r, 4, 4);
    } else if (enabled && underMouse()) {
        p.setPen(QPen(QColor(255, 255, 255, 110), 1));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(r, 4, 4);
    }
    const int shift = enabled && isDown() ? 1 : 0;
    p.setOpacity(enabled ? 1.0 : 0.45);
    const QSize glyph = iconSize();
    const QRect glyphRect(5 + shift, (height() - glyph.height()) / 2 + shift, glyph.width(), glyph.height());
    icon().paint(&p, glyphRect);
    p.setFont(font());
    p.setPen(Qt::white);
    const int textLeft = glyphRect.left() + glyph.width() + 5;
    const QRect textRect(textLeft, shift, width() - textLeft - 1, height());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}

BannerButton::BannerButton(const QString &caption, const QIcon &glyph, QWidget *parent) : QAbstractButton(parent)
{
    setText(caption);
    setIcon(glyph);
    setIconSize(QSize(24, 24));
    setFont(art::tahoma(10, true));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setFixedSize(39, 44);
}

void BannerButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (isDown()) {
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        p.setBrush(QColor(255, 255, 255, 25));
        p.drawRoundedRect(r, 4, 4);
    } else if (underMouse()) {
        p.setPen(QPen(QColor(255, 255, 255, 120), 1));
        p.setBrush(QColor(255, 255, 255, 45));
        p.drawRoundedRect(r, 4, 4);
    }
    const int shift = isDown() ? 1 : 0;
    p.setOpacity(isEnabled() ? 1.0 : 0.45);
    const QSize glyph = iconSize();
    icon().paint(&p, QRect((width() - glyph.width()) / 2 + shift, 4 + shift, glyph.width(), glyph.height()));
    p.setFont(font());
    p.setPen(QColor(225, 235, 235));
    p.drawText(QRect(shift, 29 + shift, width(), 13), Qt::AlignHCenter | Qt::AlignTop, text());
}

// ------------------------------------------------------------ marquee

MarqueePane::MarqueePane(const QString &text, QWidget *parent) : QFrame(parent), m_text(text)
{
    setFont(art::verdana(11));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setToolTip(text);
    m_timer = new QTimer(this);
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &MarqueePane::step);
    m_timer->start();
}

void MarqueePane::step()
{
    const int textWidth = fontMetrics().horizontalAdvance(m_text);
    --m_offset;
    if (m_offset < -textWidth)
        m_offset = contentsRect().width();
    update(contentsRect());
}

void MarqueePane::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect area = contentsRect();
    p.setClipRect(area);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(area.left() + m_offset, area.top(), fontMetrics().horizontalAdvance(m_text) + 4, area.height()),
               Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

// ------------------------------------------------------------ main window

TFrmPrincipalXMLORVEN::TFrmPrincipalXMLORVEN(QWidget *parent) : QMainWindow(parent)
{
    g_mainWindow = this;
    setObjectName(QStringLiteral("FrmPrincipalXMLORVEN"));
    setWindowTitle(mainWindowCaption(QCoreApplication::applicationFilePath(), versionText()));
    setMinimumSize(760, 520);

    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *banner = new QWidget(central);
    banner->setObjectName(QStringLiteral("pnlBanner"));
    banner->setFixedHeight(83);
    banner->setAutoFillBackground(true);
    QPalette bannerPalette = banner->palette();
    bannerPalette.setColor(QPalette::Window, Qt::black);
    banner->setPalette(bannerPalette);
    buildBanner(banner);
    outer->addWidget(banner);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(buildMenuColumn());
    m_mdi = new Workspace(central);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setFrameStyle(QFrame::NoFrame);
    m_mdi->setActivationOrder(QMdiArea::CreationOrder);
    body->addWidget(m_mdi, 1);
    outer->addLayout(body, 1);
    setCentralWidget(central);

    buildStatusBar();
    refreshMenu();
}

TFrmPrincipalXMLORVEN::~TFrmPrincipalXMLORVEN()
{
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

TFrmPrincipalXMLORVEN *TFrmPrincipalXMLORVEN::instance() { return g_mainWindow; }

void TFrmPrincipalXMLORVEN::buildBanner(QWidget *banner)
{
    auto *row = new QHBoxLayout(banner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    auto *left = new art::Picture(&art::paintBannerLeft, banner);
    left->setObjectName(QStringLiteral("imgBannerLeft"));
    left->setFixedSize(519, 83);
    row->addWidget(left);
    row->addStretch(1);

    auto *right = new art::Picture(&art::paintBannerRight, banner);
    right->setObjectName(QStringLiteral("imgBannerRight"));
    right->setFixedSize(167, 83);
    row->addWidget(right);

    m_speedButton1 = new BannerButton(QStringLiteral("Fechar"), art::glyphIcon(art::Glyph::ExitDoor, 24), right);
    m_speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    m_speedButton1->setGeometry(167 - 2 * 39 - 14, 20, 39, 44);
    m_btnSair = new BannerButton(QStringLiteral("Sair"), art::glyphIcon(art::Glyph::ExitClose, 24), right);
    m_btnSair->setObjectName(QStringLiteral("btnsair"));
    m_btnSair->setGeometry(167 - 39 - 10, 20, 39, 44);
    const QString exitTip = QStringLiteral("Fecha a janela aberta ou finaliza o módulo");
    for (BannerButton *b : {m_btnSair, m_speedButton1}) {
        b->setToolTip(exitTip);
        connect(b, &QAbstractButton::clicked, this, &TFrmPrincipalXMLORVEN::btnsairClick);
    }
}

QWidget *TFrmPrincipalXMLORVEN::buildMenuColumn()
{
    auto *column = new art::Picture(&art::paintMenuColumn);
    column->setObjectName(QStringLiteral("pnlMenu"));
    column->setFixedWidth(161);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(4);

    auto *groupBar = new QWidget(column);
    groupBar->setObjectName(QStringLiteral("RzGroupBar1"));
    groupBar->setFixedSize(161, 315);
    auto *group = new MenuGroup(groupBar);
    group->setObjectName(QStringLiteral("RzGroup1"));
    group->setGeometry(4, 0, 153, 315);
    auto *buttons = new QVBoxLayout(group);
    buttons->setContentsMargins(4, MenuGroup::kHeader + 1, 4, 0);
    buttons->setSpacing(0);

    for (int i = 0; i < kChildCount; ++i) {
        const MenuEntry &e = menuEntry(i);
        auto *b = new MenuButton(e.caption, art::glyphIcon(e.glyph, 24), group);
        b->setObjectName(QString::fromLatin1(e.objectName));
        buttons->addWidget(b);
        m_childButtons[i] = b;
        connect(b, &QAbstractButton::clicked, this, [this, i] { openEntry(Child(i)); });
    }
    m_btnModulo = new MenuButton(QStringLiteral("Módulo Captura"), art::glyphIcon(art::Glyph::Capture, 24), group);
    m_btnModulo->setObjectName(QStringLiteral("btnmodulo"));
    m_btnModulo->setToolTip(QStringLiteral("Abre o aplicativo de captura do Tribunal de Contas no navegador"));
    connect(m_btnModulo, &QAbstractButton::clicked, this, &TFrmPrincipalXMLORVEN::btnmoduloClick);
    buttons->addWidget(m_btnModulo);
    buttons->addStretch(1);
    layout->addWidget(groupBar);

    auto *picture = new art::Picture(&art::paintColumnPicture, column);
    picture->setObjectName(QStringLiteral("imgMenu"));
    picture->setFixedSize(161, 57);
    layout->addWidget(picture);
    layout->addStretch(1);
    return column;
}

void TFrmPrincipalXMLORVEN::buildStatusBar()
{
    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StsMain"));
    bar->setSizeGripEnabled(false);
    bar->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));

    auto *court = new MarqueePane(kCourtName, bar);
    court->setObjectName(QStringLiteral("StsCourt"));
    court->setFixedWidth(162);
    bar->addWidget(court);
    m_exerc = makePane(QStringLiteral("Exerc"), 66, Qt::AlignHCenter, bar);
    m_exerc->setText(QStringLiteral("Ex: "));
    bar->addWidget(m_exerc);
    m_clock = makePane(QStringLiteral("StsClock"), 62, Qt::AlignHCenter, bar);
    bar->addWidget(m_clock);
    m_date = makePane(QStringLiteral("StsDate"), 251, Qt::AlignHCenter, bar);
    bar->addWidget(m_date);
    m_vrs = makePane(QStringLiteral("Vrs"), 83, Qt::AlignLeft, bar);
    m_vrs->setText(QStringLiteral("Vrs: ") + versionText());
    bar->addWidget(m_vrs);
    auto *maker = makePane(QStringLiteral("StsMaker"), 0, Qt::AlignLeft, bar);
    maker->setText(kMakerCaption);
    bar->addWidget(maker, 1);
    setStatusBar(bar);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(100);
    connect(m_clockTimer, &QTimer::timeout, this, &TFrmPrincipalXMLORVEN::refreshClock);
    m_clockTimer->start();
    refreshClock();
}

void TFrmPrincipalXMLORVEN::refreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString clock = now.time().toString(QStringLiteral("H:mm:ss"));
    if (m_clock->text() != clock)
        m_clock->setText(clock);
    const QString date = QLocale::system().toString(now.date(), QLocale::LongFormat);
    if (m_date->text() != date)
        m_date->setText(date);
}

void TFrmPrincipalXMLORVEN::registerChild(Child entry, ChildFactory factory)
{
    m_factories[int(entry)] = std::move(factory);
    refreshMenu();
}

QAbstractButton *TFrmPrincipalXMLORVEN::menuButton(Child entry) const { return m_childButtons[int(entry)]; }

void TFrmPrincipalXMLORVEN::setMenuEnabled(bool enabled)
{
    m_menuEnabled = enabled;
    refreshMenu();
}

void TFrmPrincipalXMLORVEN::refreshMenu()
{
    for (int i = 0; i < kChildCount; ++i) {
        const bool available = bool(m_factories[i]);
        m_childButtons[i]->setEnabled(m_menuEnabled && available);
        m_childButtons[i]->setToolTip(available ? menuEntry(i).windowCaption : kComingSoon);
    }
    m_btnModulo->setEnabled(m_menuEnabled);
}

void TFrmPrincipalXMLORVEN::setExerciseYear(const QString &year) { m_exerc->setText(QStringLiteral("Ex: ") + year); }

void TFrmPrincipalXMLORVEN::openEntry(Child entry)
{
    const ChildFactory &factory = m_factories[int(entry)];
    if (factory)
        openChild(factory);
}

QMdiSubWindow *TFrmPrincipalXMLORVEN::activeChild() const
{
    if (m_child)
        return m_child;
    if (QMdiSubWindow *sub = m_mdi->currentSubWindow())
        return sub;
    const auto list = m_mdi->subWindowList();
    return list.isEmpty() ? nullptr : list.last();
}

QWidget *TFrmPrincipalXMLORVEN::currentChild() const
{
    QMdiSubWindow *sub = activeChild();
    return sub ? sub->widget() : nullptr;
}

bool TFrmPrincipalXMLORVEN::closeCurrentChild()
{
    QPointer<QMdiSubWindow> sub = activeChild();
    if (!sub)
        return true;
    // Its own close handling runs first; a window that refuses (work in
    // progress, unsaved changes kept) is not discarded under its feet.
    if (sub->isVisible() && !sub->close())
        return false;
    delete sub.data();
    return true;
}

bool TFrmPrincipalXMLORVEN::openChild(const ChildFactory &factory)
{
    if (!factory || m_opening)
        return false;
    m_opening = true;

    QString failure;
    bool opened = false;
    {
        QPointer<TfrmAguardeVista> wait = TfrmAguardeVista::open();
        // Redrawing resumes and the wait window goes, whatever happens below.
        struct Restore {
            TFrmPrincipalXMLORVEN *window;
            QPointer<TfrmAguardeVista> &wait;
            ~Restore()
            {
                window->setUpdatesEnabled(true);
                delete wait.data();
                window->m_opening = false;
            }
        } restore{this, wait};

        try {
            if (closeCurrentChild()) {
                setUpdatesEnabled(false);
                QWidget *child = factory();
                if (child) {
                    auto *sub = new ChildFrame(child);
                    m_mdi->addSubWindow(sub);
                    m_child = sub;
                    sub->showMaximized();
                    m_mdi->setActiveSubWindow(sub);
                    opened = true;
                }
            }
        } catch (const Error &e) {
            failure = e.message();
        } catch (const std::exception &e) {
            failure = QString::fromLocal8Bit(e.what());
        } catch (...) {
            failure = QStringLiteral("Erro inesperado ao abrir a janela!!!");
        }
    }
    if (!failure.isEmpty())
        MessageService::instance().error(failure);
    return opened;
}

void TFrmPrincipalXMLORVEN::btnsairClick()
{
    QMdiSubWindow *sub = activeChild();
    if (sub && sub->isVisible()) {
        closeCurrentChild();
        return;
    }
    if (MessageService::instance().ask(kExitQuestion, QStringLiteral("Atenção"), MessageService::Icon::None))
        close();
}

void TFrmPrincipalXMLORVEN::btnmoduloClick() { QDesktopServices::openUrl(captureApplicationUrl()); }

void TFrmPrincipalXMLORVEN::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window is on the screen, so that the steps' messages sit over it.
    QMetaObject::invokeMethod(this, &TFrmPrincipalXMLORVEN::runFirstShow, Qt::QueuedConnection);
}

void TFrmPrincipalXMLORVEN::runFirstShow()
{
    if (!onFirstShow)
        return;
    bool carryOn = true;
    QString failure;
    try {
        carryOn = onFirstShow();
    } catch (const Error &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (!failure.isEmpty())
        MessageService::instance().error(failure);
    if (!carryOn) {
        m_endedAtStartup = true;
        close();
    }
}

void TFrmPrincipalXMLORVEN::closeEvent(QCloseEvent *event)
{
    // Closing the frame ends the program without a question.
    event->accept();
}

} // namespace orven::ui
