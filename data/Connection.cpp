#include "data/Connection.h"

#include "core/WaitCursor.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstring>
#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>

namespace cad {

namespace {

constexpr unsigned kConnectionKilled = 1927; // the server ended the session before running the statement

// Thrown inside one attempt; run() turns it into a retry or a DbError.
struct Lost
{
    DbError error;
    bool maybeExecuted;
};

FieldDef::Kind kindOf(const MYSQL_FIELD& f)
{
    switch (f.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
    case MYSQL_TYPE_BIT:
        return FieldDef::Kind::Integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return FieldDef::Kind::Float;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return FieldDef::Kind::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return FieldDef::Kind::DateTime;
    case MYSQL_TYPE_TIME:
        return FieldDef::Kind::Time;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        return f.charsetnr == 63 ? FieldDef::Kind::Bytes : FieldDef::Kind::Memo;
    default:
        return FieldDef::Kind::Text;
    }
}

std::vector<FieldDef> describe(MYSQL_FIELD* fields, unsigned n)
{
    std::vector<FieldDef> defs;
    defs.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        const MYSQL_FIELD& f = fields[i];
        FieldDef d;
        d.name = QString::fromUtf8(f.name, int(f.name_length));
        d.orgName = QString::fromUtf8(f.org_name, int(f.org_name_length));
        d.orgTable = QString::fromUtf8(f.org_table, int(f.org_table_length));
        d.kind = kindOf(f);
        d.primaryKey = f.flags & PRI_KEY_FLAG;
        d.autoIncrement = f.flags & AUTO_INCREMENT_FLAG;
        if (d.isText()) {
            const MARIADB_CHARSET_INFO* cs = mariadb_get_charset_by_nr(f.charsetnr);
            const unsigned perChar = cs && cs->char_maxlen ? cs->char_maxlen : 1;
            d.serverWidth = int(std::min<unsigned long>(f.length / perChar, 0x7fffffff));
        }
        defs.push_back(std::move(d));
    }
    return defs;
}

// Bound parameter values; the buffers live as long as the statement runs.
struct ParamBinds
{
    std::vector<MYSQL_BIND> binds;
    std::vector<QByteArray> texts;
    std::vector<long long> ints;
    std::vector<double> doubles;
    std::vector<MYSQL_TIME> times;

    explicit ParamBinds(const QVariantList& params)
    {
        const size_t n = size_t(params.size());
        binds.assign(n, MYSQL_BIND{});
        texts.resize(n);
        ints.resize(n);
        doubles.resize(n);
        times.assign(n, MYSQL_TIME{});
        for (size_t i = 0; i < n; ++i)
            bind(i, params[qsizetype(i)]);
    }

    void bind(size_t i, const QVariant& v)
    {
        MYSQL_BIND& b = binds[i];
        if (v.isNull()) {
            b.buffer_type = MYSQL_TYPE_NULL;
            return;
        }
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
        case QMetaType::Short:
            ints[i] = v.toLongLong();
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &ints[i];
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            doubles[i] = v.toDouble();
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = &doubles[i];
            return;
        case QMetaType::QDate:
        case QMetaType::QDateTime:
        case QMetaType::QTime: {
            MYSQL_TIME& t = times[i];
            const QDateTime dt = v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
            if (v.typeId() == QMetaType::QTime) {
                const QTime tm = v.toTime();
                t.hour = unsigned(tm.hour());
                t.minute = unsigned(tm.minute());
                t.second = unsigned(tm.second());
                t.time_type = MYSQL_TIMESTAMP_TIME;
                b.buffer_type = MYSQL_TYPE_TIME;
            } else {
                t.year = unsigned(dt.date().year());
                t.month = unsigned(dt.date().month());
                t.day = unsigned(dt.date().day());
                t.hour = unsigned(dt.time().hour());
                t.minute = unsigned(dt.time().minute());
                t.second = unsigned(dt.time().second());
                const bool dateOnly = v.typeId() == QMetaType::QDate;
                t.time_type = dateOnly ? MYSQL_TIMESTAMP_DATE : MYSQL_TIMESTAMP_DATETIME;
                b.buffer_type = dateOnly ? MYSQL_TYPE_DATE : MYSQL_TYPE_DATETIME;
            }
            b.buffer = &t;
            return;
        }
        case QMetaType::QByteArray:
            texts[i] = v.toByteArray();
            b.buffer_type = MYSQL_TYPE_BLOB;
            break;
        default:
            texts[i] = v.toString().toUtf8();
            b.buffer_type = MYSQL_TYPE_STRING;
            break;
        }
        b.buffer = texts[i].data();
        b.buffer_length = static_cast<unsigned long>(texts[i].size());
    }
};

