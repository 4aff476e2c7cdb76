#include "db/Connection.h"

#include "common/Text.h"
#include "config/Installation.h"
#include "config/PathResolver.h"
#include "db/Firebird.h"

#include <ibase.h>

#include <QDateTime>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orven::db {

bool DatabaseError::isLockConflict() const noexcept
{
    return m_gdsCode == isc_lock_conflict || m_gdsCode == isc_update_conflict || m_gdsCode == isc_deadlock;
}

namespace {

constexpr unsigned short kDialect = SQL_DIALECT_V6;
constexpr int kCharsetOctets = 1;

// Read committed, newest committed version of a row, waiting on locks.
const char kTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait};

bool failed(const ISC_STATUS *status) { return status[0] == 1 && status[1] != 0; }

[[noreturn]] void throwStatus(const ISC_STATUS *status)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *p = status;
    while (fb_interpret(buffer, sizeof buffer, &p)) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += text::fromWindows1252(QByteArray(buffer));
    }
    throw DatabaseError(text, long(isc_sqlcode(status)), long(status[1]));
}

void check(const ISC_STATUS *status)
{
    if (failed(status))
        throwStatus(status);
}

// ---- dates and times as the engine keeps them ------------------------------

const QDate kBaseDate(1858, 11, 17);

ISC_DATE toIscDate(const QDate &d) { return ISC_DATE(kBaseDate.daysTo(d)); }
QDate fromIscDate(ISC_DATE d) { return kBaseDate.addDays(d); }
// Time of day in ten-thousandths of a second.
ISC_TIME toIscTime(const QTime &t) { return ISC_TIME(t.msecsSinceStartOfDay()) * 10; }
QTime fromIscTime(ISC_TIME t) { return QTime::fromMSecsSinceStartOfDay(int(t / 10)); }

// ---- descriptor areas --------------------------------------------------------

class Sqlda {
public:
    explicit Sqlda(int n) { allocate(n); }
    ~Sqlda() { std::free(m_da); }
    Sqlda(const Sqlda &) = delete;
    Sqlda &operator=(const Sqlda &) = delete;

    void allocate(int n)
    {
        std::free(m_da);
        n = std::max(n, 1);
        m_da = static_cast<XSQLDA *>(std::calloc(1, XSQLDA_LENGTH(n)));
        if (!m_da)
            throw Error(QStringLiteral("Memória insuficiente."));
        m_da->version = SQLDA_VERSION1;
        m_da->sqln = short(n);
    }
    XSQLDA *get() const { return m_da; }
    XSQLVAR &var(int i) const { return m_da->sqlvar[i]; }
    int count() const { return m_da->sqld; }

    // Buffers owned for the variables.
    char *buffer(int i, int size)
    {
        if (int(m_buffers.size()) <= i)
            m_buffers.resize(i + 1);
        m_buffers[i] = QByteArray(std::max(size, 1), '\0');
        return m_buffers[i].data();
    }
    void prepareIndicators()
    {
        m_indicators.assign(std::max(count(), 1), 0);
        for (int i = 0; i < count(); ++i)
            var(i).sqlind = &m_indicators[i];
    }

private:
    XSQLDA *m_da = nullptr;
    std::vector<QByteArray> m_buffers;
    std::vector<short> m_indicators;
};

FieldType typeOf(const XSQLVAR &v)
{
    switch (v.sqltype & ~1) {
    case SQL_VARYING:
        return FieldType::String;
    case SQL_TEXT:
        return FieldType::FixedChar;
    case SQL_SHORT:
        return v.sqlscale < 0 ? FieldType::Float : FieldType::SmallInt;
    case SQL_LONG:
        return v.sqlscale < 0 ? FieldType::Float : FieldType::Integer;
    case SQL_INT64:
        return v.sqlscale < 0 ? FieldType::Float : FieldType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return FieldType::Float;
    case SQL_TYPE_DATE:
        return FieldType::Date;
    case SQL_TYPE_TIME:
        return FieldType::Time;
    case SQL_TIMESTAMP:
        return FieldType::DateTime;
    case SQL_BLOB:
        return v.sqlsubtype == isc_blob_text ? FieldType::Memo : FieldType::Blob;
    case SQL_BOOLEAN:
        return FieldType::Boolean;
    default:
        return FieldType::Unknown;
    }
}

