#include "packet/DataPacket.h"

#include "common/Error.h"
#include "common/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <cmath>
#include <cstring>
#include <limits>

namespace orven::packet {

namespace {

// ---------------------------------------------------------------------------
// Names and small helpers

bool sameName(const char *a, const char *b) { return qstricmp(a, b) == 0; }

pugi::xml_node childElement(pugi::xml_node parent, const char *name)
{
    for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element && sameName(n.name(), name))
            return n;
    }
    return {};
}

pugi::xml_attribute attributeOf(pugi::xml_node node, const char *name)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        if (sameName(a.name(), name))
            return a;
    }
    return {};
}

// The parser turns every character reference into UTF-8, a surrogate half too
// (wide text of the platform writes characters beyond the basic plane as two
// references). Decode such halves back into UTF-16 code units so that a pair
// forms its character again.
QString fromXml(const char *s)
{
    const size_t n = std::strlen(s);
    if (n == 0)
        return QString(QLatin1String(""));
    if (!std::memchr(s, 0xED, n))
        return QString::fromUtf8(s, qsizetype(n));
    QString out;
    out.reserve(qsizetype(n));
    const auto *p = reinterpret_cast<const unsigned char *>(s);
    const auto *end = p + n;
    while (p < end) {
        const unsigned char b = *p;
        char32_t cp = 0xFFFD;
        int len = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0 && p + 1 < end) {
            cp = ((b & 0x1F) << 6) | (p[1] & 0x3F);
            len = 2;
        } else if ((b & 0xF0) == 0xE0 && p + 2 < end) {
            cp = ((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            len = 3;
        } else if ((b & 0xF8) == 0xF0 && p + 3 < end) {
            cp = ((b & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            len = 4;
        }
        if (cp > 0xFFFF) {
            out.append(QChar::highSurrogate(cp));
            out.append(QChar::lowSurrogate(cp));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        p += len;
    }
    return out;
}

QString typeLower(const Field &f) { return f.type.toLower(); }

bool isTextSubtype(const QString &subtype)
{
    const QString s = subtype.toLower();
    return s == u"text" || s == u"widetext" || s == u"memo" || s == u"fmtmemo" || s == u"widememo";
}

// Integer types whose values fit an int; the others are held as qlonglong.
bool isSmallInteger(const Field &f)
{
    const QString t = typeLower(f);
    return t == u"i1" || t == u"i2" || t == u"i4" || t == u"ui1" || t == u"ui2";
}

bool isWide(const Field &f) { return typeLower(f) == u"string.uni"; }

bool flagValue(const char *s)
{
    const char c = s[0];
    return c == 'T' || c == 't' || c == 'Y' || c == 'y' || c == '1';
}

// ---------------------------------------------------------------------------
// Values: text of the file -> typed value

bool parseDouble(const QString &text, double &out)
{
    bool ok = false;
    out = text.toDouble(&ok);
    if (ok)
        return true;
    const QString upper = text.toUpper();
    if (upper == u"INF" || upper == u"+INF" || upper == u"INFINITY") {
        out = std::numeric_limits<double>::infinity();
        return true;
    }
    if (upper == u"-INF" || upper == u"-INFINITY") {
        out = -std::numeric_limits<double>::infinity();
        return true;
    }
    if (upper == u"NAN") {
        out = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    // Some writers use the comma of their locale.
    if (text.contains(u',') && !text.contains(u'.')) {
        QString t = text;
        t.replace(u',', u'.');
        out = t.toDouble(&ok);
        return ok;
    }
    return false;
}

bool parseDate(const QString &text, QDate &out)
{
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    static const QRegularExpression ymd(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    static const QRegularExpression dmy(QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{4})$"));
    QRegularExpressionMatch m = compact.match(text);
    if (m.hasMatch() && text == u"00000000") {
        out = QDate(); // some writers put zeros for an empty date
        return true;
    }
    if (!m.hasMatch())
        m = ymd.match(text);
    if (m.hasMatch()) {
        out = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return out.isValid();
    }
    m = dmy.match(text);
    if (m.hasMatch()) {
        out = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        return out.isValid();
    }
    return false;
}

// HH:MM:SSmmm (seconds x 1000 + milliseconds), also HH:MM:SS, HH:MM:SS.zzz and HH:MM.
bool parseTime(const QString &text, QTime &out)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,5})(?:[.,](\\d{1,3}))?)?$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return false;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    int s = 0, ms = 0;
    const QString sec = m.captured(3);
    if (sec.size() > 2) {
        if (m.hasCaptured(4))
            return false;
        const int v = sec.toInt();
        s = v / 1000;
        ms = v % 1000;
    } else if (!sec.isEmpty()) {
        s = sec.toInt();
        if (m.hasCaptured(4)) {
            QString frac = m.captured(4);
            while (frac.size() < 3)
                frac.append(u'0');
            ms = frac.toInt();
        }
    }
    out = QTime(h, min, s, ms);
    return out.isValid();
}

bool parseDateTime(const QString &text, QDateTime &out)
{
    qsizetype sep = text.indexOf(u'T');
    if (sep < 0)
        sep = text.indexOf(u't');
    if (sep < 0)
        sep = text.indexOf(u' ');
    QDate date;
    QTime time(0, 0);
    if (!parseDate(sep < 0 ? text : text.left(sep), date))
        return false;
    if (sep >= 0) {
        const QString t = text.mid(sep + 1).trimmed();
        if (!t.isEmpty() && !parseTime(t, time))
            return false;
    }
    // Wall-clock values: no time zone, so that no daylight-saving gap moves them.
    out = date.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
    return true;
}

bool parseBlob(const QString &text, QByteArray &out)
{
    const QByteArray latin = text.toLatin1();
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]*$"));
    if (latin.size() % 2 == 0 && hex.match(text).hasMatch()) {
        out = QByteArray::fromHex(latin);
        return true;
    }
    const auto decoded = QByteArray::fromBase64Encoding(latin, QByteArray::AbortOnBase64DecodingErrors);
    if (decoded) {
        out = *decoded;
        return true;
    }
    return false;
}

// Turns the text of an attribute into the value of a field. Empty text is an
// empty string for text fields and NULL for the others.
bool parseValue(const Field &field, FieldKind kind, const QString &raw, QVariant &out)
{
    if (kind == FieldKind::Text) {
        out = raw;
        return true;
    }
    const QString text = raw.trimmed();
    if (text.isEmpty()) {
        out = QVariant();
        return true;
    }
    switch (kind) {
    case FieldKind::Integer: {
        bool ok = false;
        qlonglong v = text.toLongLong(&ok);
        if (!ok) {
            double d = 0;
            if (!parseDouble(text, d) || d != std::floor(d) || std::fabs(d) > 9.2e18)
                return false;
            v = qlonglong(d);
        }
        if (isSmallInteger(field) && v >= std::numeric_limits<int>::min()
            && v <= std::numeric_limits<int>::max())
            out = int(v);
        else
            out = v;
        return true;
    }
    case FieldKind::Float:
    case FieldKind::Fixed: {
        double d = 0;
        if (!parseDouble(text, d))
            return false;
        out = d;
        return true;
    }
    case FieldKind::Boolean: {
        const QChar c = text.at(0).toUpper();
        out = (c == u'T' || c == u'Y' || c == u'1');
        return true;
    }
    case FieldKind::Date: {
        QDate d;
        if (!parseDate(text, d)) {
            QDateTime dt; // a date-time where a date was expected: keep the date
            if (!parseDateTime(text, dt))
                return false;
            d = dt.date();
        }
        out = d.isValid() ? QVariant(d) : QVariant();
        return true;
    }
    case FieldKind::Time: {
        QTime t;
        if (!parseTime(text, t))
            return false;
        out = t;
        return true;
    }
    case FieldKind::DateTime: {
        QDateTime dt;
        if (!parseDateTime(text, dt))
            return false;
        out = dt.isValid() ? QVariant(dt) : QVariant();
        return true;
    }
    case FieldKind::Blob: {
        QByteArray b;
        if (!parseBlob(text, b))
            return false;
        out = b;
        return true;
    }
    case FieldKind::Text:
    case FieldKind::Nested:
        break;
    }
    out = QVariant();
    return true;
}

// ---------------------------------------------------------------------------
// Values: typed value -> text of the file

QString formatDouble(double d)
{
    if (std::isnan(d))
        return QStringLiteral("NAN");
    if (std::isinf(d))
        return d > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (d == 0)
        return QStringLiteral("0");
    // The shortest text that reads back as the same number, within the
    // platform's 16 significant digits.
    const QString shortest = QString::number(d, 'g', QLocale::FloatingPointShortest);
    int digits = 0;
    for (const QChar c : shortest) {
        if (c == u'e' || c == u'E')
            break;
        if (c.isDigit())
            ++digits;
    }
    if (digits <= 16)
        return shortest;
    return QString::number(d, 'g', 16);
}

QString formatFixed(double d)
{
    if (!std::isfinite(d))
        return formatDouble(d);
    if (d == 0)
        return QStringLiteral("0");
    const int exp10 = int(std::floor(std::log10(std::fabs(d))));
    QString s = QString::number(d, 'f', qMax(0, 15 - exp10));
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    return s;
}

QString formatTime(const QTime &t)
{
    return QStringLiteral("%1:%2:%3")
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second() * 1000 + t.msec(), 5, 10, QLatin1Char('0'));
}

