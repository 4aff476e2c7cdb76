#pragma once

#include <QString>

namespace orven {

// Feedback of long work (generation, imports, automatic classification, the
// demo installation). Windows process pending events in advance(); the
// command line draws a bar on stderr. A level lets work with nested loops
// (the generation's four bars) report each loop separately; simple work uses
// level 0 only.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setMaximum(qint64 maximum, int level = 0) = 0;
    virtual void setPosition(qint64 position, int level = 0) = 0;
    virtual void advance(qint64 steps = 1, int level = 0) = 0;
    virtual void setStatus(const QString & /*text*/, int /*level*/ = 0) {}
};

// Progress that reports nowhere.
class NullProgress final : public Progress {
public:
    void setMaximum(qint64, int = 0) override {}
    void setPosition(qint64, int = 0) override {}
    void advance(qint64 = 1, int = 0) override {}
};

} // namespace orven
