#include "Commands.h"

#include "common/Error.h"
#include "common/Progress.h"
#include "demo/DemoInstaller.h"

#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace orven::cli {

namespace {

// The demo's progress on stderr: a bar redrawn in place on a terminal,
// otherwise a line at every new phase and every tenth of the way.
class CliProgress final : public Progress {
public:
    explicit CliProgress(QTextStream &err) : m_err(err), m_tty(::isatty(::fileno(stderr)) == 1) { m_clock.start(); }

    void setMaximum(qint64 maximum, int level) override
    {
        if (level == 0)
            m_max = maximum;
    }
    void setPosition(qint64 position, int level) override
    {
        if (level == 0) {
            m_pos = position;
            draw(false);
        }
    }
    void advance(qint64 steps, int level) override
    {
        if (level == 0) {
            m_pos += steps;
            draw(false);
        }
    }
    void setStatus(const QString &text, int level) override
    {
        if (level != 0 || text == m_status)
            return;
        m_status = text;
        if (!m_tty) {
            m_err << "  " << percent() << "%  " << text << "\n";
            m_err.flush();
        } else {
            draw(true);
        }
    }
    // Ends the bar's line (on a terminal) before anything else is written.
    void finish()
    {
        if (m_tty && m_drawn) {
            m_err << "\r" << QString(m_width, QLatin1Char(' ')) << "\r";
            m_err.flush();
        }
        m_drawn = false;
    }

private:
    int percent() const { return m_max > 0 ? int(std::clamp<qint64>(m_pos * 100 / m_max, 0, 100)) : 0; }

    void draw(bool force)
    {
        const int p = percent();
        if (!m_tty) {
            if (p / 10 > m_lastTenth) {
                m_lastTenth = p / 10;
                if (p < 100) {
                    m_err << "  " << p << "%\n";
                    m_err.flush();
                }
            }
            return;
        }
        if (!force && p == m_lastPercent && m_clock.elapsed() - m_lastDraw < 250)
            return;
        m_lastPercent = p;
        m_lastDraw = m_clock.elapsed();
        const int cells = 30;
        const int full = p * cells / 100;
        QString line = QStringLiteral("\r[") + QString(full, QLatin1Char('#')) + QString(cells - full, QLatin1Char('.')) +
                       QStringLiteral("] %1%  ").arg(p, 3) + m_status;
        m_width = std::max<int>(m_width, int(line.size()));
        m_err << line.leftJustified(m_width);
        m_err.flush();
        m_drawn = true;
    }

    QTextStream &m_err;
    bool m_tty;
    qint64 m_max = 0, m_pos = 0;
    QString m_status;
    int m_lastPercent = -1, m_lastTenth = 0, m_width = 0;
    qint64 m_lastDraw = 0;
    bool m_drawn = false;
    QElapsedTimer m_clock;
};

void usage(QTextStream &err) { err << "usage: orven-cli demo DIR [--size small|large] [--replace]\n"; }

} // namespace

// orven-cli demo DIR [--size small|large] [--replace]
int cmdDemo(Context &ctx)
{
    QString dir;
    QString sizeText = QStringLiteral("small");
    bool replace = false;
    QStringList args = ctx.args;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == u"--replace") {
            replace = true;
        } else if (a == u"--size") {
            if (args.isEmpty()) {
                ctx.err << "orven-cli demo: --size needs small or large\n";
                usage(ctx.err);
                return ExitUsage;
            }
            sizeText = args.takeFirst();
        } else if (a.startsWith(u"--size=")) {
            sizeText = a.mid(7);
        } else if (a.startsWith(u"--")) {
            ctx.err << "orven-cli demo: unknown option " << a << "\n";
            usage(ctx.err);
            return ExitUsage;
        } else if (dir.isEmpty()) {
            dir = a;
        } else {
            ctx.err << "orven-cli demo: only one folder, please (" << a << ")\n";
            usage(ctx.err);
            return ExitUsage;
        }
    }
    demo::DemoSize size;
    if (!demo::parseSize(sizeText, &size)) {
        ctx.err << "orven-cli demo: unknown size " << sizeText << " (small or large)\n";
        usage(ctx.err);
        return ExitUsage;
    }
    if (dir.isEmpty()) {
        usage(ctx.err);
        return ExitUsage;
    }

    CliProgress progress(ctx.err);
    demo::DemoSummary s;
    try {
        s = demo::createDemo(dir, size, replace, progress);
    } catch (const Error &e) {
        progress.finish();
        ctx.out.flush();
        ctx.err << "orven-cli demo: " << e.message() << "\n";
        return ExitFailure;
    }
    progress.finish();

    ctx.out << (s.replaced ? "Demo installation replaced (" : "Demo installation created (") << demo::sizeName(s.size)
            << ")\n";
    ctx.out << "  zunt.ini  " << QDir::toNativeSeparators(s.iniPath) << "\n"
            << "  database  " << QDir::toNativeSeparators(s.databasePath) << "\n"
            << "  TABDEF    " << QDir::toNativeSeparators(s.tabdefFolder) << "\n"
            << "rows:\n";
    int width = 0;
    for (auto it = s.contents.rows.cbegin(); it != s.contents.rows.cend(); ++it)
        width = std::max<int>(width, int(it.key().size()));
    for (auto it = s.contents.rows.cbegin(); it != s.contents.rows.cend(); ++it)
        ctx.out << "  " << it.key().leftJustified(width) << "  " << QString::number(it.value()).rightJustified(9) << "\n";
    ctx.out << "  " << QStringLiteral("total").leftJustified(width) << "  "
            << QString::number(s.contents.total()).rightJustified(9) << "\n";
    ctx.out << "time: " << QString::number(s.elapsedMs / 1000.0, 'f', 1) << " s\n";
    ctx.out << "Use it with: orven-cli --config-dir " << QDir::toNativeSeparators(s.folder) << " info\n";
    return ExitOk;
}

} // namespace orven::cli
