#pragma once

#include "common/Messages.h"

#include <QList>
#include <QString>

namespace orven::test {

// Message service double: records every message and answers questions from a
// queue of prepared answers (No when the queue is empty). Installs itself
// while it lives.
class RecordingMessages final : public MessageService {
public:
    struct Entry {
        QString text;
        QString caption;
        Icon icon;
        bool question;
    };

    RecordingMessages() { MessageService::setInstance(this); }
    ~RecordingMessages() override { MessageService::setInstance(nullptr); }

    void show(const QString &text, const QString &caption, Icon icon) override
    {
        entries.append({text, caption, icon, false});
    }
    bool ask(const QString &text, const QString &caption, Icon icon) override
    {
        entries.append({text, caption, icon, true});
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList list;
        for (const auto &e : entries)
            list << e.text;
        return list;
    }

    QList<Entry> entries;
    QList<bool> answers;
};

} // namespace orven::test
