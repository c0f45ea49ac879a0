// Connections against the real test servers: the lost-connection policy, reopening, and
// writes that must never be stored twice.
#include "data/Connection.h"
#include "tests/support/TcpProxy.h"
#include "tests/support/TestDb.h"

#include <QtTest>

using namespace cad;
using testsupport::Role;

class ConnectionTest : public QObject
{
    Q_OBJECT
    testsupport::TestDatabase m_db{Role::Local, QStringLiteral("conn")};
    testsupport::TestDatabase m_centralDb{Role::Central, QStringLiteral("connc")};

    static void killFromOutside(Connection& victim, const testsupport::TestDatabase& db)
    {
        db.sql(QStringLiteral("KILL %1").arg(victim.serverThreadId()));
    }
    ConnectionSettings throughProxy(const testsupport::TcpProxy& proxy)
    {
        auto s = m_db.settings();
        s.port = proxy.port();
        return s;
    }
    int count(const QString& sql) { return m_db.sql(sql).value(0).toInt(); }

private Q_SLOTS:
    void fiveLossesRetriedSixthFailsAndCounterRestarts()
    {
        Connection local(QStringLiteral("local"));
        local.setSettings(m_db.settings());
        Connection central(QStringLiteral("central"));
        central.setSettings(m_centralDb.settings());
        central.open();
        local.open();
        for (int loss = 1; loss <= 5; ++loss) {
            killFromOutside(local, m_db);
            const QueryResult r = local.query(QStringLiteral("SELECT 1"));
            QCOMPARE(r.rows.size(), 1);
            QCOMPARE(local.policy().counter(), loss);
        }
        killFromOutside(local, m_db);
        QVERIFY_THROWS_EXCEPTION(DbError, (void)local.query(QStringLiteral("SELECT 1")));
        QCOMPARE(local.policy().counter(), 0);
        QCOMPARE(central.policy().counter(), 0); // each connection counts its own losses

        // The failed connection reopens by itself, and the next loss is retried again.
        QCOMPARE(local.query(QStringLiteral("SELECT 2")).rows.size(), 1);
        killFromOutside(local, m_db);
        QCOMPARE(local.query(QStringLiteral("SELECT 3")).rows.size(), 1);
        QCOMPARE(local.policy().counter(), 1);
    }

    void writeOnKilledIdleSessionRunsOnce()
    {
        // Killed while idle, the statement never ran: it is sent again after reconnecting.
        Connection local(QStringLiteral("local"));
        local.setSettings(m_db.settings());
        local.open();
        killFromOutside(local, m_db);
        local.execute(QStringLiteral("INSERT INTO Tipos (DESCTIPO) VALUES (?)"),
                      {QStringLiteral("IDLE KILL")});
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Tipos WHERE DESCTIPO='IDLE KILL'")), 1);
    }

    void writeWhoseAnswerIsLostIsNotRepeated()
    {
        testsupport::TcpProxy proxy(testsupport::server(Role::Local).port);
        Connection local(QStringLiteral("local"));
        local.setSettings(throughProxy(proxy));
        local.open();
        proxy.cutAfterCommand(testsupport::TcpProxy::kStmtExecute);
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 local.execute(QStringLiteral("INSERT INTO Tipos (DESCTIPO) VALUES (?)"),
                                               {QStringLiteral("LOST ANSWER")}));
        QCOMPARE(proxy.cuts(), 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM Tipos WHERE DESCTIPO='LOST ANSWER'")), 1);
        // The connection is usable again afterwards.
        QCOMPARE(local.query(QStringLiteral("SELECT 1")).rows.size(), 1);
    }

    void readWhoseAnswerIsLostIsRepeated()
    {
        testsupport::TcpProxy proxy(testsupport::server(Role::Local).port);
        Connection local(QStringLiteral("local"));
        local.setSettings(throughProxy(proxy));
        local.open();
        proxy.cutAfterCommand(testsupport::TcpProxy::kQuery);
        const QueryResult r = local.query(QStringLiteral("SELECT 42"));
        QCOMPARE(proxy.cuts(), 1);
        QCOMPARE(r.rows.size(), 1);
        QCOMPARE(local.policy().counter(), 1);
    }