bool isOctets(const XSQLVAR &v) { return (v.sqlsubtype & 0xFF) == kCharsetOctets; }

// Dividing by the exact power of ten gives the double nearest to the decimal.
double scaled(qint64 value, short scale) { return double(value) / std::pow(10.0, -scale); }

qint64 unscaled(const QVariant &value, short scale)
{
    if (scale >= 0)
        return value.toLongLong();
    return std::llround(value.toDouble() * std::pow(10.0, -scale));
}

bool isNumericVariant(const QVariant &v)
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

bool isNull(const QVariant &v) { return !v.isValid() || v.isNull(); }

QByteArray textBytes(const QVariant &v)
{
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    if (v.typeId() == QMetaType::Double)
        return QByteArray::number(v.toDouble(), 'g', 17);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    if (v.typeId() == QMetaType::QTime)
        return v.toTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    return text::toWindows1252(v.toString());
}

// ---- one statement -----------------------------------------------------------

class Statement {
public:
    Statement(isc_db_handle *db, isc_tr_handle *tr) : m_db(db), m_tr(tr) {}
    ~Statement()
    {
        if (m_stmt) {
            ISC_STATUS_ARRAY status{};
            isc_dsql_free_statement(status, &m_stmt, DSQL_drop);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void prepare(const QString &sql)
    {
        ISC_STATUS_ARRAY status{};
        isc_dsql_allocate_statement(status, m_db, &m_stmt);
        check(status);
        const QByteArray text = text::toWindows1252(sql);
        isc_dsql_prepare(status, m_tr, &m_stmt, 0, text.constData(), kDialect, m_out.get());
        check(status);
        if (m_out.count() > m_out.get()->sqln) {
            m_out.allocate(m_out.count());
            isc_dsql_describe(status, &m_stmt, kDialect, m_out.get());
            check(status);
        }
        isc_dsql_describe_bind(status, &m_stmt, kDialect, m_in.get());
        check(status);
        if (m_in.count() > m_in.get()->sqln) {
            m_in.allocate(m_in.count());
            isc_dsql_describe_bind(status, &m_stmt, kDialect, m_in.get());
            check(status);
        }
        m_type = statementType();
    }

    void bind(const QVariantList &params)
    {
        if (params.size() != m_in.count())
            throw Error(QStringLiteral("O comando espera %1 parâmetro(s) e recebeu %2.")
                            .arg(m_in.count())
                            .arg(params.size()));
        m_in.prepareIndicators();
        for (int i = 0; i < m_in.count(); ++i)
            bindOne(m_in.var(i), i, params.at(i));
    }

    bool isSelect() const { return m_type == isc_info_sql_stmt_select || m_type == isc_info_sql_stmt_select_for_upd; }

    // Runs the statement; a select is left open for fetching.
    void execute()
    {
        ISC_STATUS_ARRAY status{};
        if (m_type == isc_info_sql_stmt_exec_procedure && m_out.count() > 0) {
            prepareOutput();
            isc_dsql_execute2(status, m_tr, &m_stmt, kDialect, m_in.count() ? m_in.get() : nullptr, m_out.get());
            check(status);
            m_procedureRow = true;
            return;
        }
        if (isSelect())
            prepareOutput();
        isc_dsql_execute(status, m_tr, &m_stmt, kDialect, m_in.count() ? m_in.get() : nullptr);
        check(status);
    }

    QList<ColumnInfo> columns() const
    {
        QList<ColumnInfo> list;
        if (!isSelect() && !m_procedureRow)
            return list;
        for (int i = 0; i < m_out.count(); ++i) {
            const XSQLVAR &v = m_out.var(i);
            ColumnInfo c;
            c.name = QString::fromLatin1(v.aliasname, v.aliasname_length);
            c.relation = QString::fromLatin1(v.relname, v.relname_length);
            c.sourceName = QString::fromLatin1(v.sqlname, v.sqlname_length);
            c.type = typeOf(v);
            const int base = v.sqltype & ~1;
            c.size = (base == SQL_VARYING || base == SQL_TEXT) ? v.sqllen : 0;
            c.scale = v.sqlscale < 0 ? -v.sqlscale : 0;
            c.nullable = (v.sqltype & 1) != 0;
            list.append(c);
        }
        return list;
    }

    // The next row, or false at the end.
    bool fetch(Row &row)
    {
        if (m_procedureRow) {
            if (m_procedureFetched)
                return false;
            m_procedureFetched = true;
        } else {
            ISC_STATUS_ARRAY status{};
            const ISC_STATUS rc = isc_dsql_fetch(status, &m_stmt, kDialect, m_out.get());
            if (rc == 100)
                return false;
            check(status);
        }
        row.resize(m_out.count());
        for (int i = 0; i < m_out.count(); ++i)
            row[i] = value(m_out.var(i));
        return true;
    }

    int affectedRows() const
    {
        char request = isc_info_sql_records;
        char buffer[64];
        ISC_STATUS_ARRAY status{};
        isc_dsql_sql_info(status, const_cast<isc_stmt_handle *>(&m_stmt), 1, &request, sizeof buffer, buffer);
        if (failed(status) || buffer[0] != isc_info_sql_records)
            return -1;
        char wanted = 0;
        switch (m_type) {
        case isc_info_sql_stmt_update:
            wanted = isc_info_req_update_count;
            break;
        case isc_info_sql_stmt_delete:
            wanted = isc_info_req_delete_count;
            break;
        case isc_info_sql_stmt_insert:
            wanted = isc_info_req_insert_count;
            break;
        case isc_info_sql_stmt_exec_procedure:
            break; // sum of the three
        default:
            return -1;
        }
        int total = -1;
        const char *p = buffer + 3;
        const char *end = buffer + sizeof buffer;
        while (p < end && *p != isc_info_end) {
            const char kind = *p++;
            const short length = short(isc_vax_integer(p, 2));
            p += 2;
            const int value = int(isc_vax_integer(p, length));
            p += length;
            const bool counted = wanted ? kind == wanted
                                        : (kind == isc_info_req_update_count || kind == isc_info_req_delete_count ||
                                           kind == isc_info_req_insert_count);
            if (counted)
                total = (total < 0 ? 0 : total) + value;
        }
        return total;
    }

private:
    int statementType()
    {
        char request = isc_info_sql_stmt_type;
        char buffer[16];
        ISC_STATUS_ARRAY status{};
        isc_dsql_sql_info(status, &m_stmt, 1, &request, sizeof buffer, buffer);
        check(status);
        const short length = short(isc_vax_integer(buffer + 1, 2));
        return int(isc_vax_integer(buffer + 3, length));
    }

    void prepareOutput()
    {
        m_out.prepareIndicators();
        for (int i = 0; i < m_out.count(); ++i) {
            XSQLVAR &v = m_out.var(i);
            int size = v.sqllen;
            if ((v.sqltype & ~1) == SQL_VARYING)
                size += int(sizeof(short));
            v.sqldata = m_out.buffer(i, size);
        }
    }

    void setText(XSQLVAR &v, int i, const QByteArray &bytes)
    {
        const short subtype = (v.sqltype & ~1) == SQL_VARYING || (v.sqltype & ~1) == SQL_TEXT ? v.sqlsubtype : 0;
        v.sqltype = SQL_VARYING | 1;
        v.sqlsubtype = subtype;
        v.sqlscale = 0;
        v.sqllen = short(std::min<qsizetype>(bytes.size(), SHRT_MAX));
        char *data = m_in.buffer(i, int(sizeof(short)) + v.sqllen);
        *reinterpret_cast<short *>(data) = v.sqllen;
        std::memcpy(data + sizeof(short), bytes.constData(), size_t(v.sqllen));
        v.sqldata = data;
    }

    void bindOne(XSQLVAR &v, int i, const QVariant &value)
    {
        if (isNull(value)) {
            v.sqltype = short(v.sqltype | 1);
            v.sqldata = m_in.buffer(i, std::max<int>(v.sqllen, 8) + int(sizeof(short)));
            *v.sqlind = -1;
            return;
        }
        *v.sqlind = 0;
        const int base = v.sqltype & ~1;
        switch (base) {
        case SQL_BLOB: {
            const QByteArray bytes = textBytes(value);
            auto *id = reinterpret_cast<ISC_QUAD *>(m_in.buffer(i, sizeof(ISC_QUAD)));
            writeBlob(id, bytes);
            v.sqltype = SQL_BLOB | 1;
            v.sqldata = reinterpret_cast<char *>(id);
            return;
        }
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            if (isNumericVariant(value)) {
                const short scale = v.sqlscale;
                v.sqltype = SQL_INT64 | 1;
                v.sqllen = sizeof(qint64);
                v.sqlscale = scale;
                char *data = m_in.buffer(i, sizeof(qint64));
                *reinterpret_cast<qint64 *>(data) = unscaled(value, scale);
                v.sqldata = data;
                return;
            }
            break;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            if (isNumericVariant(value)) {
                v.sqltype = SQL_DOUBLE | 1;
                v.sqllen = sizeof(double);
                v.sqlscale = 0;
                char *data = m_in.buffer(i, sizeof(double));
                *reinterpret_cast<double *>(data) = value.toDouble();
                v.sqldata = data;
                return;
            }
            break;
        case SQL_TYPE_DATE:
            if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
                v.sqltype = SQL_TYPE_DATE | 1;
                v.sqllen = sizeof(ISC_DATE);
                char *data = m_in.buffer(i, sizeof(ISC_DATE));
                *reinterpret_cast<ISC_DATE *>(data) = toIscDate(value.toDate());
                v.sqldata = data;
                return;
            }
            break;
        case SQL_TYPE_TIME:
            if (value.typeId() == QMetaType::QTime || value.typeId() == QMetaType::QDateTime) {
                v.sqltype = SQL_TYPE_TIME | 1;
                v.sqllen = sizeof(ISC_TIME);
                char *data = m_in.buffer(i, sizeof(ISC_TIME));
                *reinterpret_cast<ISC_TIME *>(data) = toIscTime(value.toTime());
                v.sqldata = data;
                return;
            }
            break;
        case SQL_TIMESTAMP:
            if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
                const QDateTime dt = value.typeId() == QMetaType::QDate ? value.toDate().startOfDay()
                                                                       : value.toDateTime();
                v.sqltype = SQL_TIMESTAMP | 1;
                v.sqllen = sizeof(ISC_TIMESTAMP);
                char *data = m_in.buffer(i, sizeof(ISC_TIMESTAMP));
                auto *ts = reinterpret_cast<ISC_TIMESTAMP *>(data);
                ts->timestamp_date = toIscDate(dt.date());
                ts->timestamp_time = toIscTime(dt.time());
                v.sqldata = data;
                return;
            }
            break;
        case SQL_BOOLEAN:
            if (isNumericVariant(value)) {
                v.sqltype = SQL_BOOLEAN | 1;
                v.sqllen = sizeof(FB_BOOLEAN);
                char *data = m_in.buffer(i, sizeof(FB_BOOLEAN));
                *reinterpret_cast<FB_BOOLEAN *>(data) = value.toBool() ? FB_TRUE : FB_FALSE;
                v.sqldata = data;
                return;
            }
            break;
        default:
            break;
        }
        // Text, or a value of another kind than the parameter: sent as text,
        // which the engine converts (and refuses with its own message).
        setText(v, i, textBytes(value));
    }

