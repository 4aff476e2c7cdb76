#include "db/RecordSet.h"

#include "common/Text.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace orven::db {

namespace {

bool isNullValue(const QVariant &v) { return !v.isValid() || v.isNull(); }

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isIntegral(const QVariant &v) { return isNumeric(v) && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float; }

bool isTemporal(const QVariant &v) { return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime; }

// Dates as day numbers from 30/12/1899 with the time as the fraction of the day.
double dayNumber(const QVariant &v)
{
    static const QDate base(1899, 12, 30);
    if (v.typeId() == QMetaType::QDate)
        return double(base.daysTo(v.toDate()));
    const QDateTime dt = v.toDateTime();
    return double(base.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

// Equal values: texts exactly, numbers and dates by value, null only with null.
bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool na = isNullValue(a);
    const bool nb = isNullValue(b);
    if (na || nb)
        return na && nb;
    if (isIntegral(a) && isIntegral(b))
        return a.toLongLong() == b.toLongLong();
    if (isNumeric(a) && isNumeric(b))
        return a.toDouble() == b.toDouble();
    if (isTemporal(a) && isTemporal(b))
        return dayNumber(a) == dayNumber(b);
    if (a.typeId() == QMetaType::QTime && b.typeId() == QMetaType::QTime)
        return a.toTime() == b.toTime();
    if (a.typeId() == QMetaType::QByteArray || b.typeId() == QMetaType::QByteArray)
        return a.typeId() == b.typeId() && a.toByteArray() == b.toByteArray();
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return false;
}

bool sameRow(const Row &a, const Row &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!sameValue(a.at(i), b.at(i)))
            return false;
    }
    return true;
}

// Hash key with the equality of sameValue (null has none).
QString keyOf(const QVariant &v)
{
    if (isNullValue(v))
        return QString();
    if (isIntegral(v))
        return QLatin1Char('n') + QString::number(v.toLongLong());
    if (isNumeric(v)) {
        const double d = v.toDouble();
        if (std::trunc(d) == d && std::abs(d) < 9e15)
            return QLatin1Char('n') + QString::number(qint64(d));
        return QLatin1Char('n') + QString::number(d, 'g', 17);
    }
    if (isTemporal(v))
        return QLatin1Char('d') + QString::number(dayNumber(v), 'g', 17);
    if (v.typeId() == QMetaType::QTime)
        return QLatin1Char('t') + QString::number(v.toTime().msecsSinceStartOfDay());
    if (v.typeId() == QMetaType::QByteArray)
        return QLatin1Char('b') + QString::fromLatin1(v.toByteArray().toHex());
    return QLatin1Char('s') + v.toString();
}

QString fieldNotFound(const QString &name) { return QStringLiteral("Field '%1' not found").arg(name); }

// ---- display -------------------------------------------------------------------

const QChar kDecimal(u',');
const QChar kThousands(u'.');

QString groupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += kThousands;
        out += digits.at(i);
    }
    return out;
}

QStringList formatSections(const QString &format)
{
    QStringList sections{QString()};
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

// A number format of the platform's kind: sections "positive;negative;zero",
// '0' a digit always shown, '#' a digit shown when significant, '.' the
// decimal point, ',' thousands grouping, quoted or other characters literal.
// Separators are those of Brazilian Portuguese.
QString formatNumber(double value, const QString &format)
{
    const QStringList sections = formatSections(format);
    QString section = sections.value(0);
    bool sign = value < 0;
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        sign = false;
    } else if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty()) {
        section = sections.at(2);
    }

    QString prefix, suffix;
    int intZeros = 0, decZeros = 0, decHashes = 0;
    bool thousands = false, point = false, seenDigit = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (seenDigit ? suffix : prefix) += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            seenDigit = true;
            if (point)
                (c == u'0' ? decZeros : decHashes) += 1;
            else if (c == u'0')
                ++intZeros;
        } else if (c == u'.' && !point) {
            point = true;
            seenDigit = true;
        } else if (c == u',') {
            thousands = true;
        } else {
            (seenDigit ? suffix : prefix) += c;
        }
    }

    const int decimals = decZeros + decHashes;
    QString digits = QString::number(std::abs(value), 'f', decimals);
    QString intPart = digits.section(u'.', 0, 0);
    QString fracPart = decimals > 0 ? digits.section(u'.', 1, 1) : QString();
    while (fracPart.size() > decZeros && fracPart.endsWith(u'0'))
        fracPart.chop(1);
    if (intPart == QLatin1String("0") && intZeros == 0)
        intPart.clear();
    while (intPart.size() < intZeros)
        intPart.prepend(u'0');
    if (thousands)
        intPart = groupThousands(intPart);
    const bool allZero = !std::any_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    QString out = prefix + intPart;
    if (!fracPart.isEmpty())
        out += kDecimal + fracPart;
    out += suffix;
    if (sign && !allZero)
        out.prepend(u'-');
    return out;
}

} // namespace

// ---- construction and declaration ------------------------------------------------

RecordSet::RecordSet(const QString &name, Conexao *connection, QObject *parent) : QObject(parent)
{
    setObjectName(name);
    setConnection(connection);
}

RecordSet::~RecordSet() = default;