// A kept statement the server cannot run as it was prepared (its tables changed, or it no longer
// knows it): it ran nothing and is prepared again.
bool needsPreparingAgain(unsigned code)
{
    return code == ER_NEED_REPREPARE || code == ER_UNKNOWN_STMT_HANDLER || code == CR_NEW_STMT_METADATA;
}

} // namespace

// A prepared statement: for a read, taken from the kept ones when there is one, and given back
// once it ran to its end (closed when anything failed on the way, so every kept statement is idle
// and sound). A write is always prepared anew: a session lost while idle then fails on the prepare,
// where the write certainly did not run and is sent again, instead of on the write itself.
class Connection::Statement
{
public:
    Statement(Connection& c, const QByteArray& sql, Kind kind) : m_c(c), m_sql(sql), m_kind(kind)
    {
        if (kind != Kind::Read) return;
        std::vector<Kept>& kept = c.m_kept;
        for (auto it = kept.rbegin(); it != kept.rend(); ++it)
            if (it->sql == sql) {
                m_st = it->stmt;
                m_reused = true;
                kept.erase(std::next(it).base());
                return;
            }
    }
    ~Statement()
    {
        if (m_st) mysql_stmt_close(m_st);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    [[nodiscard]] MYSQL_STMT* get() const { return m_st; }

    /// Binds PB's values and runs the statement (prepared first when it is new); false when the
    /// server or the client library refused it (the error is on the statement). WRONGCOUNT is
    /// thrown when the statement's markers do not match the values.
    bool execute(ParamBinds& pb, const QString& wrongCount)
    {
        for (;;) {
            if (!m_st) prepare();
            if (mysql_stmt_param_count(m_st) != pb.binds.size()) throw DbError(wrongCount);
            if (!pb.binds.empty() && mysql_stmt_bind_param(m_st, pb.binds.data())) return false;
            if (!mysql_stmt_execute(m_st)) return true;
            if (!m_reused || !needsPreparingAgain(mysql_stmt_errno(m_st))) return false;
            mysql_stmt_close(m_st);
            m_st = nullptr;
            m_reused = false;
        }
    }

    /// Keeps a read for the next use of the same text (the least recently used one goes); closes a write.
    void giveBack()
    {
        if (m_kind != Kind::Read) return; // closed by the destructor
        mysql_stmt_free_result(m_st);
        std::vector<Kept>& kept = m_c.m_kept;
        kept.push_back({m_sql, m_st});
        m_st = nullptr;
        if (kept.size() > kKeptStatements) {
            mysql_stmt_close(kept.front().stmt);
            kept.erase(kept.begin());
        }
    }

private:
    void prepare()
    {
        MYSQL_STMT* st = mysql_stmt_init(m_c.m_mysql);
        if (!st) throw DbError(QStringLiteral("Memória insuficiente para preparar o comando"));
        ++m_c.m_prepared;
        if (mysql_stmt_prepare(st, m_sql.constData(), static_cast<unsigned long>(m_sql.size()))) {
            const unsigned code = mysql_stmt_errno(st);
            const QString message = QString::fromUtf8(mysql_stmt_error(st));
            mysql_stmt_close(st);
            m_c.fail("prepare", code, message);
        }
        m_st = st;
    }

    Connection& m_c;
    const QByteArray& m_sql;
    const Kind m_kind;
    MYSQL_STMT* m_st = nullptr;
    bool m_reused = false;
};

bool isConnectionLoss(unsigned code)
{
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == CR_SERVER_LOST_EXTENDED ||
           code == kConnectionKilled;
}

Connection::Connection(QString name) : m_name(std::move(name)) {}

Connection::~Connection()
{
    close();
}

void Connection::open()
{
    close();
    if (!m_settings.configurationError.isEmpty()) throw DbError(m_settings.configurationError);
    MYSQL* m = mysql_init(nullptr);
    if (!m) throw DbError(QStringLiteral("Memória insuficiente para abrir a conexão"));
    const unsigned timeout = unsigned(m_settings.connectTimeoutSeconds);
    mysql_options(m, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    if (m_settings.readWriteTimeoutSeconds > 0) {
        const unsigned readWrite = unsigned(m_settings.readWriteTimeoutSeconds);
        mysql_options(m, MYSQL_OPT_READ_TIMEOUT, &readWrite);
        mysql_options(m, MYSQL_OPT_WRITE_TIMEOUT, &readWrite);
    }
    mysql_options(m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const QByteArray host = m_settings.host.toUtf8(), user = m_settings.user.toUtf8(),
                     pw = m_settings.password.toUtf8(), db = m_settings.database.toUtf8();
    if (!mysql_real_connect(m, host.isEmpty() ? nullptr : host.constData(), user.constData(), pw.constData(),
                            db.isEmpty() ? nullptr : db.constData(), unsigned(m_settings.port), nullptr, 0)) {
        const QString msg = QString::fromUtf8(mysql_error(m));
        const unsigned code = mysql_errno(m);
        mysql_close(m);
        throw DbError(msg, code);
    }
    m_mysql = m;
}

void Connection::dropKeptStatements()
{
    for (const Kept& k : m_kept)
        mysql_stmt_close(k.stmt);
    m_kept.clear();
}

void Connection::close()
{
    dropKeptStatements();
    if (m_mysql) {
        mysql_close(m_mysql);
        m_mysql = nullptr;
    }
}

unsigned long Connection::serverThreadId()
{
    return run(Kind::Read, [&] { return mysql_thread_id(m_mysql); });
}

void Connection::fail(const char* /*what*/, unsigned code, const QString& message)
{
    if (isConnectionLoss(code)) throw Lost{DbError(message, code), false};
    throw DbError(message, code);
}

template <typename F> auto Connection::run(Kind kind, F&& body) -> decltype(body())
{
    const waitcursor::Guard busy; // up to the time-outs when the server does not answer
    for (;;) {
        if (!m_mysql) open();
        try {
            return body();
        } catch (const Lost& lost) {
            close(); // reopened by the next attempt or the next statement
            if (kind == Kind::Write && lost.maybeExecuted)
                throw DbError(QStringLiteral("A conexão com o servidor caiu durante a gravação (%1); "
                                             "a gravação pode ou não ter sido feita. Confira o registro "
                                             "antes de gravar de novo.")
                                  .arg(lost.error.message()),
                              lost.error.code());
            const auto decision = onConnectionLost ? onConnectionLost() : m_policy.onLost();
            if (decision == LostConnectionPolicy::Decision::Fail) throw lost.error;
        }
    }
}

QueryResult Connection::query(const QString& sql, const QVariantList& params)
{
    const QByteArray text = sql.toUtf8();
    return run(Kind::Read, [&] { return params.isEmpty() ? queryText(text) : queryPrepared(text, params); });
}

ExecResult Connection::execute(const QString& sql, const QVariantList& params)
{
    const QByteArray text = sql.toUtf8();
    return run(Kind::Write, [&] { return executeOnce(text, params); });
}

QueryResult Connection::queryText(const QByteArray& sql)
{
    if (mysql_real_query(m_mysql, sql.constData(), static_cast<unsigned long>(sql.size())))
        fail("query", mysql_errno(m_mysql), QString::fromUtf8(mysql_error(m_mysql)));
    MYSQL_RES* res = mysql_use_result(m_mysql);
    if (!res) {
        if (mysql_errno(m_mysql))
            fail("result", mysql_errno(m_mysql), QString::fromUtf8(mysql_error(m_mysql)));
        return {};
    }
    const unsigned n = mysql_num_fields(res);
    QueryResult result{describe(mysql_fetch_fields(res), n), RowStore(int(n))};
    while (MYSQL_ROW row = mysql_fetch_row(res))
        result.rows.append(row, mysql_fetch_lengths(res));
    const unsigned code = mysql_errno(m_mysql);
    const QString message = QString::fromUtf8(mysql_error(m_mysql));
    mysql_free_result(res);
    if (code) fail("fetch", code, message);
    return result;
}

QueryResult Connection::queryPrepared(const QByteArray& sql, const QVariantList& params)
{
    Statement h(*this, sql, Kind::Read);
    auto stmtFail = [&] {
        fail("statement", mysql_stmt_errno(h.get()), QString::fromUtf8(mysql_stmt_error(h.get())));
    };
    ParamBinds pb(params);
    if (!h.execute(pb, QStringLiteral("Número de parâmetros incorreto na consulta"))) stmtFail();
    MYSQL_RES* meta = mysql_stmt_result_metadata(h.get());
    if (!meta) {
        h.giveBack();
        return {};
    }
    const unsigned n = mysql_num_fields(meta);
    QueryResult result{describe(mysql_fetch_fields(meta), n), RowStore(int(n))};
    mysql_free_result(meta);

    // Every column arrives as text, like the plain protocol; long values are fetched again whole.
    constexpr unsigned long kSlot = 256;
    std::vector<char> buffer(size_t(n) * kSlot);
    std::vector<MYSQL_BIND> binds(n, MYSQL_BIND{});
    std::vector<unsigned long> lengths(n);
    std::vector<my_bool> nulls(n), errors(n);
    for (unsigned c = 0; c < n; ++c) {
        binds[c].buffer_type = MYSQL_TYPE_STRING;
        binds[c].buffer = buffer.data() + size_t(c) * kSlot;
        binds[c].buffer_length = kSlot;
        binds[c].length = &lengths[c];
        binds[c].is_null = &nulls[c];
        binds[c].error = &errors[c];
    }
    if (mysql_stmt_bind_result(h.get(), binds.data())) stmtFail();
    std::vector<const char*> values(n);
    std::vector<QByteArray> longValues(n);
    for (;;) {
        const int rc = mysql_stmt_fetch(h.get());
        if (rc == MYSQL_NO_DATA) break;
        if (rc == 1) stmtFail();
        for (unsigned c = 0; c < n; ++c) {
            values[c] = nulls[c] ? nullptr : static_cast<const char*>(binds[c].buffer);
            if (!nulls[c] && lengths[c] > kSlot) {
                longValues[c].resize(qsizetype(lengths[c]));
                MYSQL_BIND whole{};
                whole.buffer_type = MYSQL_TYPE_STRING;
                whole.buffer = longValues[c].data();
                whole.buffer_length = lengths[c];
                if (mysql_stmt_fetch_column(h.get(), &whole, c, 0)) stmtFail();
                values[c] = longValues[c].constData();
            }
        }
        result.rows.append(values.data(), lengths.data());
    }
    h.giveBack();
    return result;
}

ExecResult Connection::executeOnce(const QByteArray& sql, const QVariantList& params)
{
    Statement h(*this, sql, Kind::Write);
    ParamBinds pb(params);
    if (!h.execute(pb, QStringLiteral("Número de parâmetros incorreto no comando"))) {
        const unsigned code = mysql_stmt_errno(h.get());
        const QString message = QString::fromUtf8(mysql_stmt_error(h.get()));
        // Gone before sending, or killed before running: the statement did not run.
        const bool maybeExecuted = code == CR_SERVER_LOST || code == CR_SERVER_LOST_EXTENDED;
        if (isConnectionLoss(code)) throw Lost{DbError(message, code), maybeExecuted};
        throw DbError(message, code);
    }
    return {mysql_stmt_affected_rows(h.get()), mysql_stmt_insert_id(h.get())};
}

} // namespace cad