    void writeBlob(ISC_QUAD *id, const QByteArray &bytes)
    {
        ISC_STATUS_ARRAY status{};
        isc_blob_handle blob = 0;
        isc_create_blob2(status, m_db, m_tr, &blob, id, 0, nullptr);
        check(status);
        constexpr qsizetype chunk = 32 * 1024;
        for (qsizetype at = 0; at < bytes.size(); at += chunk) {
            const auto n = static_cast<unsigned short>(std::min(chunk, bytes.size() - at));
            isc_put_segment(status, &blob, n, bytes.constData() + at);
            if (failed(status)) {
                ISC_STATUS_ARRAY ignore{};
                isc_cancel_blob(ignore, &blob);
                throwStatus(status);
            }
        }
        isc_close_blob(status, &blob);
        check(status);
    }

    QByteArray readBlob(ISC_QUAD *id)
    {
        ISC_STATUS_ARRAY status{};
        isc_blob_handle blob = 0;
        isc_open_blob2(status, m_db, m_tr, &blob, id, 0, nullptr);
        check(status);
        QByteArray data;
        char segment[32 * 1024];
        for (;;) {
            unsigned short length = 0;
            const ISC_STATUS rc = isc_get_segment(status, &blob, &length, sizeof segment, segment);
            if (rc == 0 || status[1] == isc_segment) {
                data.append(segment, length);
                continue;
            }
            if (status[1] == isc_segstr_eof)
                break;
            ISC_STATUS_ARRAY ignore{};
            isc_close_blob(ignore, &blob);
            throwStatus(status);
        }
        isc_close_blob(status, &blob);
        return data;
    }

