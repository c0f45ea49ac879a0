#pragma once
#include "data/DbError.h"
#include "data/FieldDef.h"
#include "data/LostConnectionPolicy.h"
#include "data/RowStore.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

struct st_mysql;
struct st_mysql_stmt;

namespace cad {

/// Where and how a connection logs in.
struct ConnectionSettings
{
    QString host;
    int port = 0;
    QString database;
    QString user;
    QString password;
    int connectTimeoutSeconds = 120;
    /// Seconds one read or one write on an open session may wait for the server (a frozen server,
    /// a dead link); 0 or less leaves the operating system's own limits.
    int readWriteTimeoutSeconds = kDefaultReadWriteTimeoutSeconds;
    static constexpr int kDefaultReadWriteTimeoutSeconds = 60;
    /// When set, the settings cannot work (for example a password missing from the configuration):
    /// open() reports this text instead of trying the server.
    QString configurationError;
};

/// Rows and columns a query returned.
struct QueryResult
{
    std::vector<FieldDef> fields;
    RowStore rows;
};

/// What a statement that returns no rows did.
struct ExecResult
{
    quint64 affectedRows = 0;
    quint64 insertId = 0;
};

/// One MySQL/MariaDB connection. Values always travel as bound parameters. A lost connection
/// is handled by the policy: reads, and statements that never reached the server, are repeated
/// after reconnecting; a write whose fate is unknown is reported instead of being sent twice.
/// A server that stops answering counts as lost once the read or write time-out has passed.
/// The wait pointer shows while a statement runs. The last reads with bound values stay prepared on
/// the server and are reused by their text, so a repeated read costs one round trip.
class Connection
{
public:
    explicit Connection(QString name);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setSettings(const ConnectionSettings& s) { m_settings = s; }
    [[nodiscard]] const ConnectionSettings& settings() const { return m_settings; }
    [[nodiscard]] const QString& name() const { return m_name; }

    void open();
    void close();
    [[nodiscard]] bool isOpen() const { return m_mysql != nullptr; }

    /// Runs a statement that returns rows. PARAMS fill the statement's "?" in order.
    [[nodiscard]] QueryResult query(const QString& sql, const QVariantList& params = {});
    /// Runs a statement that returns no rows (INSERT, UPDATE, DELETE ...).
    ExecResult execute(const QString& sql, const QVariantList& params = {});

    LostConnectionPolicy& policy() { return m_policy; }
    /// Replaces the policy's answer (tests); by default the policy above decides.
    std::function<LostConnectionPolicy::Decision()> onConnectionLost;

    /// The server's id of this session (for KILL in tests and diagnostics).
    [[nodiscard]] unsigned long serverThreadId();

    /// How many reads stay prepared for reuse.
    static constexpr size_t kKeptStatements = 32;
    /// Statements prepared on the server since the connection was created (for measurements).
    [[nodiscard]] quint64 preparedCount() const { return m_prepared; }

private:
    enum class Kind
    {
        Read,
        Write
    };
    template <typename F> auto run(Kind kind, F&& body) -> decltype(body());
    [[noreturn]] void fail(const char* what, unsigned code, const QString& message);
    QueryResult queryText(const QByteArray& sql);
    QueryResult queryPrepared(const QByteArray& sql, const QVariantList& params);
    ExecResult executeOnce(const QByteArray& sql, const QVariantList& params);
    class Statement;
    struct Kept
    {
        QByteArray sql;
        st_mysql_stmt* stmt;
    };
    void dropKeptStatements();

    QString m_name;
    ConnectionSettings m_settings;
    st_mysql* m_mysql = nullptr;
    LostConnectionPolicy m_policy;
    std::vector<Kept> m_kept; // the most recently used last
    quint64 m_prepared = 0;
};

/// True for the client errors that mean the session is gone.
[[nodiscard]] bool isConnectionLoss(unsigned code);

} // namespace cad
