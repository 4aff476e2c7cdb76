#pragma once

#include "common/Progress.h"
#include "generation/AmountSource.h"
#include "generation/Run.h"
#include "generation/Section.h"

#include <functional>

namespace orven::catalogue {
struct Catalogue;
}

namespace orven::generation {

// One generation run: walks the catalogue cadastro by cadastro, creating one
// capture element per catalogue row, lets the section of each cadastro fill
// its accounts, and writes lrfcapturacontas.xml into the target folder.
//
// Progress levels: 0 cadastros, 1 opcoes, 2 tipos, 3 contas; the status
// text of each level is the name of its current row.
class Generator {
public:
    enum class Outcome { Written, Cancelled };

    Generator(AmountSource &db, CancelFlag &cancel, Progress &progress)
        : m_db(db), m_cancel(cancel), m_progress(progress)
    {
    }

    // Called after the walk, just before the file is written (the windows
    // return to their idle state there).
    std::function<void()> beforeWrite;

    // Runs on a catalogue file. Throws orven::Error on any failure (catalogue,
    // database, writing); an earlier capture file is then left as it was.
    Outcome run(RunParameters &params, const QString &cataloguePath);
    Outcome run(RunParameters &params, const catalogue::Catalogue &catalogue);

    QString outputPath(const RunParameters &params) const;

    // Queries sent and time spent per cadastro by the last run, in walk order.
    struct CadastroStats {
        QString cadastro;
        qint64 queries = 0;
        qint64 milliseconds = 0;
    };
    const QList<CadastroStats> &stats() const { return m_stats; }

    // Replaces the section selection table (tests).
    void setSectionTable(QList<SectionEntry> table) { m_table = std::move(table); m_ownTable = true; }

private:
    void poll();

    AmountSource &m_db;
    CancelFlag &m_cancel;
    Progress &m_progress;
    QList<SectionEntry> m_table;
    QList<CadastroStats> m_stats;
    bool m_ownTable = false;
};

} // namespace orven::generation