void RecordSet::setConnection(Conexao *connection)
{
    if (m_connection)
        disconnect(m_connection, nullptr, this, nullptr);
    m_connection = connection;
    if (m_connection)
        connect(m_connection, &Conexao::transactionEnded, this, &RecordSet::onTransactionEnded);
}

QString RecordSet::updateTable() const
{
    if (!m_updateTable.isEmpty())
        return m_updateTable;
    QString table;
    for (int i = 0; i < m_dataFieldCount; ++i) {
        const QString rel = m_fields.at(i).column.relation;
        if (rel.isEmpty())
            continue;
        if (table.isEmpty())
            table = rel;
        else if (table.compare(rel, Qt::CaseInsensitive) != 0)
            return QString(); // several tables: it has to be named
    }
    return table;
}

void RecordSet::setFieldDecls(const QList<FieldDecl> &fields) { m_decls = fields; }

void RecordSet::addLookupField(const QString &name, FieldType type, int size, RecordSet *source,
                               const QString &keyField, const QString &sourceKeyField, const QString &resultField)
{
    FieldDecl decl;
    decl.name = name;
    decl.type = type;
    decl.size = size;
    LookupDef def;
    def.source = source;
    def.keyField = keyField;
    def.sourceKeyField = sourceKeyField;
    def.resultField = resultField;
    m_lookupDecls.append({decl, def});
    if (source)
        connect(source, &RecordSet::contentChanged, this, &RecordSet::onLookupSourceChanged, Qt::UniqueConnection);
}

// ---- opening ------------------------------------------------------------------------

void RecordSet::buildFields(const QList<ColumnInfo> &columns)
{
    m_fields.clear();
    m_fieldIndex.clear();
    m_lookups.clear();
    for (const ColumnInfo &c : columns) {
        Field f;
        f.name = c.name;
        for (int n = 1; m_fieldIndex.contains(f.name.toUpper()); ++n) // a repeated name gets a suffix
            f.name = c.name + QLatin1Char('_') + QString::number(n);
        f.type = c.type;
        f.size = c.size;
        f.required = !c.nullable && !c.relation.isEmpty();
        f.column = c;
        for (const FieldDecl &d : m_decls) {
            if (d.name.compare(f.name, Qt::CaseInsensitive) != 0)
                continue;
            if (d.type != FieldType::Unknown)
                f.type = d.type;
            if (d.size > 0)
                f.size = d.size;
            f.required = d.required;
            f.displayFormat = d.displayFormat;
            f.currency = d.currency;
            break;
        }
        m_fieldIndex.insert(f.name.toUpper(), int(m_fields.size()));
        m_fields.append(f);
    }
    m_dataFieldCount = int(m_fields.size());
    for (const auto &[decl, def] : m_lookupDecls) {
        const QString key = decl.name.toUpper();
        if (m_fieldIndex.contains(key))
            throw Error(QStringLiteral("%1: Duplicate field name '%2'").arg(name(), decl.name));
        LookupDef ld = def;
        ld.keyIndex = m_fieldIndex.value(ld.keyField.toUpper(), -1);
        if (ld.keyIndex < 0)
            throw Error(QStringLiteral("%1: %2").arg(name(), fieldNotFound(ld.keyField)));
        Field f;
        f.name = decl.name;
        f.type = decl.type;
        f.size = decl.size;
        f.lookup = true;
        m_fieldIndex.insert(key, int(m_fields.size()));
        m_fields.append(f);
        m_lookups.append(ld);
    }
}

void RecordSet::takeRows(const QList<Row> &rows)
{
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const Row &values : rows) {
        StoredRow r;
        r.id = m_nextId++;
        r.values = values;
        r.original = values;
        m_rows.append(r);
    }
    m_deleted.clear();
    m_snapshot = Snapshot();
}

void RecordSet::open()
{
    if (isActive())
        return;
    if (!m_connection)
        throw Error(QStringLiteral("%1: Missing connection").arg(name()));
    if (m_commandText.trimmed().isEmpty())
        throw Error(QStringLiteral("%1: No SQL statement available").arg(name()));
    const ResultSet result = m_connection->select(m_commandText);
    openRows(result.columns, result.rows);
}

void RecordSet::openRows(const QList<ColumnInfo> &columns, const QList<Row> &rows)
{
    if (isActive())
        close();
    buildFields(columns);
    takeRows(rows);
    m_state = State::Browse;
    try {
        parseFilter();
    } catch (...) {
        close();
        throw;
    }
    rebuildView();
    m_cur = m_view.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.isEmpty();
    touch();
    notifyReset();
    if (!m_disabled) {
        emit stateChanged();
        emit currentChanged(m_cur);
    }
}

void RecordSet::close()
{
    if (!isActive())
        return;
    m_state = State::Inactive;
    m_buffer.clear();
    m_modified = false;
    m_rows.clear();
    m_deleted.clear();
    m_view.clear();
    m_fields.clear();
    m_fieldIndex.clear();
    m_lookups.clear();
    m_dataFieldCount = 0;
    m_filter = Filter();
    m_snapshot = Snapshot();
    m_cur = -1;
    m_bof = m_eof = true;
    touch();
    notifyReset();
    if (!m_disabled)
        emit stateChanged();
}

