#include "MessageBoxService.h"

#include <QMessageBox>

namespace orven::ui {

namespace {

QMessageBox::Icon boxIcon(MessageService::Icon icon)
{
    switch (icon) {
    case MessageService::Icon::Information: return QMessageBox::Information;
    case MessageService::Icon::Warning: return QMessageBox::Warning;
    case MessageService::Icon::Error: return QMessageBox::Critical;
    case MessageService::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The system's texts use a carriage return as line break.
QString boxText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace

void MessageBoxService::show(const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, boxText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool MessageBoxService::ask(const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, boxText(text), QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace orven::ui
