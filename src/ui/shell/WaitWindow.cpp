#include "shell/WaitWindow.h"

#include "shell/Artwork.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace orven::ui {

namespace {

TfrmAguardeVista *g_waitWindow = nullptr;

} // namespace

// ---------------------------------------------------------------- bar

WaitProgressBar::WaitProgressBar(QWidget *parent) : QWidget(parent) {}

void WaitProgressBar::setMinimum(qint64 minimum)
{
    m_minimum = minimum;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    update();
}

void WaitProgressBar::setMaximum(qint64 maximum)
{
    m_maximum = maximum;
    if (m_minimum > m_maximum)
        m_minimum = m_maximum;
    update();
}

void WaitProgressBar::setPosition(qint64 position)
{
    m_position = position;
    update();
}

void WaitProgressBar::stepBy(qint64 steps) { setPosition(m_position + steps); }

int WaitProgressBar::litBoxes() const
{
    const qint64 span = m_maximum - m_minimum;
    if (span <= 0)
        return 0;
    const qint64 done = std::clamp(m_position, m_minimum, m_maximum) - m_minimum;
    return int(done * kBoxes / span);
}

void WaitProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int lit = litBoxes();
    const int w = width();
    // Twenty boxes across the width with one pixel between them.
    for (int i = 0; i < lit; ++i) {
        const int x0 = i * (w + 1) / kBoxes;
        const int x1 = (i + 1) * (w + 1) / kBoxes - 1; // one pixel gap
        p.fillRect(QRect(x0, 0, std::max(1, x1 - x0), height()), art::kProgressGreen);
    }
}

// ---------------------------------------------------------------- window

TfrmAguardeVista::TfrmAguardeVista(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmAguardeVista"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kHeight);
    setWindowOpacity(kOpacity / 255.0);
    setCursor(Qt::WaitCursor);

    Img = new art::Picture(&art::paintWaitBackground, this);
    Img->setObjectName(QStringLiteral("Img"));
    Img->setGeometry(0, 0, kWidth, kHeight);

    lblCaption = new QLabel(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setAttribute(Qt::WA_TranslucentBackground);
    lblCaption->setAlignment(Qt::AlignCenter);
    lblCaption->setFont(art::tahoma(19, true));
    QPalette pal = lblCaption->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    lblCaption->setPalette(pal);
    lblCaption->setGeometry(0, 0, kWidth, kHeight - 2);
    lblCaption->setText(QStringLiteral("Aguarde..."));

    PROGRESS = new WaitProgressBar(this);
    PROGRESS->setObjectName(QStringLiteral("PROGRESS"));
    PROGRESS->setGeometry(1, kHeight - 2, 185, 2);
    PROGRESS->setMinimum(0);
    PROGRESS->setMaximum(1);
    PROGRESS->setPosition(0);

    // Centred on the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }

    // The program-wide reference: the newest wait window.
    g_waitWindow = this;
}

TfrmAguardeVista::~TfrmAguardeVista()
{
    if (g_waitWindow == this)
        g_waitWindow = nullptr;
}

TfrmAguardeVista *TfrmAguardeVista::current() { return g_waitWindow; }

TfrmAguardeVista *TfrmAguardeVista::open()
{
    discard();
    auto *window = new TfrmAguardeVista;
    window->show();
    window->Img->repaint();
    // Let the window system map and draw the box before the work starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return window;
}

void TfrmAguardeVista::discard() { delete g_waitWindow; }

void TfrmAguardeVista::showEvent(QShowEvent *event)
{
    PROGRESS->setVisible(PROGRESS->maximum() != 1);
    lblCaption->setText(QStringLiteral("Aguarde..."));
    QWidget::showEvent(event);
}

// ---------------------------------------------------------------- progress

void WaitProgress::setMaximum(qint64 maximum, int level)
{
    if (level != 0 || !m_window)
        return;
    WaitProgressBar *bar = m_window->progress();
    bar->setPosition(0);
    bar->setMaximum(maximum);
    bar->setVisible(true);
}

void WaitProgress::setPosition(qint64 position, int level)
{
    if (level != 0 || !m_window)
        return;
    m_window->progress()->setPosition(position);
}

void WaitProgress::advance(qint64 steps, int level)
{
    if (level == 0 && m_window)
        m_window->progress()->stepBy(steps);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- scope

WaitWindowScope::WaitWindowScope() : m_window(TfrmAguardeVista::open()), m_progress(m_window) {}

WaitWindowScope::~WaitWindowScope()
{
    // Only this scope's own window: a nested scope may have replaced it.
    delete m_window.data();
}

} // namespace orven::ui