void RecordSet::refresh()
{
    requireActive();
    if (!checkBrowseMode())
        throw PostCancelled();
    if (changeCount() > 0)
        throw Error(QStringLiteral("%1: Must apply updates before refreshing data").arg(name()));
    if (!m_connection)
        throw Error(QStringLiteral("%1: Missing connection").arg(name()));
    const int keep = m_cur;
    const ResultSet result = m_connection->select(m_commandText);
    buildFields(result.columns);
    takeRows(result.rows);
    parseFilter();
    rebuildView();
    m_cur = m_view.isEmpty() ? -1 : std::clamp(keep, 0, int(m_view.size()) - 1);
    m_bof = m_cur <= 0;
    m_eof = m_view.isEmpty();
    touch();
    notifyReset();
    if (!m_disabled)
        emit currentChanged(m_cur);
}

// ---- fields --------------------------------------------------------------------------

int RecordSet::fieldIndex(const QString &name) const { return m_fieldIndex.value(name.toUpper(), -1); }

QStringList RecordSet::fieldNames() const
{
    QStringList names;
    for (const Field &f : m_fields)
        names << f.name;
    return names;
}

// ---- checks and notifications ---------------------------------------------------------

void RecordSet::requireActive() const
{
    if (!isActive())
        throw Error(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(name()));
}

void RecordSet::requireRow() const
{
    requireActive();
    if (m_cur < 0)
        throw Error(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(name()));
}

void RecordSet::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    if (!m_disabled)
        emit stateChanged();
}

void RecordSet::moveTo(int viewIndex, bool bof, bool eof)
{
    const bool moved = viewIndex != m_cur;
    m_cur = viewIndex;
    m_bof = bof;
    m_eof = eof;
    if (moved && !m_disabled)
        emit currentChanged(m_cur);
}

void RecordSet::placeCursor(int viewIndex)
{
    m_cur = m_view.isEmpty() ? -1 : std::clamp(viewIndex, 0, int(m_view.size()) - 1);
    m_bof = m_view.isEmpty();
    m_eof = m_view.isEmpty();
    if (!m_disabled)
        emit currentChanged(m_cur);
}

void RecordSet::touch()
{
    m_keyIndex.clear();
    emit contentChanged();
}

void RecordSet::notifyReset()
{
    if (!m_disabled)
        emit reset();
}

void RecordSet::notifyRow(int viewRow)
{
    if (!m_disabled && viewRow >= 0)
        emit rowChanged(viewRow);
}

void RecordSet::enableControls()
{
    if (m_disabled == 0)
        return;
    if (--m_disabled == 0) {
        emit reset();
        emit stateChanged();
        emit currentChanged(m_cur);
    }
}

// ---- filter and view -----------------------------------------------------------------

void RecordSet::parseFilter()
{
    if (!isActive() || !m_filtered || m_filterText.trimmed().isEmpty()) {
        m_filter = Filter();
        return;
    }
    QList<FilterColumn> columns;
    for (const Field &f : m_fields)
        columns.append({f.name, f.isText()});
    m_filter = Filter::parse(m_filterText, columns);
}

Row RecordSet::fullRow(const Row &data) const
{
    if (m_lookups.isEmpty())
        return data;
    Row row = data;
    for (int i = m_dataFieldCount; i < int(m_fields.size()); ++i)
        row.append(lookupValue(i, data));
    return row;
}

bool RecordSet::rowMatches(int storeIndex) const
{
    if (m_filter.isEmpty())
        return true;
    return m_filter.matches(fullRow(m_rows.at(storeIndex).values));
}

void RecordSet::rebuildView()
{
    m_view.clear();
    m_view.reserve(m_rows.size());
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (rowMatches(i))
            m_view.append(i);
    }
}

void RecordSet::setFilter(const QString &expression)
{
    const QString before = m_filterText;
    if (isActive() && m_filtered && !checkBrowseMode())
        return;
    m_filterText = expression;
    if (!isActive() || !m_filtered)
        return;
    try {
        parseFilter();
    } catch (...) {
        m_filterText = before;
        parseFilter();
        throw;
    }
    rebuildView();
    touch();
    notifyReset();
    first();
}

void RecordSet::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    if (isActive() && !checkBrowseMode())
        return;
    m_filtered = filtered;
    if (!isActive())
        return;
    try {
        parseFilter();
    } catch (...) {
        m_filtered = !filtered;
        parseFilter();
        throw;
    }
    rebuildView();
    touch();
    notifyReset();
    first();
}

// ---- lookups ----------------------------------------------------------------------------

QVariant RecordSet::lookupValue(int field, const Row &data) const
{
    const LookupDef &ld = m_lookups.at(field - m_dataFieldCount);
    if (!ld.source || !ld.source->isActive())
        return {};
    const QVariant key = data.value(ld.keyIndex);
    const int keyField = ld.source->fieldIndex(ld.sourceKeyField);
    const int resultField = ld.source->fieldIndex(ld.resultField);
    if (keyField < 0 || resultField < 0)
        return {};
    return ld.source->findInView(keyField, key, resultField);
}

