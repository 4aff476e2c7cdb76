#include "common/Screenshots.h"

#include "common/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

namespace orven::ui {

void renderToPng(QWidget *widget, const QString &path)
{
    if (!widget)
        throw Error(QStringLiteral("Nenhuma janela para gravar em \"%1\".").arg(path));
    widget->ensurePolished();
    const QPixmap picture = widget->grab();
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()) || picture.isNull() || !picture.save(path, "PNG"))
        throw Error(QStringLiteral("Não foi possível gravar a imagem \"%1\"!!!").arg(path));
}

} // namespace orven::ui