QString formatDate(const QDate &d) { return d.toString(QStringLiteral("yyyyMMdd")); }

bool isNullValue(const QVariant &v) { return !v.isValid() || v.isNull(); }

bool isStringVariant(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

QString fieldLabel(const Field &f) { return f.fieldName.isEmpty() ? f.name : f.fieldName; }

[[noreturn]] void badValue(const Field &f, const QVariant &v)
{
    throw Error(QStringLiteral("O valor \"%1\" não é válido para o campo \"%2\" (tipo %3).")
                    .arg(v.toString(), fieldLabel(f), f.type));
}

// Brings a value to the type of its field; throws on a value that cannot be.
QVariant coerce(const Field &field, const QVariant &value)
{
    if (isNullValue(value))
        return QVariant();
    const FieldKind kind = field.kind();
    if (kind == FieldKind::Text)
        return value.toString();
    if (kind == FieldKind::Nested)
        throw Error(QStringLiteral("O campo \"%1\" é um conjunto de dados aninhado e não recebe valor.")
                        .arg(fieldLabel(field)));
    if (isStringVariant(value) && kind != FieldKind::Blob) {
        QVariant out;
        if (!parseValue(field, kind, value.toString(), out))
            badValue(field, value);
        return out;
    }
    bool ok = true;
    switch (kind) {
    case FieldKind::Integer: {
        qlonglong v = 0;
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
            const double d = value.toDouble();
            if (d != std::floor(d) || std::fabs(d) > 9.2e18)
                badValue(field, value);
            v = qlonglong(d);
        } else {
            v = value.toLongLong(&ok);
        }
        if (!ok)
            badValue(field, value);
        if (isSmallInteger(field) && v >= std::numeric_limits<int>::min()
            && v <= std::numeric_limits<int>::max())
            return int(v);
        return v;
    }
    case FieldKind::Float:
    case FieldKind::Fixed: {
        const double d = value.toDouble(&ok);
        if (!ok)
            badValue(field, value);
        return d;
    }
    case FieldKind::Boolean:
        return value.toBool();
    case FieldKind::Date: {
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date();
        const QDate d = value.toDate();
        if (!d.isValid())
            badValue(field, value);
        return d;
    }
    case FieldKind::Time: {
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().time();
        const QTime t = value.toTime();
        if (!t.isValid())
            badValue(field, value);
        return t;
    }
    case FieldKind::DateTime: {
        if (value.typeId() == QMetaType::QDate)
            return QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            badValue(field, value);
        return dt;
    }
    case FieldKind::Blob:
        return value.toByteArray();
    case FieldKind::Text:
    case FieldKind::Nested:
        break;
    }
    return value;
}