    QVariant value(XSQLVAR &v)
    {
        if ((v.sqltype & 1) && *v.sqlind < 0)
            return {};
        const char *data = v.sqldata;
        switch (v.sqltype & ~1) {
        case SQL_VARYING: {
            const short length = *reinterpret_cast<const short *>(data);
            const QByteArray bytes(data + sizeof(short), length);
            return isOctets(v) ? QVariant(bytes) : QVariant(text::fromWindows1252(bytes));
        }
        case SQL_TEXT: {
            const QByteArray bytes(data, v.sqllen);
            return isOctets(v) ? QVariant(bytes) : QVariant(text::fromWindows1252(bytes));
        }
        case SQL_SHORT: {
            const short n = *reinterpret_cast<const short *>(data);
            return v.sqlscale < 0 ? QVariant(scaled(n, v.sqlscale)) : QVariant(int(n));
        }
        case SQL_LONG: {
            const ISC_LONG n = *reinterpret_cast<const ISC_LONG *>(data);
            return v.sqlscale < 0 ? QVariant(scaled(n, v.sqlscale)) : QVariant(int(n));
        }
        case SQL_INT64: {
            const qint64 n = *reinterpret_cast<const qint64 *>(data);
            return v.sqlscale < 0 ? QVariant(scaled(n, v.sqlscale)) : QVariant(qlonglong(n));
        }
        case SQL_FLOAT:
            return QVariant(double(*reinterpret_cast<const float *>(data)));
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            return QVariant(*reinterpret_cast<const double *>(data));
        case SQL_TYPE_DATE:
            return QVariant(fromIscDate(*reinterpret_cast<const ISC_DATE *>(data)));
        case SQL_TYPE_TIME:
            return QVariant(fromIscTime(*reinterpret_cast<const ISC_TIME *>(data)));
        case SQL_TIMESTAMP: {
            const auto *ts = reinterpret_cast<const ISC_TIMESTAMP *>(data);
            return QVariant(QDateTime(fromIscDate(ts->timestamp_date), fromIscTime(ts->timestamp_time)));
        }
        case SQL_BLOB: {
            const QByteArray bytes = readBlob(reinterpret_cast<ISC_QUAD *>(v.sqldata));
            return v.sqlsubtype == isc_blob_text ? QVariant(text::fromWindows1252(bytes)) : QVariant(bytes);
        }
        case SQL_BOOLEAN:
            return QVariant(*reinterpret_cast<const FB_BOOLEAN *>(data) != FB_FALSE);
        default:
            return {};
        }
    }