QVariant RecordSet::findInView(int keyField, const QVariant &key, int resultField) const
{
    const QString k = keyOf(key);
    if (k.isNull() || !isActive())
        return {};
    auto it = m_keyIndex.find(keyField);
    if (it == m_keyIndex.end()) {
        QHash<QString, int> index;
        index.reserve(m_view.size());
        for (int v = 0; v < int(m_view.size()); ++v) {
            const Row &values = m_rows.at(m_view.at(v)).values;
            const QVariant cell = keyField < m_dataFieldCount ? values.value(keyField) : lookupValue(keyField, values);
            const QString ck = keyOf(cell);
            if (!ck.isNull() && !index.contains(ck))
                index.insert(ck, v);
        }
        it = m_keyIndex.insert(keyField, index);
    }
    const auto found = it->constFind(k);
    if (found == it->constEnd())
        return {};
    const Row &values = m_rows.at(m_view.at(*found)).values;
    return resultField < m_dataFieldCount ? values.value(resultField) : lookupValue(resultField, values);
}

void RecordSet::onLookupSourceChanged()
{
    if (!isActive())
        return;
    if (m_state == State::Browse && m_filtered && !m_filter.isEmpty()) {
        const int keepRow = m_cur >= 0 ? m_view.at(m_cur) : -1;
        rebuildView();
        const int at = int(m_view.indexOf(keepRow));
        m_keyIndex.clear();
        notifyReset();
        placeCursor(at >= 0 ? at : m_cur);
        return;
    }
    notifyReset();
}

// ---- cursor ----------------------------------------------------------------------------

bool RecordSet::checkBrowseMode()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return true;
    if (m_modified)
        return post();
    cancel();
    return true;
}

bool RecordSet::first()
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    moveTo(m_view.isEmpty() ? -1 : 0, true, m_view.isEmpty());
    return true;
}

bool RecordSet::last()
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    moveTo(int(m_view.size()) - 1, m_view.isEmpty(), true);
    return true;
}

bool RecordSet::next()
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    if (m_view.isEmpty())
        moveTo(-1, true, true);
    else if (m_cur < int(m_view.size()) - 1)
        moveTo(m_cur + 1, false, false);
    else
        moveTo(m_cur, false, true);
    return true;
}

bool RecordSet::prior()
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    if (m_view.isEmpty())
        moveTo(-1, true, true);
    else if (m_cur > 0)
        moveTo(m_cur - 1, false, false);
    else
        moveTo(m_cur, true, false);
    return true;
}

bool RecordSet::setRecNo(int recNo)
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    if (m_view.isEmpty())
        return true;
    const int at = std::clamp(recNo, 1, int(m_view.size())) - 1;
    moveTo(at, false, false);
    return true;
}

bool RecordSet::locate(const QString &fieldName, const QVariant &value)
{
    return locate(QStringList{fieldName}, QVariantList{value});
}

bool RecordSet::locate(const QStringList &names, const QVariantList &values)
{
    requireActive();
    if (names.size() != values.size() || names.isEmpty())
        throw Error(QStringLiteral("%1: Locate needs one value per field").arg(name()));
    if (!checkBrowseMode())
        return false;
    QList<int> indexes;
    QVariantList keys;
    for (int i = 0; i < int(names.size()); ++i) {
        const int f = fieldIndex(names.at(i));
        if (f < 0)
            throw Error(QStringLiteral("%1: %2").arg(name(), fieldNotFound(names.at(i))));
        indexes << f;
        keys << convertForField(m_fields.at(f), values.at(i), false);
    }
    for (int v = 0; v < int(m_view.size()); ++v) {
        const Row &data = m_rows.at(m_view.at(v)).values;
        bool all = true;
        for (int k = 0; k < int(indexes.size()) && all; ++k) {
            const int f = indexes.at(k);
            const QVariant cell = f < m_dataFieldCount ? data.value(f) : lookupValue(f, data);
            all = sameValue(cell, keys.at(k));
        }
        if (all) {
            moveTo(v, false, false);
            return true;
        }
    }
    return false;
}

// ---- values ----------------------------------------------------------------------------

QVariant RecordSet::value(int field) const
{
    requireActive();
    if (field < 0 || field >= int(m_fields.size()))
        throw Error(QStringLiteral("%1: Field index out of range").arg(name()));
    if (m_state == State::Edit || m_state == State::Insert)
        return field < m_dataFieldCount ? m_buffer.value(field) : lookupValue(field, m_buffer);
    if (m_cur < 0)
        return {};
    return valueAt(m_cur, field);
}

QVariant RecordSet::value(const QString &fieldName) const
{
    const int f = fieldIndex(fieldName);
    if (f < 0)
        throw Error(QStringLiteral("%1: %2").arg(name(), fieldNotFound(fieldName)));
    return value(f);
}

bool RecordSet::isNull(const QString &fieldName) const { return isNullValue(value(fieldName)); }

QVariant RecordSet::valueAt(int viewRow, int field) const
{
    if (viewRow < 0 || viewRow >= int(m_view.size()) || field < 0 || field >= int(m_fields.size()))
        return {};
    const Row &data = (m_state == State::Edit && viewRow == m_cur) ? m_buffer : m_rows.at(m_view.at(viewRow)).values;
    return field < m_dataFieldCount ? data.value(field) : lookupValue(field, data);
}

