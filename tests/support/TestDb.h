#pragma once
// Fresh databases on the private test servers that ./test.sh starts.
#include <QString>
#include <QStringList>

#include "data/Connection.h"

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

/// Drops and creates database NAME on the server of ROLE with the program's tables,
/// and, for the local role with WITHREFERENCE, the states, municipalities, own company,
/// expense types and cost centres of the demo data. Throws std::runtime_error on failure.
void createDatabase(Role role, const QString& name, bool withReference = false);
void dropDatabase(Role role, const QString& name);

/// Runs SQL (one or more statements) on database NAME; returns the first column of the
/// last result's rows, if any.
QStringList runSql(Role role, const QString& name, const QString& sql);

/// Connection settings for database NAME on the server of ROLE.
[[nodiscard]] cad::ConnectionSettings settings(Role role, const QString& name);

/// The project's source folder (for schema files and stand-in servers).
[[nodiscard]] QString sourceDir();

/// Writes an Admin.ini for both test servers into DIR.
void writeAdminIni(const QString& dir, const QString& localDb, const QString& centralDb);

/// A database name unique to this test process, for example "t_search_1234".
[[nodiscard]] QString uniqueName(const QString& prefix);

} // namespace testsupport
