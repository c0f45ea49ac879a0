// Start-up as the program runs it (data module, then the supplier screen's FormCreate) over the
// real test servers, with each way of failing: what is shown, what opens, and that the screen
// still comes up.
#include "app/DataModule.h"
#include "app/ui/Dialogs.h"
#include "app/ui/ErrorDisplay.h"
#include "core/ErrorSink.h"
#include "registry/TfrmFornecedor.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/TestDb.h"

#include <QTemporaryDir>
#include <QtTest>

using testsupport::Role;

namespace {

const QString kCaption =
    QStringLiteral("Atualizado 24-08-2023 / 19:30 - Nome do Usuário : MARIA - LOJA CENTRO");

struct Section
{
    int port;
    QString database, password; // a null password leaves the SENHA line out

    [[nodiscard]] QString ini(const char* name) const
    {
        QString text = QStringLiteral("[%1]\nPORTA=%2\nSERVIDOR=127.0.0.1\nBANCO=%3\n")
                           .arg(QLatin1String(name))
                           .arg(port)
                           .arg(database);
        if (!password.isNull()) text += QStringLiteral("SENHA=%1\n").arg(password);
        return text;
    }
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
    testsupport::TestDatabase m_localDb{Role::Local, QStringLiteral("startup"), true};
    testsupport::TestDatabase m_centralDb{Role::Central, QStringLiteral("startupc")};
    QTemporaryDir m_dir;
    QList<cad::dialogs::Request> m_shown;
    std::unique_ptr<cad::TDM> m_dm;
    std::unique_ptr<cad::TfrmFornecedor> m_form;

