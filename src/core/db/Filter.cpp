#include "db/Filter.h"

#include "common/Error.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>
#include <vector>

namespace orven::db {

namespace {

// Operators first, comparisons from Text on (see Program::evalNode).
enum class Kind : quint8 {
    Or,              // children[first .. first+count)
    And,             // children[first .. first+count)
    Not,             // first = operand
    Text,            // text column vs texts[first]
    Number,          // numeric/date column vs number
    TextAsNumber,    // text column read as a number vs number
    TextSet,         // text column equal to one of texts[first .. first+count), sorted
    NumberSet,       // numeric/date column equal to one of numbers[first .. first+count), sorted
    TextAsNumberSet, // text column read as a number, equal to one of numbers[...]
};

enum class CmpOp : quint8 { Eq, Ne, Lt, Gt, Le, Ge };

struct Node {
    Kind kind;
    CmpOp op = CmpOp::Eq;
    int column = -1;
    int first = 0;
    int count = 0;
    double number = 0;
};

// An OR of this many equalities on one column or more becomes a set lookup
// (the commitment window's "FICHA = 12 OR FICHA = 40 OR ..." lists).
constexpr int kSetThreshold = 4;
// Nesting of parentheses and NOTs; deeper expressions are refused rather than
// risking the stack.
constexpr int kMaxDepth = 200;

inline bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Reads "[blanks][+|-]digits[.digits][blanks]" (digits on at least one side of
// the point) as a double, without allocating. Codes of up to 15 significant
// digits with up to 22 decimals convert exactly by integer arithmetic and one
// correctly rounded division; longer ones go through std::from_chars.
bool readNumber(QStringView s, double &out)
{
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    if (b == e)
        return false;
    qsizetype i = b;
    const bool negative = s[i] == u'-';
    if (negative || s[i] == u'+')
        ++i;
    const qsizetype start = i;
    quint64 mantissa = 0;
    int decimals = 0;
    bool digits = false;
    bool point = false;
    bool exact = true;
    for (; i < e; ++i) {
        const char16_t c = s[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digits = true;
            if (mantissa >= 100000000000000ULL) { // a 16th significant digit
                exact = false;
            } else {
                mantissa = mantissa * 10 + (c - u'0');
                if (point)
                    ++decimals;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    if (exact && decimals <= 22) {
        double v = double(mantissa);
        if (decimals)
            v /= kPow10[decimals];
        out = negative ? -v : v;
        return true;
    }
    char buf[64];
    int n = 0;
    if (negative)
        buf[n++] = '-';
    if (e - start >= qsizetype(sizeof buf) - 1)
        return false;
    for (qsizetype k = start; k < e; ++k)
        buf[n++] = char(s[k].unicode());
    double v = 0;
    const auto r = std::from_chars(buf, buf + n, v);
    if (r.ec != std::errc() || r.ptr != buf + n || std::isnan(v))
        return false;
    out = v;
    return true;
}

// Day number of the date-time scale: days since 30/12/1899, time as the fraction.
constexpr qint64 kDayZero = 2415019; // QDate(1899, 12, 30).toJulianDay()

double serial(const QDate &d, const QTime &t)
{
    double v = double(d.toJulianDay() - kDayZero);
    if (t.isValid())
        v += t.msecsSinceStartOfDay() / 86400000.0;
    return v;
}

// Reads "dd/mm/yyyy" with an optional " hh:mm" or " hh:mm:ss", blanks around.
bool readDate(QStringView s, double &out)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && isBlank(s[i]))
        ++i;
    auto field = [&](int minDigits, int maxDigits, int &value) {
        int count = 0;
        value = 0;
        while (i < n && count < maxDigits && s[i] >= u'0' && s[i] <= u'9') {
            value = value * 10 + (s[i].unicode() - u'0');
            ++i;
            ++count;
        }
        return count >= minDigits;
    };
    auto expect = [&](char16_t c) {
        if (i < n && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    };
    int d = 0, m = 0, y = 0, hh = 0, mm = 0, ss = 0;
    if (!field(1, 2, d) || !expect(u'/') || !field(1, 2, m) || !expect(u'/') || !field(4, 4, y))
        return false;
    const QDate date(y, m, d);
    if (!date.isValid())
        return false;
    QTime time;
    qsizetype j = i;
    while (j < n && isBlank(s[j]))
        ++j;
    if (j < n && j > i) {
        i = j;
        if (!field(1, 2, hh) || !expect(u':') || !field(2, 2, mm))
            return false;
        if (expect(u':') && !field(2, 2, ss))
            return false;
        time = QTime(hh, mm, ss);
        if (!time.isValid())
            return false;
    }
    while (i < n && isBlank(s[i]))
        ++i;
    if (i != n)
        return false;
    out = serial(date, time);
    return true;
}

const QMetaType kStringType = QMetaType::fromType<QString>();

// Filters run for every painted grid cell, so the common cell types (text,
// integer, float) are recognised from the variant's inline type data; the
// out-of-line QVariant::isNull()/metaType() calls cost more than a comparison.
// Anything else takes the general path.
template <typename T>
inline const QtPrivate::QMetaTypeInterface *typeOf()
{
    return QMetaType::fromType<T>().iface();
}

// The cell at column, or nullptr when it is NULL or missing.
inline const QVariant *cellAt(const QList<QVariant> &row, int column)
{
    if (column >= row.size())
        return nullptr;
    const QVariant &v = row.at(column);
    const QVariant::DataPtr &d = v.data_ptr();
    if (d.is_null)
        return nullptr;
    const auto *t = d.typeInterface();
    if (t == typeOf<QString>() || t == typeOf<int>() || t == typeOf<double>())
        return &v;
    return v.isNull() ? nullptr : &v;
}

// The text of a non-null cell held as a QString, or nullptr.
inline const QString *stringCell(const QVariant &v)
{
    const QVariant::DataPtr &d = v.data_ptr();
    if (d.typeInterface() == typeOf<QString>())
        return static_cast<const QString *>(d.storage());
    if (v.metaType() == kStringType)
        return static_cast<const QString *>(v.constData());
    return nullptr;
}

// The text of a non-null cell; a non-string cell is converted into scratch.
inline const QString *textOf(const QVariant &v, QString &scratch)
{
    if (const QString *s = stringCell(v))
        return s;
    scratch = v.toString();
    return &scratch;
}

inline bool sameText(const QString &a, const QString &b)
{
    const qsizetype n = a.size();
    if (n != b.size())
        return false;
    const QChar *p = a.constData();
    const QChar *q = b.constData();
    for (qsizetype i = 0; i < n; ++i)
        if (p[i] != q[i])
            return false;
    return true;
}

bool numberOfOther(const QVariant &v, double &out);

// The numeric value of a non-null cell; false when it has none.
inline bool numberOf(const QVariant &v, double &out)
{
    const QVariant::DataPtr &d = v.data_ptr();
    const auto *t = d.typeInterface();
    if (t == typeOf<int>()) {
        out = *static_cast<const int *>(d.storage());
        return true;
    }
    if (t == typeOf<double>()) {
        out = *static_cast<const double *>(d.storage());
        return !std::isnan(out);
    }
    return numberOfOther(v, out);
}

bool numberOfOther(const QVariant &v, double &out)
{
    const void *p = v.constData();
    switch (v.typeId()) {
    case QMetaType::Int: out = *static_cast<const int *>(p); return true;
    case QMetaType::Double:
        out = *static_cast<const double *>(p);
        return !std::isnan(out);
    case QMetaType::LongLong: out = double(*static_cast<const qlonglong *>(p)); return true;
    case QMetaType::UInt: out = *static_cast<const uint *>(p); return true;
    case QMetaType::ULongLong: out = double(*static_cast<const qulonglong *>(p)); return true;
    case QMetaType::Short: out = *static_cast<const short *>(p); return true;
    case QMetaType::UShort: out = *static_cast<const ushort *>(p); return true;
    case QMetaType::Long: out = double(*static_cast<const long *>(p)); return true;
    case QMetaType::ULong: out = double(*static_cast<const ulong *>(p)); return true;
    case QMetaType::Char: out = *static_cast<const char *>(p); return true;
    case QMetaType::SChar: out = *static_cast<const signed char *>(p); return true;
    case QMetaType::UChar: out = *static_cast<const uchar *>(p); return true;
    case QMetaType::Bool: out = *static_cast<const bool *>(p) ? 1 : 0; return true;
    case QMetaType::Float:
        out = *static_cast<const float *>(p);
        return !std::isnan(out);
    case QMetaType::QDate: {
        const QDate &d = *static_cast<const QDate *>(p);
        if (!d.isValid())
            return false;
        out = serial(d, QTime());
        return true;
    }
    case QMetaType::QDateTime: {
        const QDateTime &dt = *static_cast<const QDateTime *>(p);
        if (!dt.isValid())
            return false;
        out = serial(dt.date(), dt.time());
        return true;
    }
    case QMetaType::QTime: {
        const QTime &t = *static_cast<const QTime *>(p);
        if (!t.isValid())
            return false;
        out = t.msecsSinceStartOfDay() / 86400000.0;
        return true;
    }
    case QMetaType::QString: {
        const QString &s = *static_cast<const QString *>(p);
        return readNumber(s, out) || readDate(s, out);
    }
    default: {
        bool ok = false;
        out = v.toDouble(&ok);
        return ok && !std::isnan(out);
    }
    }
}

inline bool apply(CmpOp op, int c)
{
    switch (op) {
    case CmpOp::Eq: return c == 0;
    case CmpOp::Ne: return c != 0;
    case CmpOp::Lt: return c < 0;
    case CmpOp::Gt: return c > 0;
    case CmpOp::Le: return c <= 0;
    case CmpOp::Ge: return c >= 0;
    }
    return false;
}

inline bool apply(CmpOp op, double a, double b)
{
    switch (op) {
    case CmpOp::Eq: return a == b;
    case CmpOp::Ne: return a != b;
    case CmpOp::Lt: return a < b;
    case CmpOp::Gt: return a > b;
    case CmpOp::Le: return a <= b;
    case CmpOp::Ge: return a >= b;
    }
    return false;
}

} // namespace

struct Filter::Program {
    std::vector<Node> nodes;
    std::vector<int> children;
    std::vector<QString> texts;
    std::vector<double> numbers;
    int root = -1;

    bool eval(int index, const QList<QVariant> &row) const;
    bool compare(const Node &n, const QList<QVariant> &row) const;
    bool compareText(const Node &n, const QString &s) const;
    bool compareConverted(const Node &n, const QVariant &v) const;
    bool evalNode(int index, const QList<QVariant> &row) const
    {
        const Node &n = nodes[size_t(index)];
        return n.kind >= Kind::Text ? compare(n, row) : eval(index, row);
    }
};

inline bool Filter::Program::compareText(const Node &n, const QString &s) const
{
    switch (n.kind) {
    case Kind::Text: {
        const QString &k = texts[size_t(n.first)];
        if (n.op == CmpOp::Eq)
            return sameText(s, k);
        if (n.op == CmpOp::Ne)
            return !sameText(s, k);
        return apply(n.op, s.compare(k, Qt::CaseSensitive));
    }
    case Kind::TextAsNumber: {
        double d;
        if (!readNumber(s, d))
            return n.op == CmpOp::Ne;
        return apply(n.op, d, n.number);
    }
    case Kind::TextSet: {
        const auto b = texts.begin() + n.first;
        return std::binary_search(b, b + n.count, s);
    }
    case Kind::TextAsNumberSet: {
        double d;
        if (!readNumber(s, d))
            return false;
        const auto b = numbers.begin() + n.first;
        return std::binary_search(b, b + n.count, d);
    }
    default:
        return false;
    }
}

// A text column holding something else than a QString: compare its text form.
Q_NEVER_INLINE bool Filter::Program::compareConverted(const Node &n, const QVariant &v) const
{
    return compareText(n, v.toString());
}

inline bool Filter::Program::compare(const Node &n, const QList<QVariant> &row) const
{
    const QVariant *v = cellAt(row, n.column);
    if (!v)
        return false;
    if (n.kind == Kind::Number || n.kind == Kind::NumberSet) {
        double d;
        if (!numberOf(*v, d))
            return false;
        if (n.kind == Kind::Number)
            return apply(n.op, d, n.number);
        const auto b = numbers.begin() + n.first;
        return std::binary_search(b, b + n.count, d);
    }
    if (const QString *s = stringCell(*v))
        return compareText(n, *s);
    return compareConverted(n, *v);
}

bool Filter::Program::eval(int index, const QList<QVariant> &row) const
{
    const Node &n = nodes[size_t(index)];
    switch (n.kind) {
    case Kind::Or: {
        const int *c = children.data() + n.first;
        for (int i = 0; i < n.count; ++i)
            if (evalNode(c[i], row))
                return true;
        return false;
    }
    case Kind::And: {
        const int *c = children.data() + n.first;
        for (int i = 0; i < n.count; ++i)
            if (!evalNode(c[i], row))
                return false;
        return true;
    }
    case Kind::Not:
        return !evalNode(n.first, row);
    default:
        return compare(n, row);
    }
}

namespace {

class Parser {
public:
    Parser(const QString &source, const QList<FilterColumn> &columns, Filter::Program &program)
        : m_src(source), m_columns(columns), m_p(program)
    {
    }

    int parse()
    {
        next();
        const int root = parseOr();
        if (m_tok.type == Tok::RParen)
            fail(m_tok.pos, QStringLiteral("parêntese \")\" sem o \"(\" correspondente"));
        if (m_tok.type != Tok::End)
            fail(m_tok.pos, QStringLiteral("esperado AND, OR ou o fim da expressão"));
        return root;
    }

private:
    enum class Tok { End, Field, Text, Number, LParen, RParen, Op, And, Or, Not };
    struct Token {
        Tok type = Tok::End;
        qsizetype pos = 0;
        qsizetype len = 0;
        CmpOp op = CmpOp::Eq;
        QString text;
        double number = 0;
    };
    struct Operand {
        Tok type = Tok::End; // Field, Text or Number
        qsizetype pos = 0;
        int column = -1;
        QString text;
        double number = 0;
    };

    [[noreturn]] void fail(qsizetype pos, const QString &detail) const
    {
        // One-pass arg(): the expression itself may contain "%1".
        throw Error(QStringLiteral("Erro no filtro \"%1\", posição %2: %3.")
                        .arg(m_src, QString::number(pos + 1), detail));
    }

    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }
    static bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

    void next()
    {
        const qsizetype n = m_src.size();
        qsizetype i = m_pos;
        while (i < n && m_src[i].isSpace())
            ++i;
        m_tok = Token();
        m_tok.pos = i;
        if (i >= n) {
            m_pos = i;
            return;
        }
        const QChar c = m_src[i];
        auto single = [&](Tok t, qsizetype len, CmpOp op = CmpOp::Eq) {
            m_tok.type = t;
            m_tok.op = op;
            m_tok.len = len;
            m_pos = i + len;
        };
        auto at = [&](qsizetype k) { return k < n ? m_src[k] : QChar(); };
        if (c == u'(') {
            single(Tok::LParen, 1);
        } else if (c == u')') {
            single(Tok::RParen, 1);
        } else if (c == u'=') {
            single(Tok::Op, 1, CmpOp::Eq);
        } else if (c == u'<') {
            if (at(i + 1) == u'=')
                single(Tok::Op, 2, CmpOp::Le);
            else if (at(i + 1) == u'>')
                single(Tok::Op, 2, CmpOp::Ne);
            else
                single(Tok::Op, 1, CmpOp::Lt);
        } else if (c == u'>') {
            if (at(i + 1) == u'=')
                single(Tok::Op, 2, CmpOp::Ge);
            else
                single(Tok::Op, 1, CmpOp::Gt);
        } else if (c == u'\'') {
            QString text;
            qsizetype k = i + 1;
            for (;;) {
                if (k >= n)
                    fail(i, QStringLiteral("texto sem o apóstrofo de fechamento"));
                if (m_src[k] == u'\'') {
                    if (at(k + 1) == u'\'') {
                        text += u'\'';
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                text += m_src[k];
                ++k;
            }
            m_tok.type = Tok::Text;
            m_tok.text = text;
            m_tok.len = k - i;
            m_pos = k;
        } else if (isDigit(c) || (c == u'.' && isDigit(at(i + 1)))
                   || ((c == u'-' || c == u'+')
                       && (isDigit(at(i + 1)) || (at(i + 1) == u'.' && isDigit(at(i + 2)))))) {
            qsizetype k = i + 1;
            bool point = c == u'.';
            while (k < n && (isDigit(m_src[k]) || (m_src[k] == u'.' && !point))) {
                point = point || m_src[k] == u'.';
                ++k;
            }
            if (k < n && (isWordChar(m_src[k]) || m_src[k] == u'.'))
                fail(i, QStringLiteral("número mal formado"));
            double v = 0;
            if (!readNumber(QStringView(m_src).mid(i, k - i), v))
                fail(i, QStringLiteral("número mal formado"));
            m_tok.type = Tok::Number;
            m_tok.number = v;
            m_tok.len = k - i;
            m_pos = k;
        } else if (c.isLetter() || c == u'_') {
            qsizetype k = i + 1;
            while (k < n && isWordChar(m_src[k]))
                ++k;
            m_tok.text = m_src.mid(i, k - i);
            m_tok.len = k - i;
            m_pos = k;
            if (m_tok.text.compare(QLatin1String("AND"), Qt::CaseInsensitive) == 0)
                m_tok.type = Tok::And;
            else if (m_tok.text.compare(QLatin1String("OR"), Qt::CaseInsensitive) == 0)
                m_tok.type = Tok::Or;
            else if (m_tok.text.compare(QLatin1String("NOT"), Qt::CaseInsensitive) == 0)
                m_tok.type = Tok::Not;
            else
                m_tok.type = Tok::Field;
        } else {
            fail(i, QStringLiteral("caractere inesperado \"%1\"").arg(c));
        }
    }

    int addNode(const Node &n)
    {
        m_p.nodes.push_back(n);
        return int(m_p.nodes.size() - 1);
    }

    int addList(Kind kind, const std::vector<int> &items)
    {
        Node n{kind};
        n.first = int(m_p.children.size());
        n.count = int(items.size());
        m_p.children.insert(m_p.children.end(), items.begin(), items.end());
        return addNode(n);
    }

    int parseOr()
    {
        std::vector<int> items{parseAnd()};
        while (m_tok.type == Tok::Or) {
            next();
            items.push_back(parseAnd());
        }
        if (items.size() == 1)
            return items.front();
        gatherSets(items);
        return items.size() == 1 ? items.front() : addList(Kind::Or, items);
    }

    int parseAnd()
    {
        std::vector<int> items{parseFactor()};
        while (m_tok.type == Tok::And) {
            next();
            items.push_back(parseFactor());
        }
        return items.size() == 1 ? items.front() : addList(Kind::And, items);
    }

    int parseFactor()
    {
        if (m_tok.type == Tok::Not || m_tok.type == Tok::LParen) {
            if (++m_depth > kMaxDepth)
                fail(m_tok.pos, QStringLiteral("expressão aninhada demais"));
            int result;
            if (m_tok.type == Tok::Not) {
                next();
                Node n{Kind::Not};
                n.first = parseFactor();
                result = addNode(n);
            } else {
                const qsizetype open = m_tok.pos;
                next();
                result = parseOr();
                if (m_tok.type != Tok::RParen) {
                    if (m_tok.type == Tok::End)
                        fail(open, QStringLiteral("parêntese \"(\" sem o \")\" de fechamento"));
                    fail(m_tok.pos, QStringLiteral("esperado \")\", AND ou OR"));
                }
                next();
            }
            --m_depth;
            return result;
        }
        return parseComparison();
    }

    Operand parseOperand()
    {
        Operand o;
        o.pos = m_tok.pos;
        switch (m_tok.type) {
        case Tok::Field: {
            o.type = Tok::Field;
            o.column = -1;
            for (qsizetype c = 0; c < m_columns.size(); ++c) {
                if (m_columns.at(c).name.compare(m_tok.text, Qt::CaseInsensitive) == 0) {
                    o.column = int(c);
                    break;
                }
            }
            if (o.column < 0)
                fail(o.pos, QStringLiteral("campo \"%1\" desconhecido").arg(m_tok.text));
            break;
        }
        case Tok::Text:
            o.type = Tok::Text;
            o.text = m_tok.text;
            break;
        case Tok::Number:
            o.type = Tok::Number;
            o.number = m_tok.number;
            break;
        case Tok::End:
            fail(o.pos, QStringLiteral("expressão incompleta"));
        default:
            fail(o.pos, QStringLiteral("esperado um campo, um texto entre apóstrofos ou um número"));
        }
        next();
        return o;
    }

    static CmpOp mirrored(CmpOp op)
    {
        switch (op) {
        case CmpOp::Lt: return CmpOp::Gt;
        case CmpOp::Gt: return CmpOp::Lt;
        case CmpOp::Le: return CmpOp::Ge;
        case CmpOp::Ge: return CmpOp::Le;
        default: return op;
        }
    }

    int parseComparison()
    {
        Operand left = parseOperand();
        if (m_tok.type != Tok::Op) {
            if (m_tok.type == Tok::End)
                fail(m_tok.pos, QStringLiteral("expressão incompleta, falta o operador de comparação"));
            fail(m_tok.pos, QStringLiteral("esperado um operador de comparação (=, <>, <, >, <=, >=)"));
        }
        CmpOp op = m_tok.op;
        next();
        Operand right = parseOperand();
        if (left.type == Tok::Field && right.type == Tok::Field)
            fail(right.pos, QStringLiteral("a comparação de um campo com outro campo não é aceita"));
        if (left.type != Tok::Field && right.type != Tok::Field)
            fail(left.pos, QStringLiteral("a comparação precisa de um campo"));
        if (left.type != Tok::Field) {
            std::swap(left, right);
            op = mirrored(op);
        }
        const FilterColumn &column = m_columns.at(left.column);
        Node n{Kind::Number};
        n.op = op;
        n.column = left.column;
        if (column.text) {
            if (right.type == Tok::Text) {
                n.kind = Kind::Text;
                n.first = int(m_p.texts.size());
                m_p.texts.push_back(right.text);
            } else {
                n.kind = Kind::TextAsNumber;
                n.number = right.number;
            }
        } else if (right.type == Tok::Number) {
            n.number = right.number;
        } else if (!readNumber(right.text, n.number) && !readDate(right.text, n.number)) {
            fail(right.pos, QStringLiteral("o valor '%1' não é número nem data, como pede o campo %2")
                                .arg(right.text, column.name));
        }
        return addNode(n);
    }

    // Replaces kSetThreshold or more equalities on one column (same way of
    // comparing) among the operands of an OR by one set lookup, placed where
    // the first of them stood.
    void gatherSets(std::vector<int> &items)
    {
        struct Group {
            Kind kind;
            int column;
            std::vector<int> members;
            int set = -1;
        };
        std::vector<Group> groups;
        std::vector<int> groupOf(items.size(), -1);
        for (size_t i = 0; i < items.size(); ++i) {
            const Node &n = m_p.nodes[size_t(items[i])];
            if (n.op != CmpOp::Eq
                || (n.kind != Kind::Text && n.kind != Kind::Number && n.kind != Kind::TextAsNumber))
                continue;
            auto g = std::find_if(groups.begin(), groups.end(), [&](const Group &x) {
                return x.kind == n.kind && x.column == n.column;
            });
            if (g == groups.end()) {
                groups.push_back(Group{n.kind, n.column, {}});
                g = groups.end() - 1;
            }
            g->members.push_back(items[i]);
            groupOf[i] = int(g - groups.begin());
        }
        bool any = false;
        for (Group &g : groups) {
            if (int(g.members.size()) < kSetThreshold)
                continue;
            any = true;
            Node set{Kind::NumberSet};
            set.column = g.column;
            if (g.kind == Kind::Text) {
                set.kind = Kind::TextSet;
                std::vector<QString> values;
                values.reserve(g.members.size());
                for (int m : g.members)
                    values.push_back(m_p.texts[size_t(m_p.nodes[size_t(m)].first)]);
                std::sort(values.begin(), values.end());
                values.erase(std::unique(values.begin(), values.end()), values.end());
                set.first = int(m_p.texts.size());
                set.count = int(values.size());
                m_p.texts.insert(m_p.texts.end(), values.begin(), values.end());
            } else {
                set.kind = g.kind == Kind::Number ? Kind::NumberSet : Kind::TextAsNumberSet;
                std::vector<double> values;
                values.reserve(g.members.size());
                for (int m : g.members)
                    values.push_back(m_p.nodes[size_t(m)].number);
                std::sort(values.begin(), values.end());
                values.erase(std::unique(values.begin(), values.end()), values.end());
                set.first = int(m_p.numbers.size());
                set.count = int(values.size());
                m_p.numbers.insert(m_p.numbers.end(), values.begin(), values.end());
            }
            g.set = addNode(set);
        }
        if (!any)
            return;
        std::vector<int> rest;
        for (size_t i = 0; i < items.size(); ++i) {
            const int g = groupOf[i];
            if (g < 0 || groups[size_t(g)].set < 0)
                rest.push_back(items[i]);
            else if (items[i] == groups[size_t(g)].members.front())
                rest.push_back(groups[size_t(g)].set);
        }
        items.swap(rest);
    }

    const QString &m_src;
    const QList<FilterColumn> &m_columns;
    Filter::Program &m_p;
    Token m_tok;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

// Value equality for locate: null only with null, texts exactly, numbers and
// dates numerically.
struct Key {
    enum class Type { Null, Text, Number } type = Type::Null;
    const QString *text = nullptr;
    QString ownText;
    double number = 0;
};

bool keyMatches(const Key &key, const QList<QVariant> &row, int column)
{
    const QVariant *v = cellAt(row, column);
    switch (key.type) {
    case Key::Type::Null: return !v;
    case Key::Type::Text: {
        if (!v)
            return false;
        QString scratch;
        return *textOf(*v, scratch) == *key.text;
    }
    case Key::Type::Number: {
        double d;
        return v && numberOf(*v, d) && d == key.number;
    }
    }
    return false;
}

} // namespace

Filter::Filter() = default;

Filter Filter::parse(const QString &expression, const QList<FilterColumn> &columns)
{
    Filter f;
    f.m_text = expression;
    if (expression.trimmed().isEmpty())
        return f;
    auto program = std::make_shared<Program>();
    Parser parser(expression, columns, *program);
    program->root = parser.parse();
    f.m_program = std::move(program);
    return f;
}

bool Filter::matches(const QList<QVariant> &row) const
{
    return !m_program || m_program->evalNode(m_program->root, row);
}

QList<qsizetype> Filter::select(const QList<QList<QVariant>> &rows) const
{
    QList<qsizetype> result;
    result.reserve(rows.size());
    const qsizetype n = rows.size();
    if (!m_program) {
        for (qsizetype i = 0; i < n; ++i)
            result.append(i);
        return result;
    }
    const Program &p = *m_program;
    for (qsizetype i = 0; i < n; ++i)
        if (p.evalNode(p.root, rows.at(i)))
            result.append(i);
    return result;
}

qsizetype Filter::indexOf(const QList<QList<QVariant>> &rows, qsizetype from) const
{
    for (qsizetype i = std::max<qsizetype>(from, 0); i < rows.size(); ++i)
        if (matches(rows.at(i)))
            return i;
    return -1;
}

qsizetype Filter::locate(const QList<QList<QVariant>> &rows, const QList<int> &keyColumns,
                         const QList<QVariant> &keyValues, qsizetype from) const
{
    if (keyColumns.size() != keyValues.size())
        throw Error(QStringLiteral("Localização com %1 campos e %2 valores.")
                        .arg(keyColumns.size())
                        .arg(keyValues.size()));
    for (int column : keyColumns)
        if (column < 0)
            throw Error(QStringLiteral("Localização com a coluna inválida %1.").arg(column));
    std::vector<Key> keys(size_t(keyValues.size()));
    for (qsizetype k = 0; k < keyValues.size(); ++k) {
        const QVariant &v = keyValues.at(k);
        Key &key = keys[size_t(k)];
        if (v.isNull()) {
            key.type = Key::Type::Null;
        } else if (v.metaType() == kStringType) {
            key.type = Key::Type::Text;
            key.text = static_cast<const QString *>(v.constData());
        } else if (numberOf(v, key.number)) {
            key.type = Key::Type::Number;
        } else {
            key.type = Key::Type::Text;
            key.ownText = v.toString();
            key.text = &key.ownText;
        }
    }
    for (qsizetype i = std::max<qsizetype>(from, 0); i < rows.size(); ++i) {
        const QList<QVariant> &row = rows.at(i);
        bool same = true;
        for (size_t k = 0; k < keys.size() && same; ++k)
            same = keyMatches(keys[k], row, keyColumns.at(qsizetype(k)));
        if (same && matches(row))
            return i;
    }
    return -1;
}

} // namespace orven::db
