#pragma once

#include <QString>

namespace orven {

// Every modal message of the system goes through one service, so that the
// windows show boxes, the command line prints, and tests answer and record.
// Captions are the system's own: "Erro", "Atenção", "OK".
class MessageService {
public:
    enum class Icon { None, Information, Warning, Error };

    virtual ~MessageService() = default;
    // A message with an OK button.
    virtual void show(const QString &text, const QString &caption, Icon icon) = 0;
    // A question with Yes and No; No is the default answer. True means Yes.
    virtual bool ask(const QString &text, const QString &caption, Icon icon = Icon::None) = 0;

    void error(const QString &text) { show(text, QStringLiteral("Erro"), Icon::Error); }
    void warning(const QString &text) { show(text, QStringLiteral("Atenção"), Icon::Warning); }
    void information(const QString &text, const QString &caption = QStringLiteral("OK"))
    {
        show(text, caption, Icon::Information);
    }

    // The service in force for the process (set by the program's entry, or by a test).
    static MessageService &instance();
    static void setInstance(MessageService *service);
};

} // namespace orven
