#pragma once
// Fresh databases on the private test servers that ./test.sh starts.
#include <QString>
#include <QStringList>

#include "data/Connection.h"

#include <memory>

namespace testsupport {

enum class Role
{
    Local,
    Central
};

/// Where a private test server listens and how to log in, from the environment test.sh sets.
struct ServerInfo
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 0;
    QString user;
    QString password;
    [[nodiscard]] bool available() const { return port > 0; }
};

[[nodiscard]] ServerInfo server(Role role);

/// Runs SQL (one or more statements) on database NAME; returns the first column of the
/// last result's rows, if any.
QStringList runSql(Role role, const QString& name, const QString& sql);

/// Connection settings for database NAME on the server of ROLE.
[[nodiscard]] cad::ConnectionSettings settings(Role role, const QString& name);

/// The project's source folder (for schema files and stand-in servers).
[[nodiscard]] QString sourceDir();

/// Writes an Admin.ini for both test servers into DIR.
void writeAdminIni(const QString& dir, const QString& localDb, const QString& centralDb);

/// A database of this test process on the server of ROLE, named after PREFIX ("t_PREFIX_PID"), made
/// afresh when constructed with the program's tables and, for the local role with WITHREFERENCE, the
/// states, municipalities, own company, expense types and cost centres of the demo data; dropped
/// when destroyed. Construction throws std::runtime_error on failure.
class TestDatabase
{
public:
    TestDatabase(Role role, const QString& prefix, bool withReference = false);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    [[nodiscard]] const QString& name() const { return m_name; }
    /// Runs SQL on it; the first column of the last result's rows.
    QStringList sql(const QString& statements) const { return runSql(m_role, m_name, statements); }
    [[nodiscard]] cad::ConnectionSettings settings() const { return testsupport::settings(m_role, m_name); }
    /// A connection of the program's, named CONNECTIONNAME, set to it (not yet open).
    [[nodiscard]] std::unique_ptr<cad::Connection> connection(const QString& connectionName) const;

private:
    Role m_role;
    QString m_name;
};

} // namespace testsupport
