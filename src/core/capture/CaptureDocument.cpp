#include "capture/CaptureDocument.h"

#include "common/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <sstream>

namespace orven::capture {

namespace {

QByteArray utf8(const QString &s) { return s.toUtf8(); }

} // namespace

QString XmlElement::attribute(const char *name) const
{
    return QString::fromUtf8(m_node.attribute(name).value());
}

void XmlElement::setAttribute(const char *name, const QString &value)
{
    pugi::xml_attribute a = m_node.attribute(name);
    if (!a)
        a = m_node.append_attribute(name);
    a.set_value(utf8(value).constData());
}

int XmlElement::count(const char *itemName) const
{
    int n = 0;
    for (pugi::xml_node c = m_node.child(itemName); c; c = c.next_sibling(itemName))
        ++n;
    return n;
}

pugi::xml_node XmlElement::addChild(const char *itemName) { return m_node.append_child(itemName); }

pugi::xml_node XmlElement::insertChild(const char *itemName, int index)
{
    pugi::xml_node at = child(itemName, index);
    return at ? m_node.insert_child_before(itemName, at) : m_node.append_child(itemName);
}

pugi::xml_node XmlElement::child(const char *itemName, int index) const
{
    int i = 0;
    for (pugi::xml_node c = m_node.child(itemName); c; c = c.next_sibling(itemName)) {
        if (i++ == index)
            return c;
    }
    return {};
}

CaptureDocument::CaptureDocument()
{
    pugi::xml_node decl = m_doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "iso-8859-1";
    m_root = m_doc.append_child("sistema");
}

QStringList CaptureDocument::lines() const
{
    std::ostringstream stream;
    m_doc.save(stream, "  ", pugi::format_indent, pugi::encoding_utf8);
    QString text = QString::fromStdString(stream.str());
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    QStringList result = text.split(QLatin1Char('\n'));
    // Only "sistema" declares the court's namespace; drop any empty
    // redeclaration that a child element could carry.
    for (QString &line : result)
        line.remove(QStringLiteral(" xmlns=\"\""), Qt::CaseSensitive);
    return result;
}

QByteArray CaptureDocument::fileBytes() const
{
    QByteArray out;
    const QStringList all = lines();
    for (const QString &line : all) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            const char16_t u = c.unicode();
            if (u < 0x100) {
                out.append(char(u));
            } else if (c.isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) {
                const char32_t code = QChar::surrogateToUcs4(c, line.at(i + 1));
                out.append("&#" + QByteArray::number(quint32(code)) + ';');
                ++i;
            } else {
                out.append("&#" + QByteArray::number(int(u)) + ';');
            }
        }
        out.append("\r\n");
    }
    return out;
}

bool CaptureDocument::write(const QString &path, const std::function<bool()> &cancelled) const
{
    const QByteArray bytes = fileBytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw Error(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, why));
    }
    if (cancelled && cancelled()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        throw Error(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, file.errorString()));
    return true;
}

} // namespace orven::capture
