#pragma once

#include "common/Progress.h"

#include <QElapsedTimer>
#include <QTextStream>

namespace orven::cli {

// A progress bar on stderr, redrawn at most ten times a second, when stderr
// is a terminal; otherwise silent apart from the status of level 0.
// Level 0 is the bar; deeper levels only refine it.
class TerminalProgress final : public Progress {
public:
    explicit TerminalProgress(QTextStream &err);
    ~TerminalProgress() override;

    void setMaximum(qint64 maximum, int level = 0) override;
    void setPosition(qint64 position, int level = 0) override;
    void advance(qint64 steps = 1, int level = 0) override;
    void setStatus(const QString &text, int level = 0) override;
    // Clears the bar's line.
    void finish();

    static bool stderrIsTerminal();

private:
    void draw(bool force);

    QTextStream &m_err;
    bool m_tty;
    qint64 m_max[4] = {0, 0, 0, 0};
    qint64 m_pos[4] = {0, 0, 0, 0};
    QString m_status;
    QElapsedTimer m_clock;
    bool m_drawn = false;
};

} // namespace orven::cli
