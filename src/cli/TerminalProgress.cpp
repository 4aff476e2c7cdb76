#include "TerminalProgress.h"

#include <unistd.h>

namespace orven::cli {

TerminalProgress::TerminalProgress(QTextStream &err) : m_err(err), m_tty(stderrIsTerminal()) { m_clock.start(); }

TerminalProgress::~TerminalProgress() { finish(); }

bool TerminalProgress::stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void TerminalProgress::setMaximum(qint64 maximum, int level)
{
    if (level >= 0 && level < 4)
        m_max[level] = maximum;
    draw(false);
}

void TerminalProgress::setPosition(qint64 position, int level)
{
    if (level >= 0 && level < 4)
        m_pos[level] = position;
    draw(false);
}

void TerminalProgress::advance(qint64 steps, int level)
{
    if (level >= 0 && level < 4)
        m_pos[level] += steps;
    draw(false);
}

void TerminalProgress::setStatus(const QString &text, int level)
{
    if (level == 0) {
        m_status = text.trimmed();
        if (!m_tty) {
            m_err << "  " << m_status << "\n";
            m_err.flush();
        }
        draw(true);
    }
}

void TerminalProgress::draw(bool force)
{
    if (!m_tty)
        return;
    if (!force && m_clock.elapsed() < 100)
        return;
    m_clock.restart();
    // The fraction of level 0, refined by the fraction of level 1.
    double fraction = 0;
    if (m_max[0] > 0) {
        double inner = m_max[1] > 0 ? double(m_pos[1]) / double(m_max[1]) : 0.0;
        fraction = (double(m_pos[0]) + qBound(0.0, inner, 1.0)) / double(m_max[0]);
    }
    fraction = qBound(0.0, fraction, 1.0);
    const int width = 30;
    const int filled = int(fraction * width + 0.5);
    QString bar = QString(filled, QLatin1Char('#')) + QString(width - filled, QLatin1Char('.'));
    QString status = m_status.left(40);
    m_err << "\r[" << bar << "] " << QString::number(int(fraction * 100)).rightJustified(3) << "% "
          << status.leftJustified(40) << Qt::flush;
    m_drawn = true;
}

void TerminalProgress::finish()
{
    if (m_tty && m_drawn) {
        m_err << "\r" << QString(80, QLatin1Char(' ')) << "\r" << Qt::flush;
        m_drawn = false;
    }
}

} // namespace orven::cli
