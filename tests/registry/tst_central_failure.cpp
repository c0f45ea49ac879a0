// A central copy that fails inside "Salvar": the central server stops answering mid-save
// (a proxy cuts the session and refuses the reconnection) or refuses the row.
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/SupplierEntry.h"
#include "tests/support/TcpProxy.h"

#include <QtTest>

using cad::TfrmFornecedor;
using namespace testsupport;

class CentralFailureTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;
    std::unique_ptr<TcpProxy> m_proxy;
    TfrmFornecedor* m_f = nullptr;

    int count(const QString& nome)
    {
        return m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Nome='%1'").arg(nome))
            .value(0)
            .toInt();
    }
    int centralCount(const QString& key)
    {
        return m_fx->central(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Cgccpf='%1'").arg(key))
            .value(0)
            .toInt();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("centralfail"));
        m_f = &m_fx->openScreen();
        // The central connection goes through the proxy from now on.
        m_proxy = std::make_unique<TcpProxy>(server(Role::Central).port);
        cad::Connection& central = m_fx->dm().MyOstrel;
        cad::ConnectionSettings s = central.settings();
        s.port = m_proxy->port();
        central.close();
        central.setSettings(s);
        central.open();
    }
    void cleanupTestCase()
    {
        m_fx.reset();
        m_proxy.reset();
    }

    void localRowStaysSavedAndLayoutStaysEditing_data()
    {
        QTest::addColumn<bool>("serverStops");
        QTest::addColumn<QString>("document");
        QTest::newRow("central server stops during the save") << true << "11.222.333/0001-81";
        QTest::newRow("central server refuses the row") << false << "111.444.777-35";
    }
    void localRowStaysSavedAndLayoutStaysEditing()
    {
        QFETCH(bool, serverStops);
        QFETCH(QString, document);
        const QString key = QString(document).remove(QRegularExpression(QStringLiteral("[^0-9]")));
        if (serverStops) {
            m_proxy->setRefusing(true);
            m_proxy->cutAfterCommand(TcpProxy::kStmtExecute);
        } else {
            m_fx->central(
                QStringLiteral("CREATE TRIGGER recusa BEFORE INSERT ON fornecedor FOR EACH ROW "
                               "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Linha recusada pela central'"));
        }
        SupplierInput in;
        in.nome = QStringLiteral("FALHA ") + key;
        in.document = document;
        enterNew(*m_f, in);

        click(*m_f, "ToolButton7");

        const auto shown = m_fx->takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, cad::dialogs::Icon::Error);
        QCOMPARE(shown[0].title, QStringLiteral("Cadastro de Fornecedor"));
        if (serverStops)
            QCOMPARE(m_proxy->cuts(), 1);
        else
            QCOMPARE(shown[0].text, QStringLiteral("Linha recusada pela central."));
        QCOMPARE(count(in.nome), 1);
        QCOMPARE(m_f->tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(m_f->tbFornecedor.text(QStringLiteral("Nome")), in.nome);
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Dados"));
        m_proxy->setRefusing(false);
        m_fx->central(QStringLiteral("DROP TRIGGER IF EXISTS recusa"));
        QCOMPARE(centralCount(key), 0);

        // "Salvar" again only resets the layout: nothing is pending, nothing is written.
        click(*m_f, "ToolButton7");
        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Browse);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(count(in.nome), 1);
        QCOMPARE(centralCount(key), 0);
    }
};

QTEST_MAIN(CentralFailureTest)
#include "tst_central_failure.moc"