// The text of a value as the file holds it; false for NULL.
bool formatValue(const Field &field, const QVariant &raw, QString &out)
{
    if (isNullValue(raw))
        return false;
    const FieldKind kind = field.kind();
    if (kind == FieldKind::Text) {
        out = raw.toString();
        return true;
    }
    if (kind == FieldKind::Nested)
        return false;
    const QVariant v = coerce(field, raw);
    if (isNullValue(v))
        return false;
    switch (kind) {
    case FieldKind::Integer:
        out = QString::number(v.toLongLong());
        return true;
    case FieldKind::Float:
        out = formatDouble(v.toDouble());
        return true;
    case FieldKind::Fixed:
        out = formatFixed(v.toDouble());
        return true;
    case FieldKind::Boolean:
        out = v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        return true;
    case FieldKind::Date: {
        const QDate d = v.toDate();
        if (!d.isValid())
            return false;
        out = formatDate(d);
        return true;
    }
    case FieldKind::Time: {
        const QTime t = v.toTime();
        if (!t.isValid())
            return false;
        out = formatTime(t);
        return true;
    }
    case FieldKind::DateTime: {
        const QDateTime dt = v.toDateTime();
        if (!dt.isValid())
            return false;
        out = formatDate(dt.date());
        if (dt.time() != QTime(0, 0))
            out += u'T' + formatTime(dt.time());
        return true;
    }
    case FieldKind::Blob:
        out = QString::fromLatin1(v.toByteArray().toHex().toUpper());
        return true;
    case FieldKind::Text:
    case FieldKind::Nested:
        break;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Reading

// Decides the encoding of the file and returns its text.
QString decodeDocument(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return text::decodeUtf8OrWindows1252(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder dec(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                        : QStringDecoder::Utf16BE);
        const QString s = dec.decode(bytes.mid(2));
        if (!dec.hasError())
            return s;
    }
    // The encoding named by the declaration, if any.
    const QByteArray head = bytes.left(512);
    const qsizetype start = head.indexOf("<?");
    const qsizetype close = head.indexOf("?>");
    if (start >= 0 && close > start) {
        const QString decl = QString::fromLatin1(head.mid(start, close - start));
        static const QRegularExpression enc(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']*)[\"']"),
                                            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = enc.match(decl);
        if (m.hasMatch()) {
            const QString name = m.captured(1).trimmed().toLower();
            if (name == u"utf-8" || name == u"utf8")
                return text::decodeUtf8OrWindows1252(bytes);
        }
    }
    return text::fromWindows1252(bytes);
}

QString statusText(pugi::xml_parse_status status)
{
    switch (status) {
    case pugi::status_out_of_memory:
        return QStringLiteral("memória insuficiente");
    case pugi::status_unrecognized_tag:
        return QStringLiteral("marcação não reconhecida");
    case pugi::status_bad_pi:
        return QStringLiteral("declaração ou instrução de processamento inválida");
    case pugi::status_bad_comment:
        return QStringLiteral("comentário inválido");
    case pugi::status_bad_cdata:
        return QStringLiteral("seção CDATA inválida");
    case pugi::status_bad_doctype:
        return QStringLiteral("declaração DOCTYPE inválida");
    case pugi::status_bad_pcdata:
        return QStringLiteral("texto inválido");
    case pugi::status_bad_start_element:
        return QStringLiteral("marca de abertura inválida");
    case pugi::status_bad_attribute:
        return QStringLiteral("atributo inválido ou sem aspas de fechamento");
    case pugi::status_bad_end_element:
        return QStringLiteral("marca de fechamento inválida");
    case pugi::status_end_element_mismatch:
        return QStringLiteral("marca de fechamento não corresponde à de abertura");
    case pugi::status_no_document_element:
        return QStringLiteral("nenhum elemento encontrado");
    default:
        return QStringLiteral("erro de sintaxe XML");
    }
}

// Field lookup of one level, built once from its metadata.
struct Level {
    QList<FieldKind> kinds;
    QHash<QByteArray, int> exact;  // attribute name (UTF-8) -> field
    QHash<QByteArray, int> folded; // lower-case name -> field
    std::map<int, std::unique_ptr<Level>> nested;
    bool hasRowStateField = false;

    explicit Level(const Table &meta)
    {
        for (int i = 0; i < meta.fields.size(); ++i) {
            const Field &f = meta.fields[i];
            kinds.append(f.kind());
            const QByteArray utf8 = f.name.toUtf8();
            exact.insert(utf8, i);
            folded.insert(f.name.toLower().toUtf8(), i);
            if (f.name.compare(u"RowState", Qt::CaseInsensitive) == 0)
                hasRowStateField = true;
            if (kinds.last() == FieldKind::Nested)
                nested.emplace(i, std::make_unique<Level>(f.nested ? *f.nested : Table()));
        }
    }

    int find(const char *name) const
    {
        const QByteArray key = QByteArray::fromRawData(name, qsizetype(std::strlen(name)));
        auto it = exact.constFind(key);
        if (it != exact.constEnd())
            return it.value();
        auto jt = folded.constFind(QString::fromUtf8(key).toLower().toUtf8());
        return jt != folded.constEnd() ? jt.value() : -1;
    }
};

class Reader {
public:
    static constexpr int kMaxDepth = 64;

    Reader(QString source, QByteArray utf8) : m_source(std::move(source)), m_buffer(std::move(utf8)) {}

    DataPacket read()
    {
        pugi::xml_document doc;
        const unsigned options = pugi::parse_default;
        const pugi::xml_parse_result result =
            doc.load_buffer(m_buffer.constData(), size_t(m_buffer.size()), options, pugi::encoding_utf8);
        if (!result) {
            if (result.status == pugi::status_no_document_element) {
                if (m_buffer.trimmed().isEmpty())
                    fail(QStringLiteral("o arquivo está vazio"));
                fail(QStringLiteral("não é um arquivo XML (nenhum elemento encontrado)"));
            }
            if (atEnd(result.offset))
                fail(QStringLiteral("o arquivo está incompleto: termina antes do fim do documento"),
                     result.offset);
            fail(QStringLiteral("XML mal formado: %1").arg(statusText(result.status)), result.offset);
        }
        const pugi::xml_node root = doc.document_element();
        if (!root)
            fail(QStringLiteral("nenhum elemento XML encontrado"));
        if (!sameName(root.name(), "DATAPACKET"))
            fail(QStringLiteral("não é um pacote de dados (o elemento principal é <%1>, e não <DATAPACKET>)")
                     .arg(fromXml(root.name())),
                 root.offset_debug());
        const pugi::xml_node metadata = childElement(root, "METADATA");
        if (!metadata)
            fail(QStringLiteral("pacote de dados sem o elemento METADATA"), root.offset_debug());
        if (!childElement(metadata, "FIELDS"))
            fail(QStringLiteral("pacote de dados sem a lista de campos (FIELDS)"), metadata.offset_debug());

        DataPacket packet;
        packet.root = readMetadata(metadata);
        const Level level(packet.root);
        if (const pugi::xml_node rowData = childElement(root, "ROWDATA"))
            readRows(rowData, packet.root, level);
        return packet;
    }

private:
    QString m_source;
    QByteArray m_buffer;

    bool atEnd(ptrdiff_t offset) const
    {
        qsizetype last = m_buffer.size();
        while (last > 0 && std::isspace(static_cast<unsigned char>(m_buffer.at(last - 1))))
            --last;
        return offset >= last - 1;
    }

    [[noreturn]] void fail(const QString &what, ptrdiff_t offset = -1) const
    {
        QString where;
        if (offset >= 0 && offset <= m_buffer.size()) {
            int line = 1;
            qsizetype lineStart = 0;
            for (qsizetype i = 0; i < offset; ++i) {
                if (m_buffer.at(i) == '\n') {
                    ++line;
                    lineStart = i + 1;
                }
            }
            int column = 1;
            for (qsizetype i = lineStart; i < offset; ++i) {
                if ((static_cast<unsigned char>(m_buffer.at(i)) & 0xC0) != 0x80)
                    ++column;
            }
            where = QStringLiteral(" (linha %1, coluna %2)").arg(line).arg(column);
        }
        throw Error(QStringLiteral("Arquivo \"%1\" inválido: %2%3.").arg(m_source, what, where));
    }

    Table readMetadata(pugi::xml_node owner, int depth = 0)
    {
        if (depth > kMaxDepth)
            fail(QStringLiteral("conjuntos aninhados em mais de %1 níveis").arg(kMaxDepth), owner.offset_debug());
        Table table;
        if (const pugi::xml_node fields = childElement(owner, "FIELDS")) {
            for (pugi::xml_node n = fields.first_child(); n; n = n.next_sibling()) {
                if (n.type() != pugi::node_element || !sameName(n.name(), "FIELD"))
                    continue;
                Field f = readField(n, depth);
                if (f.linkField)
                    continue; // link to the master of a level with pending changes
                table.fields.append(std::move(f));
            }
        }
        if (const pugi::xml_node params = childElement(owner, "PARAMS"))
            table.params = readParams(params);
        return table;
    }

    Field readField(pugi::xml_node n, int depth)
    {
        Field f;
        f.name = fromXml(attributeOf(n, "attrname").value());
        f.fieldName = fromXml(attributeOf(n, "fieldname").value());
        if (f.name.isEmpty())
            f.name = f.fieldName;
        if (f.name.isEmpty())
            fail(QStringLiteral("campo sem nome (FIELD sem attrname)"), n.offset_debug());
        if (f.fieldName == f.name)
            f.fieldName.clear();
        f.type = fromXml(attributeOf(n, "fieldtype").value());
        if (f.type.isEmpty())
            f.type = QStringLiteral("string");
        f.subtype = fromXml(attributeOf(n, "SUBTYPE").value());
        f.width = attributeOf(n, "WIDTH").as_int(0);
        f.decimals = attributeOf(n, "DECIMALS").as_int(0);
        f.readOnly = flagValue(attributeOf(n, "readonly").value());
        f.required = flagValue(attributeOf(n, "required").value());
        f.hidden = flagValue(attributeOf(n, "hidden").value());
        f.linkField = flagValue(attributeOf(n, "linkfield").value());
        if (f.kind() == FieldKind::Nested)
            f.nested = std::make_shared<Table>(readMetadata(n, depth + 1));
        return f;
    }

    Params readParams(pugi::xml_node n)
    {
        Params p;
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
            p.attributes.append({fromXml(a.name()), fromXml(a.value())});
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element || !sameName(c.name(), "PARAM"))
                continue;
            Params::Param param;
            param.name = fromXml(attributeOf(c, "Name").value());
            param.value = fromXml(attributeOf(c, "Value").value());
            param.type = fromXml(attributeOf(c, "Type").value());
            param.roundtrip = flagValue(attributeOf(c, "Roundtrip").value());
            p.params.append(param);
        }
        return p;
    }

    void readRows(pugi::xml_node container, Table &table, const Level &level)
    {
        const QList<Field> &fields = table.fields;
        for (pugi::xml_node n = container.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element)
                continue;
            Row row = table.newRow();
            for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
                const int index = level.find(a.name());
                if (index < 0) {
                    if (!level.hasRowStateField && sameName(a.name(), "RowState")) {
                        bool ok = false;
                        row.rowState = QString::fromUtf8(a.value()).trimmed().toInt(&ok);
                        if (!ok && *a.value())
                            fail(QStringLiteral("RowState inválido \"%1\"").arg(fromXml(a.value())),
                                 n.offset_debug());
                    }
                    continue; // a column the metadata does not declare (link fields)
                }
                const FieldKind kind = level.kinds[index];
                if (kind == FieldKind::Nested)
                    continue;
                QVariant value;
                const QString text = fromXml(a.value());
                if (!parseValue(fields[index], kind, text, value))
                    fail(QStringLiteral("valor \"%1\" inválido para o campo \"%2\" (tipo %3)")
                             .arg(text, fieldLabel(fields[index]), fields[index].type),
                         n.offset_debug());
                row.values[index] = value;
            }
            if (!level.nested.empty()) {
                for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
                    if (c.type() != pugi::node_element)
                        continue;
                    const int index = level.find(c.name());
                    if (index < 0 || level.kinds[index] != FieldKind::Nested)
                        continue;
                    std::shared_ptr<Table> &child = row.children[index];
                    if (!child)
                        child = std::make_shared<Table>();
                    readRows(c, *child, *level.nested.at(index));
                }
            }
            table.rows.append(std::move(row));
        }
    }
};