    isc_db_handle *m_db;
    isc_tr_handle *m_tr;
    isc_stmt_handle m_stmt = 0;
    Sqlda m_out{1};
    Sqlda m_in{1};
    int m_type = 0;
    bool m_procedureRow = false;
    bool m_procedureFetched = false;
};

struct Outcome {
    ResultSet result;
    int affected = -1;
};

Outcome run(isc_db_handle *db, isc_tr_handle *tr, const QString &sql, const QVariantList &params, bool wantRows)
{
    Statement st(db, tr);
    st.prepare(sql);
    st.bind(params);
    st.execute();
    Outcome out;
    if (wantRows) {
        out.result.columns = st.columns();
        Row row;
        while (st.fetch(row))
            out.result.rows.append(row);
    }
    if (!st.isSelect())
        out.affected = st.affectedRows();
    return out;
}

} // namespace

// ---- the connection ------------------------------------------------------------

struct Conexao::Impl {
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    quint64 trId = 0;
    quint64 lastTrId = 0;
    QString fixedPath;
    QString path;

    Outcome work(Conexao &self, const QString &sql, const QVariantList &params, bool wantRows)
    {
        self.open();
        if (tr)
            return run(&db, &tr, sql, params, wantRows);
        // A transaction of its own, committed at once.
        isc_tr_handle own = 0;
        ISC_STATUS_ARRAY status{};
        isc_start_transaction(status, &own, 1, &db, short(sizeof kTpb), kTpb);
        check(status);
        try {
            Outcome out = run(&db, &own, sql, params, wantRows);
            isc_commit_transaction(status, &own);
            check(status);
            return out;
        } catch (...) {
            if (own) {
                ISC_STATUS_ARRAY ignore{};
                isc_rollback_transaction(ignore, &own);
            }
            throw;
        }
    }
};

