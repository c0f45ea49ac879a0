// Record sets over the real local server: cursor, states, widths, generated keys, events,
// master/detail, sorting and re-reading.
#include "data/RecordSet.h"
#include "schema/RecordSetWidths.h"
#include "tests/support/TestDb.h"

#include <QtTest>

using namespace cad;
using testsupport::Role;

class RecordSetTest : public QObject
{
    Q_OBJECT
    testsupport::TestDatabase m_db{Role::Local, QStringLiteral("rs"), true};
    std::unique_ptr<Connection> m_conn = m_db.connection(QStringLiteral("local"));

private Q_SLOTS:
    void init() { m_db.sql(QStringLiteral("DELETE FROM fornecedor")); }

    void insertCutsTextsAndShowsGeneratedKey()
    {
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        rs.setDeclaredWidths(schema::widths(schema::SupplierSet::Screen));
        rs.open();
        QVERIFY(rs.isEmpty());
        rs.append();
        QCOMPARE(rs.state(), RecordSet::State::Insert);
        rs.setValue(QStringLiteral("nome"), QString(60, QLatin1Char('A')));
        rs.setValue(QStringLiteral("Cgccpf"), QStringLiteral("12.345.678/0001-99 EXTRA"));
        rs.post();
        QCOMPARE(rs.state(), RecordSet::State::Browse);
        const qlonglong code = rs.value(QStringLiteral("CodigoFornecedor")).toLongLong();
        QVERIFY(code > 0);
        QCOMPARE(m_db.sql(QStringLiteral("SELECT CodigoFornecedor FROM fornecedor")).value(0).toLongLong(),
                 code);
        QCOMPARE(m_db.sql(QStringLiteral("SELECT LENGTH(Nome) FROM fornecedor")).value(0),
                 QStringLiteral("50"));
        QCOMPARE(rs.text(QStringLiteral("Cgccpf")), QStringLiteral("12.345.678/0001-99"));
    }

    void bothSpellingsReachOneTable()
    {
        m_db.sql(QStringLiteral("INSERT INTO Fornecedor (Nome) VALUES ('UPPER')"));
        RecordSet rs(*m_conn, QStringLiteral("select * from fornecedor"));
        rs.open();
        QCOMPARE(rs.rowCount(), 1);
        QCOMPARE(rs.text(QStringLiteral("NOME")), QStringLiteral("UPPER"));
    }

    void nullAndEmptyTextStayApart()
    {
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        rs.open();
        rs.append();
        rs.setValue(QStringLiteral("Nome"), QString(""));
        rs.setValue(QStringLiteral("valor"), QStringLiteral(""));
        rs.post();
        QCOMPARE(m_db.sql(QStringLiteral(
                     "SELECT Nome IS NULL, Nome = '', nomefan IS NULL, valor IS NULL FROM fornecedor")),
                 QStringList{QStringLiteral("0")});
        QVERIFY(!rs.isNull(QStringLiteral("Nome")));
        QVERIFY(rs.isNull(QStringLiteral("nomefan")));
        QVERIFY(rs.isNull(QStringLiteral("valor")));
        // A character the single-byte column cannot hold arrives as "?"; accents and the euro stay.
        rs.edit();
        rs.setValue(QStringLiteral("nomefan"), QStringLiteral("ŁÓDŹ São €"));
        rs.post();
        QCOMPARE(m_db.sql(QStringLiteral("SELECT nomefan FROM fornecedor")).value(0),
                 QStringLiteral("?ÓD? São €"));
    }

    void eventsRunInOrder()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('A')"));
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        QStringList seen;
        rs.beforePost.add([&](RecordSet& s) {
            seen << QStringLiteral("beforePost:%1").arg(s.text(QStringLiteral("Nome")));
            s.setValue(QStringLiteral("filial"), QStringLiteral("DERIVED"));
        });
        rs.afterPost.add([&](RecordSet& s) { seen << QStringLiteral("afterPost:%1").arg(int(s.state())); });
        rs.afterEdit.add([&](RecordSet&) { seen << QStringLiteral("afterEdit"); });
        rs.afterInsert.add([&](RecordSet&) { seen << QStringLiteral("afterInsert"); });
        rs.open();
        rs.edit();
        rs.setValue(QStringLiteral("Nome"), QStringLiteral("B"));
        rs.post();
        rs.append();
        rs.setValue(QStringLiteral("Nome"), QStringLiteral("C"));
        rs.post();
        QCOMPARE(seen, (QStringList{"afterEdit", "beforePost:B", "afterPost:1", "afterInsert", "beforePost:C",
                                    "afterPost:1"}));
        QCOMPARE(m_db.sql(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE filial='DERIVED'")).value(0),
                 QStringLiteral("2"));
    }

    void refusedWriteKeepsRowPending()
    {
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        rs.open();
        rs.append();
        rs.setValue(QStringLiteral("Nome"), QStringLiteral("X"));
        rs.beforePost.add([](RecordSet&) { throw DbError(QStringLiteral("recusado")); });
        QVERIFY_THROWS_EXCEPTION(DbError, rs.post());
        QCOMPARE(rs.state(), RecordSet::State::Insert);
        QCOMPARE(rs.text(QStringLiteral("Nome")), QStringLiteral("X"));
        QCOMPARE(m_db.sql(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).value(0), QStringLiteral("0"));
    }