Row RecordSet::rowAt(int viewRow) const
{
    if (viewRow < 0 || viewRow >= int(m_view.size()))
        return {};
    const Row &data = (m_state == State::Edit && viewRow == m_cur) ? m_buffer : m_rows.at(m_view.at(viewRow)).values;
    return fullRow(data);
}

QVariant RecordSet::convertForField(const Field &f, const QVariant &value, bool emptyIsNull) const
{
    if (isNullValue(value))
        return {};
    auto invalid = [&](const char *what) {
        return Error(QStringLiteral("'%1' is not a valid %2").arg(value.toString(), QLatin1String(what)));
    };
    auto toNumber = [&](bool *ok) -> double {
        if (isNumeric(value)) {
            *ok = true;
            return value.toDouble();
        }
        const QString s = value.toString().trimmed();
        double d = QLocale::c().toDouble(s, ok);
        if (!*ok)
            d = QLocale(QLocale::Portuguese, QLocale::Brazil).toDouble(s, ok);
        return d;
    };
    switch (f.type) {
    case FieldType::String:
    case FieldType::FixedChar:
    case FieldType::Memo: {
        QString s = value.typeId() == QMetaType::QByteArray ? text::fromWindows1252(value.toByteArray())
                                                             : value.toString();
        if (f.type != FieldType::Memo && f.size > 0 && s.size() > f.size)
            s.truncate(f.size);
        if (s.isEmpty() && emptyIsNull)
            return {};
        return s;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: {
        bool ok = false;
        qint64 n = 0;
        if (isIntegral(value)) {
            n = value.toLongLong();
            ok = true;
        } else {
            const double d = toNumber(&ok);
            if (ok && (!isNumeric(value) && std::trunc(d) != d))
                ok = false; // "1.5" is no integer text
            n = ok ? std::llround(d) : 0;
        }
        if (!ok)
            throw invalid("integer value");
        if (f.type == FieldType::LargeInt)
            return QVariant(qlonglong(n));
        return QVariant(int(n));
    }
    case FieldType::Float: {
        bool ok = false;
        const double d = toNumber(&ok);
        if (!ok)
            throw invalid("floating point value");
        return d;
    }
    case FieldType::Date: {
        if (isTemporal(value))
            return value.toDate();
        const QString s = value.toString().trimmed();
        QDate d = QDate::fromString(s, QStringLiteral("dd/MM/yyyy"));
        if (!d.isValid())
            d = QDate::fromString(s, Qt::ISODate);
        if (!d.isValid())
            throw invalid("date");
        return d;
    }
    case FieldType::DateTime: {
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().startOfDay();
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime();
        const QString s = value.toString().trimmed();
        QDateTime dt = QDateTime::fromString(s, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        if (!dt.isValid())
            dt = QDate::fromString(s, QStringLiteral("dd/MM/yyyy")).startOfDay();
        if (!dt.isValid())
            dt = QDateTime::fromString(s, Qt::ISODateWithMs);
        if (!dt.isValid())
            throw invalid("date and time");
        return dt;
    }
    case FieldType::Time: {
        if (value.typeId() == QMetaType::QTime || value.typeId() == QMetaType::QDateTime)
            return value.toTime();
        const QTime t = QTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs);
        if (!t.isValid())
            throw invalid("time");
        return t;
    }
    case FieldType::Blob:
        return value.typeId() == QMetaType::QString ? text::toWindows1252(value.toString()) : value.toByteArray();
    case FieldType::Boolean:
        return value.toBool();
    case FieldType::Unknown:
        break;
    }
    return value;
}

void RecordSet::setValue(const QString &fieldName, const QVariant &value)
{
    const int f = fieldIndex(fieldName);
    if (f < 0)
        throw Error(QStringLiteral("%1: %2").arg(name(), fieldNotFound(fieldName)));
    setValue(f, value);
}

void RecordSet::setValue(int field, const QVariant &value)
{
    requireActive();
    if (m_state != State::Edit && m_state != State::Insert)
        throw Error(QStringLiteral("%1: Dataset not in edit or insert mode").arg(name()));
    if (field < 0 || field >= int(m_fields.size()))
        throw Error(QStringLiteral("%1: Field index out of range").arg(name()));
    const Field &f = m_fields.at(field);
    if (f.lookup)
        throw Error(QStringLiteral("Field '%1' cannot be modified").arg(f.name));
    m_buffer[field] = convertForField(f, value, true);
    m_modified = true;
    if (m_state == State::Edit)
        notifyRow(m_cur);
}

// ---- display ---------------------------------------------------------------------------

QString RecordSet::displayText(int viewRow, int field) const
{
    const QVariant v = valueAt(viewRow, field);
    if (field < 0 || field >= int(m_fields.size()))
        return QString();
    const Field &f = m_fields.at(field);
    if (f.type == FieldType::Blob)
        return QStringLiteral("(BLOB)");
    if (f.type == FieldType::Memo)
        return QStringLiteral("(MEMO)");
    if (isNullValue(v))
        return QString();
    if (isNumeric(v) && f.type != FieldType::Boolean) {
        if (!f.displayFormat.isEmpty())
            return formatNumber(v.toDouble(), f.displayFormat);
        if (f.currency)
            return formatNumber(v.toDouble(), QStringLiteral("\"R$ \"#,0.00"));
        if (isIntegral(v))
            return QString::number(v.toLongLong());
        QString s = QString::number(v.toDouble(), 'g', 15);
        s.replace(u'.', kDecimal);
        return s;
    }
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (f.type == FieldType::Date || dt.time() == QTime(0, 0))
            return dt.date().toString(QStringLiteral("dd/MM/yyyy"));
        return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

// ---- editing ---------------------------------------------------------------------------

void RecordSet::edit()
{
    try {
        requireActive();
        if (m_state == State::Edit || m_state == State::Insert)
            return;
        if (m_view.isEmpty()) {
            insert(); // an empty view gets a new row instead (refused silently where inserts are)
            return;
        }
        m_buffer = m_rows.at(m_view.at(m_cur)).values;
        m_modified = false;
        setState(State::Edit);
    } catch (const Error &e) {
        if (onEditError)
            onEditError(e.message());
        throw;
    }
}

bool RecordSet::insert()
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    if (m_refuseInserts)
        return false;
    m_buffer = Row(m_dataFieldCount);
    m_modified = false;
    m_insertAt = m_cur >= 0 ? m_view.at(m_cur) : int(m_rows.size());
    setState(State::Insert);
    return true;
}

bool RecordSet::append()
{
    requireActive();
    if (!checkBrowseMode())
        return false;
    if (m_refuseInserts)
        return false;
    m_buffer = Row(m_dataFieldCount);
    m_modified = false;
    m_insertAt = int(m_rows.size());
    setState(State::Insert);
    return true;
}

bool RecordSet::post()
{
    try {
        requireActive();
    } catch (const Error &e) {
        if (onPostError)
            onPostError(e.message());
        throw;
    }
    if (m_state != State::Edit && m_state != State::Insert)
        return true;
    if (beforePost && !beforePost(*this))
        return false;
    try {
        for (int i = 0; i < m_dataFieldCount; ++i) {
            if (m_fields.at(i).required && isNullValue(m_buffer.value(i)))
                throw Error(QStringLiteral("Field '%1' must have a value").arg(m_fields.at(i).name));
        }
    } catch (const Error &e) {
        if (onPostError)
            onPostError(e.message());
        throw;
    }

    if (m_state == State::Edit) {
        const int storeIndex = m_view.at(m_cur);
        StoredRow &r = m_rows[storeIndex];
        const bool wasChanged = isChanged(r);
        r.values = m_buffer;
        if (!wasChanged && isChanged(r))
            r.seq = m_nextSeq++;
        m_buffer.clear();
        m_modified = false;
        setState(State::Browse);
        if (!rowMatches(storeIndex)) {
            // The row left the filter: the cursor goes to the row after it.
            m_view.removeAt(m_cur);
            touch();
            notifyReset();
            placeCursor(m_cur);
        } else {
            touch();
            notifyRow(m_cur);
        }
        return true;
    }

    StoredRow r;
    r.id = m_nextId++;
    r.values = m_buffer;
    r.inserted = true;
    r.seq = m_nextSeq++;
    const int at = std::clamp(m_insertAt, 0, int(m_rows.size()));
    m_rows.insert(at, r);
    for (int &i : m_view) {
        if (i >= at)
            ++i;
    }
    int cur = m_cur;
    if (rowMatches(at)) {
        const auto pos = std::lower_bound(m_view.begin(), m_view.end(), at) - m_view.begin();
        m_view.insert(pos, at);
        cur = int(pos);
    }
    m_buffer.clear();
    m_modified = false;
    m_insertAt = -1;
    setState(State::Browse);
    touch();
    notifyReset();
    placeCursor(cur);
    return true;
}

void RecordSet::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    const bool wasInsert = m_state == State::Insert;
    m_buffer.clear();
    m_modified = false;
    m_insertAt = -1;
    setState(State::Browse);
    if (wasInsert)
        notifyReset();
    else
        notifyRow(m_cur);
}