// ---------------------------------------------------------------------------
// Writing

class Writer {
public:
    QByteArray out;

    void text(const char *s) { out.append(s); }

    void name(const QString &s)
    {
        // Names are written like values, minus the escapes a name cannot hold anyway.
        escaped(s, false);
    }

    // Escapes a value; wide text writes every character above 0x7F as a reference.
    void escaped(const QString &s, bool wide)
    {
        const qsizetype n = s.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = s.at(i).unicode();
            switch (u) {
            case u'&': out.append("&amp;"); continue;
            case u'<': out.append("&lt;"); continue;
            case u'>': out.append("&gt;"); continue;
            case u'"': out.append("&quot;"); continue;
            case u'\'': out.append("&apos;"); continue;
            case u'\\': out.append("&#092;"); continue;
            default: break;
            }
            if (u < 0x20) {
                reference(u, 3);
                continue;
            }
            if (u < 0x80) {
                out.append(char(u));
                continue;
            }
            char32_t cp = u;
            if (QChar::isHighSurrogate(u) && i + 1 < n && s.at(i + 1).isLowSurrogate()) {
                cp = QChar::surrogateToUcs4(u, s.at(i + 1).unicode());
                ++i;
            }
            if (!wide && cp <= 0xFFFF && text::isWindows1252(QChar(char16_t(cp)))) {
                out.append(text::toWindows1252(QString(QChar(char16_t(cp)))));
                continue;
            }
            reference(cp, 0);
        }
    }

    void reference(char32_t cp, int digits)
    {
        out.append("&#");
        QByteArray num = QByteArray::number(quint32(cp));
        while (num.size() < digits)
            num.prepend('0');
        out.append(num);
        out.append(';');
    }

    void attribute(const char *attrName, const QString &value)
    {
        out.append(' ');
        out.append(attrName);
        out.append("=\"");
        escaped(value, false);
        out.append('"');
    }

    void metadata(const Table &table)
    {
        text("<FIELDS>");
        for (const Field &f : table.fields)
            field(f);
        text("</FIELDS>");
        params(table.params);
    }

    void field(const Field &f)
    {
        text("<FIELD");
        if (!f.fieldName.isEmpty() && f.fieldName != f.name)
            attribute("fieldname", f.fieldName);
        attribute("attrname", f.name);
        attribute("fieldtype", f.type);
        if (f.readOnly)
            attribute("readonly", QStringLiteral("true"));
        if (f.required)
            attribute("required", QStringLiteral("true"));
        if (f.hidden)
            attribute("hidden", QStringLiteral("true"));
        if (f.linkField)
            attribute("linkfield", QStringLiteral("true"));
        if (!f.subtype.isEmpty())
            attribute("SUBTYPE", f.subtype);
        if (f.decimals != 0 || f.kind() == FieldKind::Fixed)
            attribute("DECIMALS", QString::number(f.decimals));
        if (f.width > 0)
            attribute("WIDTH", QString::number(f.width));
        if (f.kind() == FieldKind::Nested) {
            text(">");
            metadata(f.nested ? *f.nested : Table());
            text("</FIELD>");
        } else {
            text("/>");
        }
    }

    void params(const Params &p)
    {
        text("<PARAMS");
        for (const auto &[attrName, value] : p.attributes) {
            out.append(' ');
            name(attrName);
            out.append("=\"");
            escaped(value, false);
            out.append('"');
        }
        if (p.params.isEmpty()) {
            text("/>");
            return;
        }
        text(">");
        for (const Params::Param &param : p.params) {
            text("<PARAM");
            attribute("Name", param.name);
            attribute("Value", param.value);
            if (!param.type.isEmpty())
                attribute("Type", param.type);
            if (param.roundtrip)
                attribute("Roundtrip", QStringLiteral("True"));
            text("/>");
        }
        text("</PARAMS>");
    }

    void rows(const Table &table, const QByteArray &rowTag)
    {
        const QList<Field> &fields = table.fields;
        for (const Row &row : table.rows) {
            out.append('<');
            out.append(rowTag);
            if (row.rowState != 0)
                attribute("RowState", QString::number(row.rowState));
            bool hasChildren = false;
            for (int i = 0; i < fields.size(); ++i) {
                const Field &f = fields[i];
                if (f.kind() == FieldKind::Nested) {
                    auto it = row.children.find(i);
                    if (it != row.children.end() && it->second && !it->second->rows.isEmpty())
                        hasChildren = true;
                    continue;
                }
                QString value;
                if (!formatValue(f, row.values.value(i), value))
                    continue;
                out.append(' ');
                name(f.name);
                out.append("=\"");
                escaped(value, isWide(f));
                out.append('"');
            }
            if (!hasChildren) {
                text("/>");
                continue;
            }
            text(">");
            for (int i = 0; i < fields.size(); ++i) {
                if (fields[i].kind() != FieldKind::Nested)
                    continue;
                auto it = row.children.find(i);
                if (it == row.children.end() || !it->second || it->second->rows.isEmpty())
                    continue;
                Writer nameWriter;
                nameWriter.name(fields[i].name);
                const QByteArray container = nameWriter.out;
                out.append('<');
                out.append(container);
                out.append('>');
                const Table &child = *it->second;
                if (child.fields.isEmpty() && fields[i].nested) {
                    Table withMeta = fields[i].nested->metadata();
                    withMeta.rows = child.rows;
                    rows(withMeta, "ROW" + container);
                } else {
                    rows(child, "ROW" + container);
                }
                out.append("</");
                out.append(container);
                out.append('>');
            }
            out.append("</");
            out.append(rowTag);
            out.append('>');
        }
    }
};

