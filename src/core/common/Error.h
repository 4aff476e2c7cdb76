#pragma once

#include <QString>
#include <exception>

namespace orven {

// The one exception type of the core. Its text is meant for the user: callers
// show it as it stands (windows through the message service, the command line
// on stderr).
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace orven