    Section goodLocal() const
    {
        const auto s = testsupport::server(Role::Local);
        return {s.port, m_localDb.name(), s.password};
    }
    Section goodCentral() const
    {
        const auto s = testsupport::server(Role::Central);
        return {s.port, m_centralDb.name(), s.password};
    }
    void writeIni(const Section& local, const Section& central)
    {
        QFile f(m_dir.filePath(QStringLiteral("Admin.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((local.ini("LOCAL") + central.ini("GERENCIA")).toUtf8());
    }
    // Steps 3 to 5 of start-up, as main() runs them.
    void start()
    {
        m_form.reset();
        m_dm = std::make_unique<cad::TDM>();
        cad::guarded([&] { m_dm->DataModuleCreate(m_dir.path()); });
        m_form = std::make_unique<cad::TfrmFornecedor>(*m_dm, QStringLiteral("MARIA"));
        m_form->FormCreate();
        m_form->show();
    }

private Q_SLOTS:
    void initTestCase()
    {
        cad::errordisplay::install();
        cad::dialogs::setResponder([this](const cad::dialogs::Request& r) {
            m_shown << r;
            return cad::dialogs::Answer::Ok;
        });
    }
    void cleanupTestCase()
    {
        cad::dialogs::setResponder({});
        m_form.reset();
        m_dm.reset();
    }
    void init() { m_shown.clear(); }

    void connectionFailures_data()
    {
        QTest::addColumn<QString>("broken");   // which section is spoiled
        QTest::addColumn<QString>("how");      // port, password, no password line or database
        QTest::addColumn<QString>("expected"); // part of the server's or client's message
        QTest::addColumn<int>("errors");
        QTest::addColumn<bool>("localOpen");
        QTest::addColumn<bool>("captionSet");
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "" << 0 << true << true;
        // The local failure ends the step before the central connection; FormCreate's own-company
        // record set tries the local connection again, fails, and leaves the caption unset.
        QTest::newRow("local port") << "LOCAL"
                                    << "port"
                                    << "connect" << 2 << false << false;
        QTest::newRow("local password") << "LOCAL"
                                        << "password"
                                        << "denied" << 2 << false << false;
        QTest::newRow("local database") << "LOCAL"
                                        << "database"
                                        << "nknown database" << 2 << false << false;
        QTest::newRow("central port") << "GERENCIA"
                                      << "port"
                                      << "connect" << 1 << true << true;
        QTest::newRow("central password") << "GERENCIA"
                                          << "password"
                                          << "denied" << 1 << true << true;
        // An Admin.ini of the days when the password was inside the program: the missing line is
        // named, never the server's access-denied text, also when FormCreate tries again.
        QTest::newRow("local SENHA missing")
            << "LOCAL"
            << "no password line"
            << "Admin.ini: falta SENHA na seção [LOCAL]." << 2 << false << false;
        QTest::newRow("central SENHA missing")
            << "GERENCIA"
            << "no password line"
            << "Admin.ini: falta SENHA na seção [GERENCIA]." << 1 << true << true;
    }
    void connectionFailures()
    {
        QFETCH(QString, broken);
        QFETCH(QString, how);
        QFETCH(QString, expected);
        QFETCH(int, errors);
        QFETCH(bool, localOpen);
        QFETCH(bool, captionSet);
        Section local = goodLocal(), central = goodCentral();
        Section& spoiled = broken == QLatin1String("LOCAL") ? local : central;
        if (how == QLatin1String("port"))
            spoiled.port = testsupport::unusedLoopbackPort();
        else if (how == QLatin1String("password"))
            spoiled.password = QStringLiteral("errada");
        else if (how == QLatin1String("no password line"))
            spoiled.password = QString();
        else if (how == QLatin1String("database"))
            spoiled.database = QStringLiteral("nao_existe_") + m_localDb.name();
        writeIni(local, central);

        start();
        QCOMPARE(m_shown.size(), errors);
        for (const auto& r : std::as_const(m_shown)) {
            QCOMPARE(r.title, QStringLiteral("Cadastro de Fornecedor"));
            QCOMPARE(r.icon, cad::dialogs::Icon::Error);
            QVERIFY2(r.text.contains(expected, Qt::CaseInsensitive), qPrintable(r.text));
        }
        QCOMPARE(m_dm->MyConnection1.isOpen(), localOpen);
        // The central connection opens only when everything before it worked.
        QCOMPARE(m_dm->MyOstrel.isOpen(), errors == 0);
        QCOMPARE(m_form->windowTitle() == kCaption, captionSet);
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(m_form->bars(), cad::TfrmFornecedor::Bars::Browse);
    }

    // A record set of FormCreate that cannot open: shown once, the later sub-steps skipped.
    void recordSetFailures_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("statesOpen");
        QTest::addColumn<bool>("municipalitiesOpen");
        QTest::newRow("own company") << "configuracao" << false << false;
        QTest::newRow("states") << "Uf" << false << false;
        QTest::newRow("municipalities") << "Municipios_Ibge" << true << false;
    }
    void recordSetFailures()
    {
        QFETCH(QString, table);
        QFETCH(bool, statesOpen);
        QFETCH(bool, municipalitiesOpen);
        writeIni(goodLocal(), goodCentral());
        m_localDb.sql(QStringLiteral("RENAME TABLE %1 TO sumida").arg(table));
        start();
        m_localDb.sql(QStringLiteral("RENAME TABLE sumida TO %1").arg(table));

        QCOMPARE(m_shown.size(), 1);
        QVERIFY2(m_shown[0].text.contains(table, Qt::CaseInsensitive), qPrintable(m_shown[0].text));
        QVERIFY(m_shown[0].text.endsWith(QLatin1Char('.')));
        QCOMPARE(m_form->myqryMyUf.isOpen(), statesOpen);
        QCOMPARE(m_form->myqryMyMunicipios.isOpen(), municipalitiesOpen);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Cadastro de Fornecedor")); // caption not set
        QVERIFY(m_form->isVisible());
    }

    // With no Admin.ini the connections are tried with port 0 and empty names; none is written.
    void noAdminIni()
    {
        QTemporaryDir empty;
        m_form.reset();
        m_dm = std::make_unique<cad::TDM>();
        cad::guarded([&] { m_dm->DataModuleCreate(empty.path()); });
        const cad::ConnectionSettings& s = m_dm->MyConnection1.settings();
        QCOMPARE(s.port, 0);
        QVERIFY(s.host.isEmpty());
        QVERIFY(s.database.isEmpty());
        QCOMPARE(s.user, QStringLiteral("root"));
        QCOMPARE(s.connectTimeoutSeconds, 120);
        QCOMPARE(m_dm->MyOstrel.settings().user, QStringLiteral("parvixsistemasinfo"));
        if (!m_dm->MyConnection1.isOpen()) { // whether it opens is the client library's affair
            QVERIFY(!m_dm->MyOstrel.isOpen());
            QCOMPARE(m_shown.size(), 1);
        }
        QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("Admin.ini"))));
    }

    // The operator's name and the own company's name as stored make the caption.
    void caption_data()
    {
        QTest::addColumn<QString>("operatorName");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("caption");
        QTest::newRow("two words, accents")
            << "José da Silva"
            << "LOJA SÃO JOÃO"
            << "Atualizado 24-08-2023 / 19:30 - Nome do Usuário : José da Silva"
               " - LOJA SÃO JOÃO";
        QTest::newRow("quote in the name")
            << "MARIA"
            << "D'AVILA & CIA"
            << "Atualizado 24-08-2023 / 19:30 - Nome do Usuário : MARIA - D'AVILA & CIA";
    }
    void caption()
    {
        QFETCH(QString, operatorName);
        QFETCH(QString, company);
        QFETCH(QString, caption);
        writeIni(goodLocal(), goodCentral());
        m_localDb.sql(
            QStringLiteral("UPDATE configuracao SET Nome = '%1'").arg(QString(company).replace("'", "''")));
        m_form.reset();
        m_dm = std::make_unique<cad::TDM>();
        m_dm->DataModuleCreate(m_dir.path());
        m_form = std::make_unique<cad::TfrmFornecedor>(*m_dm, operatorName);
        m_form->FormCreate();
        m_localDb.sql(QStringLiteral("UPDATE configuracao SET Nome = 'LOJA CENTRO'"));
        QCOMPARE(m_form->windowTitle(), caption);
        QVERIFY(m_shown.isEmpty());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