void RecordSet::deleteRecord()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    requireRow();
    try {
        if (m_state == State::Edit) {
            m_buffer.clear();
            m_modified = false;
            setState(State::Browse);
        }
        const int at = m_view.at(m_cur);
        StoredRow r = m_rows.takeAt(at);
        if (!r.inserted) {
            r.values = r.original;
            r.seq = m_nextSeq++;
            m_deleted.append({r, at});
        }
        m_view.removeAt(m_cur);
        for (int &i : m_view) {
            if (i > at)
                --i;
        }
        touch();
        notifyReset();
        placeCursor(m_cur);
    } catch (const Error &e) {
        if (onDeleteError)
            onDeleteError(e.message());
        throw;
    }
}

// ---- change log ------------------------------------------------------------------------

bool RecordSet::isChanged(const StoredRow &r) const { return r.inserted || !sameRow(r.values, r.original); }

int RecordSet::changeCount() const
{
    int n = int(m_deleted.size());
    for (const StoredRow &r : m_rows) {
        if (isChanged(r))
            ++n;
    }
    return n;
}

void RecordSet::cancelUpdates()
{
    if (!isActive())
        return;
    cancel();
    const int keepRow = m_cur >= 0 ? m_view.at(m_cur) : -1;
    const quint64 keepId = keepRow >= 0 ? m_rows.at(keepRow).id : 0;
    for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
        StoredRow &r = m_rows[i];
        if (r.inserted) {
            m_rows.removeAt(i);
        } else {
            r.values = r.original;
            r.seq = 0;
        }
    }
    for (int i = int(m_deleted.size()) - 1; i >= 0; --i) {
        DeletedRow d = m_deleted.at(i);
        d.row.values = d.row.original;
        d.row.seq = 0;
        m_rows.insert(std::clamp(d.position, 0, int(m_rows.size())), d.row);
    }
    m_deleted.clear();
    rebuildView();
    int at = -1;
    for (int v = 0; v < int(m_view.size()) && keepId; ++v) {
        if (m_rows.at(m_view.at(v)).id == keepId) {
            at = v;
            break;
        }
    }
    if (at < 0)
        at = m_cur;
    touch();
    notifyReset();
    placeCursor(at);
}

