#pragma once

#include <QString>

#include <atomic>

namespace orven::generation {

// The parameters of one run, set by the generation window or the command
// line before the walk and read by every section.
struct RunParameters {
    QString targetFolder;  // the capture file is written as targetFolder + "lrfcapturacontas.xml"
    int bimester = 1;      // 1..6
    QString firstMonth;    // "01".."11"
    QString secondMonth;   // "02".."12"
    QString exerciseYear;  // MEXER of CADCLI, e.g. "2008"
    int entity = 0;        // 0: the consolidated whole
    QString periodEndDate; // working field: "dd.mm.yyyy" set before each query that needs it

    static RunParameters forBimester(int bimester, const QString &exerciseYear, int entity,
                                     const QString &targetFolder);
};

// The flag through which the user asks a running generation to stop. The
// main window owns it; the generation window sets it; the walk polls it.
class CancelFlag {
public:
    bool isSet() const { return m_value.load(std::memory_order_relaxed) != 0; }
    void set() { m_value.store(1, std::memory_order_relaxed); }
    void clear() { m_value.store(0, std::memory_order_relaxed); }

private:
    std::atomic<unsigned char> m_value{0};
};

// Thrown by a poll that finds the cancel flag set; the walk ends without writing.
struct RunCancelled {};

} // namespace orven::generation
