#include "common/Messages.h"

#include <QTextStream>
#include <cstdio>

namespace orven {

namespace {

// Until a program installs its own service, messages go to stderr and every
// question is answered with its default, No.
class StderrMessages final : public MessageService {
public:
    void show(const QString &text, const QString &caption, Icon) override
    {
        QTextStream err(stderr);
        err << caption << ": " << QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')) << Qt::endl;
    }
    bool ask(const QString &text, const QString &caption, Icon icon) override
    {
        show(text, caption, icon);
        return false;
    }
};

StderrMessages g_default;
MessageService *g_current = &g_default;

} // namespace

MessageService &MessageService::instance() { return *g_current; }

void MessageService::setInstance(MessageService *service) { g_current = service ? service : &g_default; }

} // namespace orven