QString RecordSet::sqlName(const QString &name) const
{
    static const QRegularExpression plain(QStringLiteral("^[A-Z][A-Z0-9_$]*$"));
    if (plain.match(name).hasMatch())
        return name;
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool RecordSet::applyOne(const QString &table, const StoredRow &row, bool isDelete, QString *message)
{
    QList<int> own; // fields that are columns of the update table
    for (int i = 0; i < m_dataFieldCount; ++i) {
        const ColumnInfo &c = m_fields.at(i).column;
        if (!c.sourceName.isEmpty() && c.relation.compare(table, Qt::CaseInsensitive) == 0)
            own << i;
    }
    if (own.isEmpty()) {
        *message = QStringLiteral("%1: no column of table %2").arg(name(), table);
        return false;
    }

    QString sql;
    QVariantList params;
    auto whereClause = [&](const Row &base) {
        QStringList terms;
        for (int i : own) {
            const FieldType t = m_fields.at(i).column.type;
            if (t == FieldType::Blob || t == FieldType::Memo || t == FieldType::Unknown)
                continue;
            const QString col = sqlName(m_fields.at(i).column.sourceName);
            const QVariant v = base.value(i);
            if (isNullValue(v)) {
                terms << col + QStringLiteral(" IS NULL");
            } else {
                terms << col + QStringLiteral(" = ?");
                params << v;
            }
        }
        return terms.join(QStringLiteral(" AND "));
    };

    const bool isInsert = !isDelete && row.inserted;
    if (isDelete) {
        sql = QStringLiteral("DELETE FROM %1 WHERE ").arg(sqlName(table)) + whereClause(row.original);
    } else if (isInsert) {
        QStringList cols, marks;
        for (int i : own) {
            if (isNullValue(row.values.value(i)))
                continue;
            cols << sqlName(m_fields.at(i).column.sourceName);
            marks << QStringLiteral("?");
            params << row.values.value(i);
        }
        sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(sqlName(table))
                             : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(sqlName(table), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    } else {
        QStringList sets;
        for (int i : own) {
            if (sameValue(row.values.value(i), row.original.value(i)))
                continue;
            sets << sqlName(m_fields.at(i).column.sourceName) + QStringLiteral(" = ?");
            params << row.values.value(i);
        }
        if (sets.isEmpty())
            return true; // only fields of other tables changed: nothing to write
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE ").arg(sqlName(table), sets.join(QStringLiteral(", "))) +
              whereClause(row.original);
    }

    // A savepoint per row, so that a statement that touched several rows can
    // be undone alone.
    m_connection->execute(QStringLiteral("SAVEPOINT ORVEN_APPLY"));
    auto undo = [&] {
        try {
            m_connection->execute(QStringLiteral("ROLLBACK TO SAVEPOINT ORVEN_APPLY"));
        } catch (const Error &) {
        }
    };
    int affected = 0;
    try {
        affected = m_connection->execute(sql, params);
    } catch (const Error &e) {
        undo();
        *message = e.message();
        return false;
    }
    if (affected != 1) {
        undo();
        *message = affected == 0 ? QStringLiteral("Record not found or changed by another user")
                                 : QStringLiteral("Too many records changed: %1 rows matched").arg(affected);
        return false;
    }
    m_connection->execute(QStringLiteral("RELEASE SAVEPOINT ORVEN_APPLY"));
    return true;
}

int RecordSet::applyUpdates(int maxErrors)
{
    requireActive();
    if (!checkBrowseMode())
        throw PostCancelled();
    if (!m_connection)
        throw Error(QStringLiteral("%1: Missing connection").arg(name()));

    struct Item {
        quint64 seq;
        quint64 id;
        bool isDelete;
    };
    QList<Item> items;
    for (const StoredRow &r : m_rows) {
        if (isChanged(r))
            items.append({r.seq, r.id, false});
    }
    for (const DeletedRow &d : m_deleted)
        items.append({d.row.seq, d.row.id, true});
    if (items.isEmpty())
        return 0;
    std::stable_sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.seq < b.seq; });

    const QString table = updateTable();
    if (table.isEmpty())
        throw Error(QStringLiteral("%1: Unable to find table name for updates").arg(name()));

    QHash<quint64, int> rowAt;
    for (int i = 0; i < int(m_rows.size()); ++i)
        rowAt.insert(m_rows.at(i).id, i);
    QHash<quint64, int> deletedAt;
    for (int i = 0; i < int(m_deleted.size()); ++i)
        deletedAt.insert(m_deleted.at(i).row.id, i);

    const bool own = !m_connection->inTransaction();
    if (own)
        m_connection->startTransaction();
    const quint64 transaction = m_connection->transactionId();

    QList<Item> written, cancelled;
    int refused = 0;
    auto settle = [&] {
        // Rows written inside the caller's transaction: remember how the log
        // was, to bring them back if that transaction is rolled back.
        if (!own && !written.isEmpty()) {
            if (m_snapshot.transaction != transaction)
                m_snapshot = Snapshot{transaction, {}, {}};
            for (const Item &item : written) {
                if (item.isDelete)
                    m_snapshot.deleted.append(m_deleted.at(deletedAt.value(item.id)));
                else if (!m_snapshot.rows.contains(item.id))
                    m_snapshot.rows.insert(item.id, m_rows.at(rowAt.value(item.id)));
            }
        }

        // Written rows leave the change log.
        QList<int> deletedDone;
        for (const Item &item : written) {
            if (item.isDelete) {
                deletedDone << deletedAt.value(item.id);
            } else {
                StoredRow &r = m_rows[rowAt.value(item.id)];
                r.original = r.values;
                r.inserted = false;
                r.seq = 0;
            }
        }
        // Rows the reconcile handler gave up: back to their earlier values.
        for (const Item &item : cancelled) {
            if (item.isDelete) {
                DeletedRow d = m_deleted.at(deletedAt.value(item.id));
                deletedDone << deletedAt.value(item.id);
                d.row.seq = 0;
                m_rows.insert(std::clamp(d.position, 0, int(m_rows.size())), d.row);
            } else {
                const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                             [&](const StoredRow &r) { return r.id == item.id; });
                if (it->inserted) {
                    m_rows.erase(it);
                } else {
                    it->values = it->original;
                    it->seq = 0;
                }
            }
        }
        std::sort(deletedDone.begin(), deletedDone.end(), std::greater<int>());
        for (int i : deletedDone)
            m_deleted.removeAt(i);
        if (!cancelled.isEmpty()) {
            rebuildView();
            touch();
            notifyReset();
            placeCursor(m_cur);
        }
    };
    try {
        for (const Item &item : items) {
            const StoredRow &row = item.isDelete ? m_deleted.at(deletedAt.value(item.id)).row
                                                 : m_rows.at(rowAt.value(item.id));
            QString message;
            if (applyOne(table, row, item.isDelete, &message)) {
                written.append(item);
                continue;
            }
            ++refused;
            const ReconcileAction action =
                onReconcileError ? onReconcileError(*this, row.values, message) : ReconcileAction::Skip;
            if (action == ReconcileAction::Cancel)
                cancelled.append(item);
            if (action == ReconcileAction::Abort)
                break;
            if (maxErrors >= 0 && refused > maxErrors)
                break;
        }
        if (own)
            m_connection->commit();
    } catch (...) {
        if (own) {
            if (m_connection->inTransaction())
                m_connection->rollback();
        } else {
            settle(); // what was written stays with the caller's transaction
        }
        throw;
    }
    settle();
    return refused;
}

