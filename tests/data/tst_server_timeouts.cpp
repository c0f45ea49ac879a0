// A server that stops answering: a MariaDB server of this test alone, frozen with SIGSTOP, and a
// statement slower than the time-out. Nothing waits for ever; a write whose fate is unknown is
// reported and never sent again; the wait pointer shows while the program waits.
#include "core/WaitCursor.h"
#include "data/Connection.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/TestDb.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using namespace cad;

namespace {

QString readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
}

/// A server started with the project's scripts, so freezing it touches no server other tests share.
class PrivateServer
{
public:
    PrivateServer()
    {
        m_port = testsupport::unusedLoopbackPort();
        if (!m_dir.isValid() || m_port == 0) throw std::runtime_error("no folder or port for the server");
        QProcess provision;
        provision.setProcessChannelMode(QProcess::ForwardedChannels);
        provision.start(
            testsupport::sourceDir() + QStringLiteral("/scripts/provision.sh"),
            {QStringLiteral("local"), m_dir.path(), QString::number(m_port), QStringLiteral("lenta")});
        if (!provision.waitForFinished(300000) || provision.exitCode() != 0)
            throw std::runtime_error("the private server did not start");
        m_pid = readFile(m_dir.filePath(QStringLiteral("mariadbd.pid"))).toInt();
        if (m_pid <= 0) throw std::runtime_error("the private server wrote no pid");
    }
    ~PrivateServer()
    {
        resume();
        QProcess::execute(testsupport::sourceDir() + QStringLiteral("/scripts/dbserver.sh"),
                          {QStringLiteral("stop"), m_dir.path()});
    }
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    void freeze() { m_frozen = ::kill(m_pid, SIGSTOP) == 0; }
    /// True once every thread of the server has stopped (the signal takes effect asynchronously).
    [[nodiscard]] bool stopped() const
    {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(m_pid));
        const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& thread : threads) {
            const QString stat = readFile(tasks.filePath(thread + QStringLiteral("/stat")));
            if (!stat.section(QLatin1Char(')'), -1).trimmed().startsWith(QLatin1Char('T'))) return false;
        }
        return !threads.isEmpty();
    }
    void resume()
    {
        if (m_frozen) ::kill(m_pid, SIGCONT);
        m_frozen = false;
    }

    [[nodiscard]] ConnectionSettings settings() const
    {
        ConnectionSettings s;
        s.host = QStringLiteral("127.0.0.1");
        s.port = m_port;
        s.database = QStringLiteral("lenta");
        s.user = QStringLiteral("root");
        s.password = readFile(m_dir.filePath(QStringLiteral("password")));
        s.connectTimeoutSeconds = 5; // short, yet long enough for a busy machine
        s.readWriteTimeoutSeconds = 3;
        return s;
    }

private:
    QTemporaryDir m_dir;
    int m_port = 0;
    pid_t m_pid = 0;
    bool m_frozen = false;
};

} // namespace

class ServerTimeoutsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<PrivateServer> m_server;
    int m_busy = 0;        // wait pointers shown and not yet restored
    int m_busyAtLoss = -1; // as the policy was asked

    /// A connection to the private server whose losses are counted and retried.
    std::unique_ptr<Connection> connect(int& losses)
    {
        auto c = std::make_unique<Connection>(QStringLiteral("lenta"));
        c->setSettings(m_server->settings());
        c->onConnectionLost = [this, &losses] {
            ++losses;
            m_busyAtLoss = m_busy;
            return LostConnectionPolicy::Decision::Retry;
        };
        c->open();
        return c;
    }
    int rows(const QString& text)
    {
        Connection probe(QStringLiteral("probe"));
        probe.setSettings(m_server->settings());
        const QueryResult r =
            probe.query(QStringLiteral("SELECT COUNT(*) FROM Tipos WHERE DESCTIPO = ?"), {text});
        return QByteArray(r.rows.cell(0, 0).bytes.data(), qsizetype(r.rows.cell(0, 0).bytes.size())).toInt();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<PrivateServer>();
        waitcursor::install([this](bool busy) { m_busy += busy ? 1 : -1; });
    }
    void cleanupTestCase()
    {
        waitcursor::install({});
        m_server.reset();
    }
    void cleanup() { m_server->resume(); }

    // Reads and writes to a frozen server end with an error, under the lost-connection policy
    // (a statement that never reached it is retried after reconnecting, which fails too).
    void frozenServerEndsTheWait_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }
    void frozenServerEndsTheWait()
    {
        QFETCH(bool, write);
        int losses = 0;
        auto c = connect(losses);
        m_server->freeze();
        QTRY_VERIFY(m_server->stopped());
        m_busyAtLoss = -1;
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 write ? (void)c->execute(QStringLiteral("INSERT INTO Tipos (DESCTIPO) "
                                                                         "VALUES ('CONGELADO')"))
                                       : (void)c->query(QStringLiteral("SELECT 1")));
        QCOMPARE(losses, 1);
        QCOMPARE(m_busyAtLoss, 1); // the wait pointer showed while waiting
        QCOMPARE(m_busy, 0);       // and is gone once the statement ended
        m_server->resume();
        QCOMPARE(c->query(QStringLiteral("SELECT 1")).rows.size(), 1); // reopens once it answers again
        QVERIFY(rows(QStringLiteral("CONGELADO")) <= 1);
    }

    // A write that reached the server and got no answer in time may have run: it is reported with
    // its fate unknown and never sent again, and it runs on the server at most once.
    void writeWithoutAnswerInTimeIsReportedNotRepeated()
    {
        int losses = 0;
        auto c = connect(losses);
        try {
            c->execute(
                QStringLiteral("INSERT INTO Tipos (DESCTIPO) SELECT ? FROM (SELECT SLEEP(6)) AS espera"),
                {QStringLiteral("LENTO")});
            QFAIL("a write slower than the time-out was reported as done");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("pode ou não ter sido feita")),
                     qPrintable(e.message()));
        }
        QCOMPARE(losses, 0);
        QTRY_COMPARE_WITH_TIMEOUT(rows(QStringLiteral("LENTO")), 1, 30000);
    }
};

QTEST_GUILESS_MAIN(ServerTimeoutsTest)
#include "tst_server_timeouts.moc"