void removeChangeLog(Params &params)
{
    params.attributes.removeIf([](const std::pair<QString, QString> &a) {
        return a.first.compare(u"CHANGE_LOG", Qt::CaseInsensitive) == 0;
    });
}

// Metadata without change log, nested levels included.
Table mergedMetadata(const Table &table)
{
    Table t = table.metadata();
    removeChangeLog(t.params);
    for (Field &f : t.fields) {
        if (f.nested)
            f.nested = std::make_shared<Table>(mergedMetadata(*f.nested));
    }
    return t;
}

} // namespace

// ---------------------------------------------------------------------------
// ChildTables

ChildTables::ChildTables(const ChildTables &other) : Base()
{
    for (const auto &[key, table] : other)
        emplace(key, table ? std::make_shared<Table>(*table) : nullptr);
}

ChildTables::ChildTables(const Base &other) : Base()
{
    for (const auto &[key, table] : other)
        emplace(key, table ? std::make_shared<Table>(*table) : nullptr);
}

ChildTables &ChildTables::operator=(const ChildTables &other)
{
    if (this != &other)
        *this = ChildTables(other);
    return *this;
}

ChildTables &ChildTables::operator=(const Base &other)
{
    if (this != &other)
        *this = ChildTables(other);
    return *this;
}

// ---------------------------------------------------------------------------
// Field

