#include "tests/support/TestDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <mysql.h>
#include <stdexcept>

namespace testsupport {

ServerInfo server(Role role)
{
    const char* prefix = role == Role::Local ? "CAD_TEST_LOCAL_" : "CAD_TEST_CENTRAL_";
    ServerInfo s;
    s.port = qEnvironmentVariableIntValue((QByteArray(prefix) + "PORT").constData());
    s.password = qEnvironmentVariable((QByteArray(prefix) + "PASSWORD").constData());
    s.user = role == Role::Local ? QStringLiteral("root") : QStringLiteral("parvixsistemasinfo");
    return s;
}

cad::ConnectionSettings settings(Role role, const QString& name)
{
    const ServerInfo s = server(role);
    cad::ConnectionSettings c;
    c.host = s.host;
    c.port = s.port;
    c.user = s.user;
    c.password = s.password;
    c.database = name;
    c.connectTimeoutSeconds = 10;
    return c;
}

QString sourceDir()
{
    const QString env = qEnvironmentVariable("CAD_SOURCE_DIR");
    if (!env.isEmpty()) return env;
    return QStringLiteral(CAD_SOURCE_DIR);
}

namespace {

struct Handle
{
    MYSQL* m = nullptr;
    ~Handle()
    {
        if (m) mysql_close(m);
    }
};

void connectTo(Handle& h, Role role, const QString& db)
{
    const ServerInfo s = server(role);
    if (!s.available())
        throw std::runtime_error("test servers not configured: run the tests through ./test.sh");
    h.m = mysql_init(nullptr);
    mysql_options(h.m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(h.m, s.host.toUtf8().constData(), s.user.toUtf8().constData(),
                            s.password.toUtf8().constData(), db.isEmpty() ? nullptr : db.toUtf8().constData(),
                            unsigned(s.port), nullptr, CLIENT_MULTI_STATEMENTS))
        throw std::runtime_error(std::string("connect: ") + mysql_error(h.m));
}

QStringList exec(MYSQL* m, const QByteArray& sql)
{
    QStringList first;
    if (mysql_real_query(m, sql.constData(), sql.size()))
        throw std::runtime_error(std::string("sql: ") + mysql_error(m));
    do {
        if (MYSQL_RES* r = mysql_store_result(m)) {
            first.clear();
            while (MYSQL_ROW row = mysql_fetch_row(r))
                first << (row[0] ? QString::fromUtf8(row[0]) : QString());
            mysql_free_result(r);
        } else if (mysql_field_count(m) != 0) {
            throw std::runtime_error(std::string("sql: ") + mysql_error(m));
        }
        const int next = mysql_next_result(m);
        if (next > 0) throw std::runtime_error(std::string("sql: ") + mysql_error(m));
        if (next < 0) break;
    } while (true);
    return first;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

} // namespace

QStringList runSql(Role role, const QString& name, const QString& sql)
{
    Handle h;
    connectTo(h, role, name);
    return exec(h.m, sql.toUtf8());
}

void writeAdminIni(const QString& dir, const QString& localDb, const QString& centralDb)
{
    const ServerInfo l = server(Role::Local), c = server(Role::Central);
    QFile f(QDir(dir).filePath(QStringLiteral("Admin.ini")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write Admin.ini");
    f.write(QStringLiteral("[LOCAL]\nPORTA=%1\nSERVIDOR=%2\nBANCO=%3\nSENHA=%4\n\n"
                           "[GERENCIA]\nPORTA=%5\nSERVIDOR=%6\nBANCO=%7\nSENHA=%8\n")
                .arg(l.port)
                .arg(l.host, localDb, l.password)
                .arg(c.port)
                .arg(c.host, centralDb, c.password)
                .toUtf8());
}

TestDatabase::TestDatabase(Role role, const QString& prefix, bool withReference)
    : m_role(role), m_name(QStringLiteral("t_%1_%2").arg(prefix).arg(QCoreApplication::applicationPid()))
{
    Handle h;
    connectTo(h, role, {});
    const QByteArray name = m_name.toUtf8();
    exec(h.m, "DROP DATABASE IF EXISTS `" + name + "`; CREATE DATABASE `" + name +
                  "` CHARACTER SET latin1; USE `" + name + "`;");
    const QString schema = sourceDir() + (role == Role::Local ? "/schema/local.sql" : "/schema/central.sql");
    exec(h.m, readFile(schema));
    if (withReference && role == Role::Local) {
        QProcess py;
        py.start(QStringLiteral("python3"), {sourceDir() + "/schema/demo_data.py", "--reference-only"});
        if (!py.waitForFinished(60000) || py.exitCode() != 0)
            throw std::runtime_error("demo_data.py failed: " + py.readAllStandardError().toStdString());
        exec(h.m, py.readAllStandardOutput());
    }
}

TestDatabase::~TestDatabase()
{
    try {
        Handle h;
        connectTo(h, m_role, {});
        exec(h.m, "DROP DATABASE IF EXISTS `" + m_name.toUtf8() + "`");
    } catch (const std::exception& e) {
        qWarning("%s not dropped: %s", qPrintable(m_name), e.what());
    }
}

std::unique_ptr<cad::Connection> TestDatabase::connection(const QString& connectionName) const
{
    auto c = std::make_unique<cad::Connection>(connectionName);
    c->setSettings(settings());
    return c;
}

} // namespace testsupport