    void reopensAfterFailedOpen()
    {
        testsupport::TcpProxy proxy(testsupport::server(Role::Local).port);
        proxy.setRefusing(true);
        Connection local(QStringLiteral("local"));
        local.setSettings(throughProxy(proxy));
        QVERIFY_THROWS_EXCEPTION(DbError, local.open());
        QVERIFY(!local.isOpen());
        proxy.setRefusing(false);
        QCOMPARE(local.query(QStringLiteral("SELECT 1")).rows.size(), 1);
        QVERIFY(local.isOpen());
    }

    void repeatedReadIsPreparedOnceAndFollowsTheTable()
    {
        Connection local(QStringLiteral("local"));
        local.setSettings(m_db.settings());
        local.execute(QStringLiteral("CREATE TABLE kept (id INT PRIMARY KEY, nome VARCHAR(20))"));
        local.execute(QStringLiteral("INSERT INTO kept VALUES (1, 'UM'), (2, 'DOIS')"));
        const QString sql = QStringLiteral("SELECT * FROM kept WHERE id = ?");
        auto read = [&](int id) {
            const QueryResult r = local.query(sql, {id});
            QStringList cells;
            for (int c = 0; c < int(r.fields.size()) && r.rows.size() == 1; ++c)
                cells << QString::fromUtf8(r.rows.cell(0, c).bytes.data(),
                                           qsizetype(r.rows.cell(0, c).bytes.size()));
            return cells;
        };
        const quint64 prepared = local.preparedCount();
        QCOMPARE(read(1), (QStringList{"1", "UM"}));
        QCOMPARE(read(2), (QStringList{"2", "DOIS"}));
        QCOMPARE(local.preparedCount(), prepared + 1);

        // The table changed by another session: the kept read returns what the table holds now.
        m_db.sql(QStringLiteral("ALTER TABLE kept ADD COLUMN uf CHAR(2) DEFAULT 'MG'"));
        QCOMPARE(read(1), (QStringList{"1", "UM", "MG"}));
        m_db.sql(QStringLiteral("ALTER TABLE kept DROP COLUMN nome"));
        QCOMPARE(read(2), (QStringList{"2", "MG"}));
        // The session lost while the read was kept: read again after reconnecting.
        killFromOutside(local, m_db);
        QCOMPARE(read(1), (QStringList{"1", "MG"}));

        // Only the last reads are kept: the oldest is prepared again.
        const quint64 before = local.preparedCount();
        for (size_t i = 0; i <= Connection::kKeptStatements; ++i)
            (void)local.query(QStringLiteral("SELECT ? + %1").arg(i), {1});
        QCOMPARE(read(1).size(), 2);
        QCOMPARE(local.preparedCount(), before + Connection::kKeptStatements + 2);
    }

    void valuesTravelBoundAndAccentsSurvive()
    {
        Connection local(QStringLiteral("local"));
        local.setSettings(m_db.settings());
        const QString tricky = QStringLiteral("D'AVILA \\' OR 1=1 # São João €");
        local.execute(QStringLiteral("INSERT INTO Tipos (DESCTIPO) VALUES (?)"), {tricky});
        const QueryResult r =
            local.query(QStringLiteral("SELECT DESCTIPO FROM Tipos WHERE DESCTIPO = ?"), {tricky});
        QCOMPARE(r.rows.size(), 1);
        QCOMPARE(QString::fromUtf8(r.rows.cell(0, 0).bytes.data(), qsizetype(r.rows.cell(0, 0).bytes.size())),
                 tricky);
    }
};

QTEST_GUILESS_MAIN(ConnectionTest)
#include "tst_connection.moc"