FieldKind Field::kind() const
{
    const QString t = type.toLower();
    if (t == u"string" || t == u"string.uni")
        return FieldKind::Text;
    if (t == u"i1" || t == u"i2" || t == u"i4" || t == u"i8" || t == u"ui1" || t == u"ui2"
        || t == u"ui4" || t == u"ui8")
        return FieldKind::Integer;
    if (t == u"r4" || t == u"r8" || t == u"r10")
        return FieldKind::Float;
    if (t == u"fixed" || t == u"fixedfmt")
        return FieldKind::Fixed;
    if (t == u"boolean")
        return FieldKind::Boolean;
    if (t == u"date")
        return FieldKind::Date;
    if (t == u"time")
        return FieldKind::Time;
    if (t == u"datetime" || t == u"sqldatetime")
        return FieldKind::DateTime;
    if (t == u"bin.hex")
        return isTextSubtype(subtype) ? FieldKind::Text : FieldKind::Blob;
    if (t == u"nested")
        return FieldKind::Nested;
    return FieldKind::Text; // unknown types are kept as text
}

Field Field::text(const QString &name, int width, bool required)
{
    Field f;
    f.name = name;
    f.type = QStringLiteral("string");
    f.width = width;
    f.required = required;
    return f;
}

Field Field::integer(const QString &name, bool required)
{
    Field f;
    f.name = name;
    f.type = QStringLiteral("i4");
    f.required = required;
    return f;
}