    void movingSavesChangedAndAbandonsUnchanged()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('A'),('B')"));
        RecordSet rs(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome"));
        rs.open();
        rs.edit();
        rs.setValue(QStringLiteral("Nome"), QStringLiteral("A2"));
        rs.next();
        QCOMPARE(rs.state(), RecordSet::State::Browse);
        QCOMPARE(m_db.sql(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Nome='A2'")).value(0),
                 QStringLiteral("1"));
        rs.append();
        rs.first();
        QCOMPARE(rs.rowCount(), 2); // the empty new row was abandoned
        QCOMPARE(m_db.sql(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).value(0), QStringLiteral("2"));
    }

    void updateWritesOnlyChangedColumns()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome, nomefan) VALUES ('A','FAN')"));
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        rs.open();
        m_db.sql(QStringLiteral("UPDATE fornecedor SET nomefan='OTHER STATION'"));
        rs.edit();
        rs.setValue(QStringLiteral("Nome"), QStringLiteral("MINE"));
        rs.post();
        QCOMPARE(m_db.sql(QStringLiteral("SELECT CONCAT(Nome,'/',nomefan) FROM fornecedor")).value(0),
                 QStringLiteral("MINE/OTHER STATION"));
        QCOMPARE(rs.text(QStringLiteral("nomefan")), QStringLiteral("OTHER STATION"));
    }

    void refreshKeepsCurrentRowAndCancelRestores()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('A'),('B'),('C')"));
        RecordSet rs(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome"));
        rs.open();
        rs.moveTo(2);
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('0 FIRST')"));
        rs.refresh();
        QCOMPARE(rs.text(QStringLiteral("Nome")), QStringLiteral("C"));
        QCOMPARE(rs.currentRow(), 3);
        rs.edit();
        rs.setValue(QStringLiteral("Nome"), QStringLiteral("Z"));
        rs.cancel();
        QCOMPARE(rs.text(QStringLiteral("Nome")), QStringLiteral("C"));
        rs.remove();
        QCOMPARE(m_db.sql(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Nome='C'")).value(0),
                 QStringLiteral("0"));
        QCOMPARE(rs.rowCount(), 3);
    }

    void writingWhileBrowsingFails()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('A')"));
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        rs.open();
        QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue(QStringLiteral("Nome"), QStringLiteral("B")));
        RecordSet closed(*m_conn, QStringLiteral("Select * From Fornecedor"));
        QVERIFY_THROWS_EXCEPTION(DbError, closed.remove());
    }

    void masterDetailFollowsCurrentRow()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (CodigoFornecedor, Nome) VALUES (1,'A'),(2,'B')"));
        m_db.sql(QStringLiteral(
            "DELETE FROM Nota; INSERT INTO Nota (Codigonota, Notafiscal, Codigofornecedor) VALUES "
            "(10,'N10',1),(11,'N11',1),(12,'N12',2)"));
        RecordSet master(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY CodigoFornecedor"));
        RecordSet detail(*m_conn,
                         QStringLiteral("Select * from Nota\nwhere Codigofornecedor = :codigoFornecedor\n"
                                        "Order by Codigonota"));
        detail.setMaster(&master);
        master.open();
        detail.open();
        QCOMPARE(detail.rowCount(), 2);
        master.next();
        QCOMPARE(detail.rowCount(), 1);
        QCOMPARE(detail.text(QStringLiteral("Notafiscal")), QStringLiteral("N12"));
        master.close();
        QCOMPARE(detail.rowCount(), 0);
    }

    void sortsOnSeveralColumns()
    {
        m_db.sql(QStringLiteral(
            "INSERT INTO fornecedor (Nome, nomefan) VALUES ('B','2'),('A','9'),('B','1'),('a','5')"));
        RecordSet rs(*m_conn, QStringLiteral("Select * From Fornecedor"));
        rs.open();
        const int nome = rs.fieldIndex(QStringLiteral("Nome")),
                  fan = rs.fieldIndex(QStringLiteral("nomefan"));
        rs.setSortKeys({{nome, true}, {fan, false}});
        QStringList got;
        for (int r = 0; r < rs.rowCount(); ++r)
            got << rs.valueAt(r, nome).toString() + rs.valueAt(r, fan).toString();
        QCOMPARE(got, (QStringList{"A9", "a5", "B2", "B1"}));
        rs.refresh(); // a re-read keeps the order, opening again starts from the statement's
        QCOMPARE(rs.valueAt(0, nome).toString() + rs.valueAt(0, fan).toString(), QStringLiteral("A9"));
        rs.close();
        rs.open();
        QVERIFY(rs.sortKeys().empty());
    }

    void lookupShowsListText()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome, CodigoTipo) VALUES ('A', 2), ('B', 999)"));
        RecordSet tipos(*m_conn, QStringLiteral("Select * from Tipos"));
        tipos.open();
        RecordSet rs(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome"));
        rs.addLookup({QStringLiteral("Tiposdespesas"), QStringLiteral("CodigoTipo"), &tipos,
                      QStringLiteral("CODIGOTIPO"), QStringLiteral("DESCTIPO"), 50});
        rs.open();
        QCOMPARE(rs.text(QStringLiteral("Tiposdespesas")), QStringLiteral("MATERIAL DE ESCRITORIO"));
        rs.next();
        QVERIFY(rs.isNull(QStringLiteral("Tiposdespesas"))); // a code with no type shows nothing
    }
};

QTEST_GUILESS_MAIN(RecordSetTest)
#include "tst_recordset.moc"