Conexao::Conexao(QObject *parent) : QObject(parent), d(std::make_unique<Impl>()) {}

Conexao::~Conexao()
{
    try {
        close();
    } catch (...) {
    }
}

QString Conexao::zuntDatabasePath()
{
    const QString ano = config::zuntValue(QStringLiteral("Ano"));
    return config::resolvePath(QStringLiteral("B")) + QStringLiteral("ZUNT") + ano + QStringLiteral(".FDB");
}

void Conexao::setDatabasePath(const QString &path)
{
    d->fixedPath = path;
    if (!isOpen())
        d->path = path;
}

QString Conexao::databasePath() const { return d->path; }

void Conexao::open()
{
    if (d->db)
        return;
    // Before connect: the database path, afresh from the installation.
    d->path = d->fixedPath.isEmpty() ? zuntDatabasePath() : d->fixedPath;

    const QByteArray file = d->path.toLocal8Bit();
    const QByteArray user(firebird::kUser);
    const QByteArray password(firebird::kPassword);
    const QByteArray charset(firebird::kCharset);
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    dpb.append(char(isc_dpb_user_name)).append(char(user.size())).append(user);
    dpb.append(char(isc_dpb_password)).append(char(password.size())).append(password);
    dpb.append(char(isc_dpb_lc_ctype)).append(char(charset.size())).append(charset);
    dpb.append(char(isc_dpb_sql_dialect)).append(char(4));
    const char dialect[4] = {char(kDialect), 0, 0, 0};
    dpb.append(dialect, 4);

    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_attach_database(status, 0, file.constData(), &db, short(dpb.size()), dpb.constData());
    check(status);
    d->db = db;
}

void Conexao::close()
{
    if (!d->db)
        return;
    if (d->tr) {
        ISC_STATUS_ARRAY ignore{};
        isc_rollback_transaction(ignore, &d->tr);
        d->tr = 0;
        const quint64 id = d->trId;
        d->trId = 0;
        emit transactionEnded(id, false);
    }
    ISC_STATUS_ARRAY status{};
    isc_detach_database(status, &d->db);
    d->db = 0;
}

bool Conexao::isOpen() const { return d->db != 0; }

bool Conexao::inTransaction() const { return d->tr != 0; }

quint64 Conexao::transactionId() const { return d->trId; }

void Conexao::startTransaction()
{
    if (d->tr)
        throw Error(QStringLiteral("Já existe uma transação ativa na conexão."));
    open();
    ISC_STATUS_ARRAY status{};
    isc_start_transaction(status, &d->tr, 1, &d->db, short(sizeof kTpb), kTpb);
    check(status);
    d->trId = ++d->lastTrId;
}

void Conexao::commit()
{
    if (!d->tr)
        throw Error(QStringLiteral("Não há transação ativa na conexão."));
    ISC_STATUS_ARRAY status{};
    isc_commit_transaction(status, &d->tr);
    check(status); // the transaction stays active when the commit fails
    d->tr = 0;
    const quint64 id = d->trId;
    d->trId = 0;
    emit transactionEnded(id, true);
}

void Conexao::rollback()
{
    if (!d->tr)
        throw Error(QStringLiteral("Não há transação ativa na conexão."));
    ISC_STATUS_ARRAY status{};
    isc_rollback_transaction(status, &d->tr);
    const quint64 id = d->trId;
    if (failed(status)) {
        // The engine gives the handle up only on success; when the rollback
        // itself fails the attachment is gone and so is the transaction.
        ISC_STATUS_ARRAY ignore{};
        isc_rollback_transaction(ignore, &d->tr);
    }
    d->tr = 0;
    d->trId = 0;
    emit transactionEnded(id, false);
    check(status);
}

int Conexao::execute(const QString &sql, const QVariantList &params)
{
    return d->work(*this, sql, params, false).affected;
}

ResultSet Conexao::select(const QString &sql, const QVariantList &params)
{
    return d->work(*this, sql, params, true).result;
}

QVariant Conexao::selectValue(const QString &sql, const QVariantList &params)
{
    const ResultSet r = select(sql, params);
    if (r.rows.isEmpty() || r.rows.first().isEmpty())
        return {};
    return r.rows.first().first();
}

} // namespace orven::db