Field Field::floating(const QString &name)
{
    Field f;
    f.name = name;
    f.type = QStringLiteral("r8");
    return f;
}

Field Field::nestedTable(const QString &name, const Table &metadata)
{
    Field f;
    f.name = name;
    f.type = QStringLiteral("nested");
    f.nested = std::make_shared<Table>(metadata.metadata());
    return f;
}

// ---------------------------------------------------------------------------
// Params

QString Params::attribute(const QString &name) const
{
    for (const auto &[key, value] : attributes) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QString();
}

void Params::setAttribute(const QString &name, const QString &value)
{
    for (auto &[key, current] : attributes) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            current = value;
            return;
        }
    }
    attributes.append({name, value});
}

// ---------------------------------------------------------------------------
// Table

int Table::indexOf(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Table::value(const Row &row, const QString &name) const
{
    const int i = indexOf(name);
    if (i < 0)
        return QVariant();
    const QVariant v = row.values.value(i);
    return isNullValue(v) ? QVariant() : v;
}

QString Table::text(const Row &row, const QString &name) const
{
    const int i = indexOf(name);
    if (i < 0)
        return QString();
    QString out;
    if (!formatValue(fields[i], row.values.value(i), out))
        return QString();
    return out;
}

void Table::setValue(Row &row, const QString &name, const QVariant &value) const
{
    const int i = indexOf(name);
    if (i < 0)
        throw Error(QStringLiteral("O campo \"%1\" não existe.").arg(name));
    const QVariant v = coerce(fields[i], value);
    if (row.values.size() < fields.size())
        row.values.resize(fields.size());
    row.values[i] = v;
}

const Table &Table::child(const Row &row, const QString &nestedName) const
{
    static const Table empty;
    const int i = indexOf(nestedName);
    if (i < 0 || fields[i].kind() != FieldKind::Nested)
        return empty;
    auto it = row.children.find(i);
    if (it != row.children.end() && it->second)
        return *it->second;
    return fields[i].nested ? *fields[i].nested : empty;
}

Table &Table::child(Row &row, const QString &nestedName)
{
    const int i = indexOf(nestedName);
    if (i < 0 || fields[i].kind() != FieldKind::Nested)
        throw Error(QStringLiteral("O campo \"%1\" não é um conjunto de dados aninhado.").arg(nestedName));
    std::shared_ptr<Table> &child = row.children[i];
    if (!child)
        child = std::make_shared<Table>(fields[i].nested ? fields[i].nested->metadata() : Table());
    return *child;
}

Row Table::newRow() const
{
    Row row;
    row.values.resize(fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].kind() == FieldKind::Nested)
            row.children[i] = std::make_shared<Table>(fields[i].nested ? fields[i].nested->metadata() : Table());
    }
    return row;
}

