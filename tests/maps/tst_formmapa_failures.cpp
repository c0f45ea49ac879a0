// The route screen when no route comes back, the origin is missing or the screen is closed mid-way.
#include "maps/MapaWebPage.h"
#include "tests/maps/MapaFixture.h"
#include "tests/maps/MapaTestMain.h"
#include "tests/registry/ScreenSteps.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QWebEngineView>

using namespace cad;
using testsupport::control;

class FormMapaFailuresTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::MapaFixture> m_fx;

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<testsupport::MapaFixture>(QStringLiteral("mapafail")); }
    void cleanupTestCase() { m_fx.reset(); }
    void init()
    {
        m_fx->resetOrigin();
        m_fx->screen().takeMessages();
    }

    void aFailedRouteSaysWhyAtOnce_data()
    {
        QTest::addColumn<QString>("street");
        QTest::addColumn<QString>("key");     // configured in Admin.ini
        QTest::addColumn<bool>("keyChecked"); // the service accepts only CHAVE-BOA
        QTest::addColumn<QString>("message");
        QTest::newRow("address not found")
            << "RUA INEXISTENTE" << QString() << false << "Verifique o Endereço se está Correto !!";
        QTest::newRow("no key configured")
            << "RUA AUGUSTA" << QString() << true
            << "Nenhuma chave da API de mapas configurada (MAPASCHAVE na seção [SERVICOS] do Admin.ini): o "
               "serviço de mapas recusou o pedido.";
        QTest::newRow("key refused") << "RUA AUGUSTA"
                                     << "CHAVE-RUIM" << true
                                     << "O serviço de mapas recusou o pedido (REQUEST_DENIED).";
    }

    void aFailedRouteSaysWhyAtOnce()
    {
        QFETCH(QString, street);
        QFETCH(QString, key);
        QFETCH(bool, keyChecked);
        QFETCH(QString, message);
        std::unique_ptr<standins::StandInProcess> strict;
        if (keyChecked) {
            qputenv("CAD_STANDIN_MAPS_KEYS", "CHAVE-BOA");
            const auto& certs = m_fx->certs();
            strict = std::make_unique<standins::StandInProcess>(
                QStringLiteral("maps_api.py"),
                QStringList{QStringLiteral("--tls-cert"), certs.certFile(QStringLiteral("server")),
                            QStringLiteral("--tls-key"), certs.keyFile(QStringLiteral("server"))});
            qunsetenv("CAD_STANDIN_MAPS_KEYS");
            serviceSettings().mapsHost = strict->hostPort();
        }
        serviceSettings().mapsKey = key;
        const int code = m_fx->addSupplier({street, "1", "CENTRO", "SAO PAULO", "SP"}, QStringLiteral("42"));
        auto f = m_fx->open(code);
        QElapsedTimer clock;
        clock.start();
        testsupport::click(*f, QStringLiteral("btnTracaRota"));
        const qint64 waited = clock.elapsed();
        serviceSettings().mapsHost = m_fx->maps().hostPort();
        serviceSettings().mapsKey.clear();
        QVERIFY2(waited < 10000, "the screen read until its bound instead of taking the page's report");
        const auto messages = m_fx->screen().takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, message);
        QVERIFY(control<QLabel>(*f, QStringLiteral("lblDistancia"))->text().isEmpty());
        QCOMPARE(m_fx->storedKm(code), QStringLiteral("42"));
        QCOMPARE(m_fx->scratchKm(), QStringList());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr); // the wait pointer ended
    }

    // A map provider whose certificate no trusted authority signed (someone on the path) gets no say
    // in the page: its script is refused, no route is drawn and nothing is stored.
    void untrustedMapProviderIsRefused()
    {
        const auto& certs = m_fx->certs();
        standins::StandInProcess rogue(QStringLiteral("maps_api.py"),
                                       {QStringLiteral("--tls-cert"), certs.certFile(QStringLiteral("rogue")),
                                        QStringLiteral("--tls-key"), certs.keyFile(QStringLiteral("rogue"))});
        const auto restore =
            qScopeGuard([host = serviceSettings().mapsHost] { serviceSettings().mapsHost = host; });
        serviceSettings().mapsHost = rogue.hostPort();
        const int code =
            m_fx->addSupplier({"RUA AUGUSTA", "3", "CENTRO", "SAO PAULO", "SP"}, QStringLiteral("42"));
        auto f = m_fx->open(code);
        testsupport::click(*f, QStringLiteral("btnTracaRota")); // the page reports its script missing
        const auto messages = m_fx->screen().takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("O serviço de mapas não pôde ser carregado."));
        QCOMPARE(m_fx->storedKm(code), QStringLiteral("42"));
        QCOMPARE(m_fx->scratchKm(), QStringList());
    }

    void closingDuringTheWaitEndsItAndStoresNothing()
    {
        const int code =
            m_fx->addSupplier({"RUA INEXISTENTE", "2", "CENTRO", "SAO PAULO", "SP"}, QStringLiteral("42"));
        auto f = m_fx->open(code);
        auto* page = control<QWebEngineView>(*f, QStringLiteral("WebBrowser1"))->page();
        // The operator closes the screen once the page is there and its reading has begun.
        QObject::connect(page, &QWebEnginePage::loadFinished, f.get(),
                         [&] { QTimer::singleShot(0, f.get(), [&] { f->reject(); }); });
        QElapsedTimer clock;
        clock.start();
        testsupport::click(*f, QStringLiteral("btnTracaRota"));
        QVERIFY2(clock.elapsed() < 10000, "the reading went on after the screen was closed");
        QVERIFY(!f->isVisible());
        QVERIFY(m_fx->screen().takeMessages().isEmpty());
        QCOMPARE(m_fx->storedKm(code), QStringLiteral("42"));
        QCOMPARE(m_fx->scratchKm(), QStringList());
    }

    void missingOriginStopsBeforeThePage()
    {
        m_fx->screen().local(QStringLiteral(
            "UPDATE configuracao SET Endereco=NULL, numero='', Bairro=NULL, Cidade=NULL, Estado=NULL"));
        const int code =
            m_fx->addSupplier({"RUA AUGUSTA", "500", "CONSOLACAO", "SAO PAULO", "SP"}, QStringLiteral("42"));
        QFile::remove(cad::TFormMapa::pagePath());
        auto f = m_fx->open(code);
        testsupport::click(*f, QStringLiteral("btnTracaRota"));
        const auto messages = m_fx->screen().takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].title, QStringLiteral("ERRO"));
        QCOMPARE(messages[0].text, QStringLiteral("Falta informar dados da origem"));
        QCOMPARE(messages[0].icon, cad::dialogs::Icon::Warning);
        QVERIFY(!QFile::exists(cad::TFormMapa::pagePath()));
        QCOMPARE(m_fx->storedKm(code), QStringLiteral("42"));
        // No route asked for this supplier. The page of the case before, closed while it waited,
        // may still send its own request meanwhile: that one does not count.
        for (const QStringList& asked : m_fx->takeDirections())
            QVERIFY2(!asked.value(1).contains(QStringLiteral("AUGUSTA")), qPrintable(asked.join(u' ')));
    }
};

CAD_BROWSER_TEST_MAIN(FormMapaFailuresTest)
#include "tst_formmapa_failures.moc"