void RecordSet::onTransactionEnded(quint64 id, bool committed)
{
    if (m_snapshot.transaction != id || id == 0)
        return;
    Snapshot snap = std::move(m_snapshot);
    m_snapshot = Snapshot();
    if (committed || !isActive())
        return;

    // Rolled back: what the transaction wrote is not in the database, so the
    // rows it wrote are changes again.
    for (auto it = snap.rows.cbegin(); it != snap.rows.cend(); ++it) {
        const StoredRow &before = it.value();
        bool done = false;
        for (StoredRow &r : m_rows) {
            if (r.id != before.id)
                continue;
            r.original = before.original;
            r.inserted = before.inserted;
            if (isChanged(r))
                r.seq = before.seq ? before.seq : m_nextSeq++;
            done = true;
            break;
        }
        if (done)
            continue;
        for (int i = 0; i < int(m_deleted.size()); ++i) {
            if (m_deleted.at(i).row.id != before.id)
                continue;
            if (before.inserted) {
                m_deleted.removeAt(i); // a new row deleted again: nothing left to write
            } else {
                m_deleted[i].row.original = before.original;
                m_deleted[i].row.values = before.original;
            }
            break;
        }
    }
    for (const DeletedRow &d : snap.deleted) {
        const bool present = std::any_of(m_rows.cbegin(), m_rows.cend(), [&](const StoredRow &r) { return r.id == d.row.id; }) ||
                             std::any_of(m_deleted.cbegin(), m_deleted.cend(),
                                         [&](const DeletedRow &x) { return x.row.id == d.row.id; });
        if (!present)
            m_deleted.append(d);
    }
    touch();
}

} // namespace orven::db