Row &Table::appendRow()
{
    rows.append(newRow());
    return rows.last();
}

Table Table::metadata() const
{
    Table t;
    t.fields = fields;
    t.params = params;
    return t;
}

Table Table::visible() const
{
    Table t = mergedMetadata(*this);
    for (const Row &row : rows) {
        if (row.rowState & (RowOriginal | RowDeleted | RowUnused))
            continue;
        Row r;
        r.values = row.values;
        for (const auto &[key, child] : row.children) {
            if (child)
                r.children.emplace(key, std::make_shared<Table>(child->visible()));
        }
        t.rows.append(std::move(r));
    }
    return t;
}

// ---------------------------------------------------------------------------
// DataPacket

DataPacket DataPacket::load(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(QStringLiteral("Arquivo \"%1\" não encontrado.").arg(shown));
    if (info.isDir())
        throw Error(QStringLiteral("\"%1\" é uma pasta, e não um arquivo.").arg(shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2.").arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2.").arg(shown, file.errorString()));
    return parse(bytes, shown);
}

DataPacket DataPacket::parse(const QByteArray &bytes, const QString &sourceName)
{
    Reader reader(sourceName, decodeDocument(bytes).toUtf8());
    return reader.read();
}

QByteArray DataPacket::serialize() const
{
    Writer w;
    w.out.reserve(4096);
    w.text("<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA>");
    w.metadata(root);
    w.text("</METADATA><ROWDATA>");
    w.rows(root, "ROW");
    w.text("</ROWDATA></DATAPACKET>");
    return w.out;
}

void DataPacket::save(const QString &path) const
{
    const QString shown = QDir::toNativeSeparators(path);
    QByteArray bytes;
    try {
        bytes = serialize();
    } catch (const Error &e) {
        throw Error(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(shown, e.message()));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2.").arg(shown, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Error(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2.").arg(shown, file.errorString()));
}

} // namespace orven::packet
