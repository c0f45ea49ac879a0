// The route screen with the real browser: routes drawn by the page, distances read back and kept.
#include "maps/MapaWebPage.h"
#include "tests/maps/MapaFixture.h"
#include "tests/maps/MapaTestMain.h"
#include "tests/registry/ScreenSteps.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineView>

using testsupport::control;
using testsupport::kOrigin;

class FormMapaTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::MapaFixture> m_fx;

    static QString distance(cad::TFormMapa& f)
    {
        return control<QLabel>(f, QStringLiteral("lblDistancia"))->text();
    }

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<testsupport::MapaFixture>(QStringLiteral("mapa")); }
    void cleanupTestCase() { m_fx.reset(); }
    void init()
    {
        m_fx->resetOrigin();
        m_fx->screen().takeMessages();
    }

    void routeIsDrawnAndItsDistanceKept_data()
    {
        QTest::addColumn<QStringList>("address"); // street, number, district, city, state
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("km");
        QTest::newRow("12 345 m") << QStringList{"Rua Augusta", "500", "Consolação", "São Paulo", "SP"}
                                  << "RUA+AUGUSTA,500,CONSOLAÇÃO,SÃO+PAULO,SP"
                                  << "12.345";
        QTest::newRow("exactly 7 000 m in two legs")
            << QStringList{"AVENIDA BRASIL", "1500", "JARDIM AMERICA", "SAO PAULO", "SP"}
            << "AVENIDA+BRASIL,1500,JARDIM+AMERICA,SAO+PAULO,SP"
            << "7";
        QTest::newRow("apostrophe") << QStringList{"RUA OLHO D'ÁGUA", "12", "CENTRO", "SAO PAULO", "SP"}
                                    << "RUA+OLHO+D'ÁGUA,12,CENTRO,SAO+PAULO,SP"
                                    << "25.4";
        QTest::newRow("address parts missing")
            << QStringList{"RUA AUGUSTA", "", "", "SAO PAULO", "SP"} << "RUA+AUGUSTA,SAO+PAULO,SP"
            << "12.345";
    }
    void routeIsDrawnAndItsDistanceKept()
    {
        QFETCH(QStringList, address);
        QFETCH(QString, destination);
        QFETCH(QString, km);
        const int code = m_fx->addSupplier(address, QStringLiteral("1"));
        QFile::remove(cad::TFormMapa::pagePath());
        auto f = m_fx->open(code);
        QCOMPARE(control<QLineEdit>(*f, QStringLiteral("edtDestinoLogradouro"))->text(),
                 address[0].toUpper());
        QVERIFY(distance(*f).isEmpty());

        QTest::mouseClick(control<QPushButton>(*f, QStringLiteral("btnTracaRota")), Qt::LeftButton);

        QCOMPARE(m_fx->takeDirections(), (QList<QStringList>{{kOrigin, destination, "DRIVING"}}));
        QCOMPARE(distance(*f), km);
        QCOMPARE(m_fx->storedKm(code), km);
        QCOMPARE(m_fx->scratchKm(), QStringList{km});
        QVERIFY(m_fx->screen().takeMessages().isEmpty());
        QFile page(cad::TFormMapa::pagePath());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().endsWith("</html>\r\n"));
    }

    void originTexts_data()
    {
        QTest::addColumn<QString>("update");
        QTest::addColumn<QString>("origin");
        QTest::newRow("city and state") << "Endereco=NULL, numero=NULL, Bairro=''"
                                        << "SAO+PAULO,SP";
        QTest::newRow("street and state") << "numero=NULL, Bairro=NULL, Cidade=NULL"
                                          << "AVENIDA+PAULISTA,SP";
    }
    void originTexts()
    {
        QFETCH(QString, update);
        QFETCH(QString, origin);
        m_fx->screen().local(QStringLiteral("UPDATE configuracao SET ") + update);
        const int code = m_fx->addSupplier({"RUA AUGUSTA", "500", "CONSOLACAO", "SAO PAULO", "SP"});
        auto f = m_fx->open(code);
        testsupport::click(*f, QStringLiteral("btnTracaRota"));
        QCOMPARE(m_fx->takeDirections().value(0).value(0), origin);
        QCOMPARE(distance(*f), QStringLiteral("12.345"));
    }

    void choosingModesReplacesTheDistance()
    {
        const int code = m_fx->addSupplier({"RUA AUGUSTA", "500", "CONSOLACAO", "SAO PAULO", "SP"});
        auto f = m_fx->open(code);
        auto* modes = control<QComboBox>(*f, QStringLiteral("cbbModo"));
        QCOMPARE(modes->currentText(), QStringLiteral("De Carro"));
        testsupport::click(*f, QStringLiteral("btnTracaRota"));
        QCOMPARE(distance(*f), QStringLiteral("12.345"));
        QCOMPARE(m_fx->takeDirections().size(), 1);

        // Each choice waits for its own page: the earlier page's distance is never read.
        const QList<std::pair<QString, QString>> choices{
            {"WALKING", "9.87"}, {"BICYCLING", "11.2"}, {"DRIVING", "12.345"}};
        for (const auto& [mode, km] : choices) {
            modes->setFocus();
            QTest::keyClick(modes, mode == QLatin1String("DRIVING") ? Qt::Key_Home : Qt::Key_Down);
            QCOMPARE(modes->currentData().toString(), mode);
            QCOMPARE(m_fx->takeDirections(),
                     (QList<QStringList>{{kOrigin, "RUA+AUGUSTA,500,CONSOLACAO,SAO+PAULO,SP", mode}}));
            QCOMPARE(distance(*f), km);
            QCOMPARE(m_fx->storedKm(code), km);
            QCOMPARE(m_fx->scratchKm(), QStringList{km});
            QVERIFY(control<QPushButton>(*f, QStringLiteral("btnTracaRota"))->isHidden());
        }
        QVERIFY(m_fx->screen().takeMessages().isEmpty());
    }

    void openingEmptiesTheScratchTable()
    {
        m_fx->screen().local(
            QStringLiteral("INSERT INTO virtualcliente (nome, kilometragem) VALUES ('A', '3'), ('B', '4')"));
        const int code =
            m_fx->addSupplier({"RUA AUGUSTA", "500", "CONSOLACAO", "SAO PAULO", "SP"}, QStringLiteral("8"));
        auto f = m_fx->open(code);
        QCOMPARE(m_fx->scratchKm(), QStringList());
        QCOMPARE(control<QLineEdit>(*f, QStringLiteral("edtOrigemLogradouro"))->text(),
                 QStringLiteral("AVENIDA PAULISTA"));
        QCOMPARE(control<QLineEdit>(*f, QStringLiteral("edtDestinoBairro"))->text(),
                 QStringLiteral("CONSOLACAO"));
        QVERIFY(control<QLineEdit>(*f, QStringLiteral("edtDestinoCidade"))->isReadOnly());
        QCOMPARE(m_fx->takeDirections(), QList<QStringList>()); // nothing drawn before a command
    }

    void mostrarMapaShowsTheOriginAndStoresNothing()
    {
        const int code =
            m_fx->addSupplier({"RUA AUGUSTA", "500", "CONSOLACAO", "SAO PAULO", "SP"}, QStringLiteral("8"));
        auto f = m_fx->open(code);
        testsupport::click(*f, QStringLiteral("Button1"));
        const QString address = QStringLiteral("https://%1/maps?q=%2").arg(m_fx->maps().hostPort(), kOrigin);
        QCOMPARE(f->windowTitle(), address);
        auto* browser = control<QWebEngineView>(*f, QStringLiteral("WebBrowser1"));
        QTRY_COMPARE(browser->title(), QStringLiteral("Mapa"));
        QCOMPARE(browser->url().toString(), address);
        QCOMPARE(m_fx->storedKm(code), QStringLiteral("8"));
        QCOMPARE(m_fx->scratchKm(), QStringList());
        QVERIFY(distance(*f).isEmpty());
    }

    // No button is the default: Enter in a field or on a button opens nothing.
    void enterPressesNoButton()
    {
        auto f = m_fx->open(m_fx->addSupplier({"RUA AUGUSTA", "500", "CONSOLACAO", "SAO PAULO", "SP"}));
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        const QString caption = f->windowTitle();
        for (const char* name : {"edtDestinoCidade", "Button1", "btnTracaRota"}) {
            auto* w = control<QWidget>(*f, QLatin1String(name));
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
        }
        for (auto* b : f->findChildren<QPushButton*>())
            QVERIFY(!b->isDefault() && !b->autoDefault());
        QCOMPARE(f->windowTitle(), caption);
        QVERIFY(f->isVisible());
        QCOMPARE(control<QWebEngineView>(*f, QStringLiteral("WebBrowser1"))->url(), QUrl());
    }

    void readsTheLastMatchingElement_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("error");
        QTest::newRow("last of two wins")
            << "<input id='inputTotal' value='1'><input id='inputTotal' value='2'>"
            << "inputTotal"
            << "2"
            << "";
        QTest::newRow("identifier case counts") << "<input id='InputTotal' value='1'>"
                                                << "inputTotal"
                                                << ""
                                                << "";
        QTest::newRow("current value, not the written one")
            << "<input id='inputTotal' value=''><script>document.getElementById('inputTotal').value = "
               "'4.5'</script>"
            << "inputTotal"
            << "4.5"
            << "";
        QTest::newRow("no body")
            << "<p>x</p><script>document.documentElement.removeChild(document.body)</script>"
            << "inputTotal"
            << ""
            << "Não foi possível encontrar o elemento <body>";
    }
    void readsTheLastMatchingElement()
    {
        QFETCH(QString, html);
        QFETCH(QString, id);
        QFETCH(QString, value);
        QFETCH(QString, error);
        cad::MapaWebPage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.setHtml(QStringLiteral("<!DOCTYPE html><html><body>") + html + QStringLiteral("</body></html>"));
        QVERIFY(loaded.wait(20000));
        try {
            QCOMPARE(
                cad::TFormMapa::LerValorElemento(page, QStringLiteral("input"), QStringLiteral("value"), id),
                value);
            QVERIFY(error.isEmpty());
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()), error);
        }
    }

    void notAnHtmlDocumentFailsTheRead()
    {
        cad::MapaWebPage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.setContent("<?xml version='1.0'?><r><input id='inputTotal' value='1'/></r>",
                        QStringLiteral("application/xml"));
        QVERIFY(loaded.wait(20000));
        try {
            (void)cad::TFormMapa::LerValorElemento(page, QStringLiteral("input"), QStringLiteral("value"),
                                                   QStringLiteral("inputTotal"));
            QFAIL("an XML document was read");
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Documento HTML inválido"));
        }
    }

    // A script in the route page (the provider's, or one forged on the way) cannot read the files
    // beside it, Admin.ini with its passwords among them; a browser page left at its defaults can.
    void pageScriptCannotReadSiblingFiles_data()
    {
        QTest::addColumn<bool>("routePage");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("route screen's page") << true << "bloqueado";
        QTest::newRow("browser defaults") << false << "lido:SENHA=segredo";
    }
    void pageScriptCannotReadSiblingFiles()
    {
        QFETCH(bool, routePage);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        QFile secret(dir.filePath(QStringLiteral("Admin.ini")));
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("SENHA=segredo") > 0);
        secret.close();
        QFile probe(dir.filePath(QStringLiteral("Mapa.html")));
        QVERIFY(probe.open(QIODevice::WriteOnly));
        probe.write(R"HTML(<html><head><title>inicio</title><script>
            function probe() {
                var x = new XMLHttpRequest();
                x.onload = function () { document.title = 'lido:' + x.responseText; };
                x.onerror = function () { document.title = 'bloqueado'; };
                try { x.open('GET', 'Admin.ini'); x.send(); } catch (e) { document.title = 'bloqueado'; }
            }
            </script></head><body onload="probe()"></body></html>)HTML");
        probe.close();

        auto f = m_fx->open(QVariant());
        auto* browser = control<QWebEngineView>(*f, QStringLiteral("WebBrowser1"));
        QWebEnginePage defaults;
        QWebEnginePage* page = routePage ? browser->page() : &defaults;
        page->load(QUrl::fromLocalFile(probe.fileName()));
        QTRY_VERIFY_WITH_TIMEOUT(page->title() == QLatin1String("bloqueado") ||
                                     page->title().startsWith(QLatin1String("lido:")),
                                 20000);
        QCOMPARE(page->title(), outcome);
    }

    void consultaMapaOpensTheRouteOfTheCurrentSupplier()
    {
        const int code = m_fx->addSupplier({"RUA AUGUSTA", "77", "CONSOLACAO", "SAO PAULO", "SP"});
        cad::TfrmFornecedor& screen = m_fx->screen().openScreen();
        testsupport::search(screen, QStringLiteral("SpeedButton4"), QString::number(code));
        QString street, title;
        bool maximised = false;
        testsupport::ModalAnswer<cad::TFormMapa> answer([&](cad::TFormMapa& route) {
            street = control<QLineEdit>(route, QStringLiteral("edtDestinoNumero"))->text();
            title = route.windowTitle();
            maximised = route.isMaximized();
            route.reject();
        });
        control<QAbstractButton>(screen, QStringLiteral("imgConsultaMapa"))->click();
        QCOMPARE(street, QStringLiteral("77"));
        QCOMPARE(title, QStringLiteral("Gerando Mapas Ponto a Ponto"));
        QVERIFY(maximised);
        QVERIFY(!screen.findChild<cad::TFormMapa*>()); // destroyed once closed
        QVERIFY(m_fx->screen().takeMessages().isEmpty());
    }
};

CAD_BROWSER_TEST_MAIN(FormMapaTest)
#include "tst_formmapa.moc"
