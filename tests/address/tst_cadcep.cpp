// TCadCEP with the ViaCEP provider, through the real HTTP client against the ViaCEP stand-in.
#include "address/CadCEP.h"
#include "address/CadWSViaCEP.h"
#include "http/ServiceSettings.h"
#include "standins/StandInProcess.h"
#include "tests/http/TestCertificates.h"

#include <QScopeGuard>
#include <QTest>
#include <memory>

using namespace cad;

class TestCadCEP : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void answers_data();
    void answers();
    void twoAddresses();
    void digitsSentUnchecked_data();
    void digitsSentUnchecked();
    void noDigits();
    void providers();
    void readElement_data();
    void readElement();
    void schemeOfTheService_data();
    void schemeOfTheService();

private:
    [[nodiscard]] QStringList paths() const;

    std::unique_ptr<standins::StandInProcess> m_server;
    std::unique_ptr<TCadCEP> m_cep;
    int m_events = 0;
    int m_countInEvent = -1;
    TCadCEPWSClass* m_sender = nullptr;
};

void TestCadCEP::initTestCase()
{
    m_server = std::make_unique<standins::StandInProcess>(QStringLiteral("viacep.py"));
    serviceSettings().viaCepHost = m_server->url(QString()); // "http://127.0.0.1:port"
}

// The component as the supplier screen configures it.
void TestCadCEP::init()
{
    m_cep = std::make_unique<TCadCEP>();
    m_cep->SetProxyPort(QStringLiteral("8080"));
    m_cep->SetParseText(true);
    m_cep->SetWebService(wsViaCep);
    m_cep->SetPesquisarIBGE(true);
    m_events = 0;
    m_countInEvent = -1;
    m_sender = nullptr;
    m_cep->OnBuscaEfetuada = [this](TCadCEPWSClass* sender) {
        ++m_events;
        m_sender = sender;
        m_countInEvent = m_cep->Enderecos().Count();
    };
    (void)m_server->takeRequests();
}

QStringList TestCadCEP::paths() const
{
    QStringList out;
    for (const QJsonValue& r : m_server->takeRequests())
        out << r.toObject().value(QStringLiteral("path")).toString();
    return out;
}

void TestCadCEP::answers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>(
        "address"); // Cep, Logradouro, Complemento, Bairro, Cidade, UF, CodigoCidade

    const QStringList paulista{"01310-100",  "Avenida Paulista", "de 612 a 1510 - lado par",
                               "Bela Vista", "São Paulo",        "SP",
                               "3550308"};
    QTest::newRow("hyphen") << "01310-100"
                            << "/ws/01310100/xml" << paulista;
    QTest::newRow("dots and hyphen") << "01.310-100"
                                     << "/ws/01310100/xml" << paulista;
    QTest::newRow("blanks around") << "  01310100 "
                                   << "/ws/01310100/xml" << paulista;
    QTest::newRow("one line, entity")
        << "01001000"
        << "/ws/01001000/xml"
        << QStringList{"01001-000", "Praça da Sé", "lado ímpar & sé", "Sé", "São Paulo", "SP", "3550308"};
    // A value broken over two lines is joined without a blank.
    QTest::newRow("split over lines")
        << "20040-020"
        << "/ws/20040020/xml"
        << QStringList{"20040-020", "Rua daAssembleia", "", "Centro", "Rio de Janeiro", "RJ", "3304557"};
    QTest::newRow("namespace prefix")
        << "70040-010"
        << "/ws/70040010/xml"
        << QStringList{"70040-010", "Setor Bancário Norte Quadra 1", "", "Asa Norte", "Brasília", "DF",
                       "5300108"};
    QTest::newRow("capitals and cepx")
        << "30130-010"
        << "/ws/30130010/xml"
        << QStringList{"30130-010", "Praça Sete de Setembro", "", "Centro", "Belo Horizonte", "MG",
                       "3106200"};
    QTest::newRow("no ibge") << "69900-001"
                             << "/ws/69900001/xml"
                             << QStringList{
                                    "69900-001", "Rua Benjamin Constant", "", "Centro", "Rio Branco", "AC",
                                    ""};
    QTest::newRow("not found") << "99999-999"
                               << "/ws/99999999/xml" << QStringList{};
}

void TestCadCEP::answers()
{
    QFETCH(QString, typed);
    QFETCH(QString, path);
    QFETCH(QStringList, address);

    const int count = m_cep->BuscarPorCEP(typed);
    QCOMPARE(paths(), QStringList{path});
    QCOMPARE(count, address.isEmpty() ? 0 : 1);
    QCOMPARE(m_cep->Enderecos().Count(), count);
    // The event runs once, inside the search, with the provider as sender, also when nothing was found.
    QCOMPARE(m_events, 1);
    QCOMPARE(m_countInEvent, count);
    QCOMPARE(m_sender, &m_cep->Provider());
    if (count == 0) return;
    const TCadCEPEndereco& e = m_cep->Enderecos()[0];
    QCOMPARE((QStringList{e.Cep, e.Logradouro, e.Complemento, e.Bairro, e.Cidade, e.UF, e.CodigoCidade}),
             address);
    QVERIFY(e.TipoLogradouro.isEmpty());
}

void TestCadCEP::twoAddresses()
{
    QCOMPARE(m_cep->BuscarPorCEP(QStringLiteral("04538-132")), 2);
    QCOMPARE(m_cep->Enderecos()[0].Cep, QStringLiteral("04538-132"));
    QCOMPARE(m_cep->Enderecos()[1].Cep, QStringLiteral("04538-133"));
    QCOMPARE(m_cep->Enderecos()[1].Complemento, QStringLiteral("de 3254 ao fim - lado par"));

    // The next search starts from an empty list.
    QCOMPARE(m_cep->BuscarPorCEP(QStringLiteral("01310-100")), 1);
    QCOMPARE(m_cep->Enderecos()[0].Cep, QStringLiteral("01310-100"));
    QCOMPARE(m_events, 2);
}

void TestCadCEP::digitsSentUnchecked_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("path");
    QTest::newRow("seven digits") << "1310-100"
                                  << "/ws/1310100/xml";
    QTest::newRow("nine digits") << "013101000"
                                 << "/ws/013101000/xml";
}

// The component sends whatever digits it gets; the service refuses them with HTTP 400.
void TestCadCEP::digitsSentUnchecked()
{
    QFETCH(QString, typed);
    QFETCH(QString, path);
    QCOMPARE(m_cep->BuscarPorCEP(QStringLiteral("01310100")), 1);
    m_events = 0;
    QVERIFY_THROWS_EXCEPTION(ECadHTTPError, (void)m_cep->BuscarPorCEP(typed));
    QCOMPARE(paths().last(), path);
    QCOMPARE(m_events, 0);
    QCOMPARE(m_cep->Enderecos().Count(), 0);
}

void TestCadCEP::noDigits()
{
    QCOMPARE(m_cep->BuscarPorCEP(QStringLiteral("01310100")), 1);
    (void)paths();
    m_events = 0;
    for (const QString& typed : {QStringLiteral("abc-def"), QString(), QStringLiteral("  ")}) {
        try {
            (void)m_cep->BuscarPorCEP(typed);
            QFAIL("searched without digits");
        } catch (const ECadCEPException& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("CEP é obrigatório e deve ser informado!"));
        }
    }
    QVERIFY(paths().isEmpty());
    QCOMPARE(m_events, 0);
    QCOMPARE(m_cep->Enderecos().Count(), 0);
}

void TestCadCEP::providers()
{
    QCOMPARE(m_cep->URL(), "http://" + m_server->hostPort() + "/ws/");
    QCOMPARE(m_cep->Provider().ClassName(), QStringLiteral("TCadWSViaCEP"));

    TCadCEP nenhum;
    QCOMPARE(nenhum.WebService(), wsNenhum);
    QVERIFY(nenhum.PesquisarIBGE());
    QVERIFY(!nenhum.ParseText());
    const QList<QPair<TCadCEPWebService, QString>> rows{{wsNenhum, QStringLiteral("TCadCEPWSClass")},
                                                        {wsCorreios, QStringLiteral("TCadWSCorreiosSIGEP")},
                                                        {wsBrasilAPI, QStringLiteral("TCadWSBrasilAPI")}};
    for (const auto& [service, name] : rows) {
        nenhum.SetWebService(service);
        try {
            (void)nenhum.BuscarPorCEP(QStringLiteral("01310-100"));
            QFAIL("a provider without a service searched");
        } catch (const ECadCEPException& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     "WebService " + name + " não implementa o método: BuscarPorCEP");
        }
    }
    // Choosing ViaCEP turns entity decoding on.
    nenhum.SetWebService(wsViaCep);
    QVERIFY(nenhum.ParseText());
    QVERIFY(paths().isEmpty());
}

void TestCadCEP::readElement_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "<a><cep>1</cep></a>"
                           << "cep"
                           << "1";
    QTest::newRow("any case") << "<CeP>Ab</cEP>"
                              << "cep"
                              << "Ab";
    QTest::newRow("accented name") << "<localização>x</LOCALIZAÇÃO>"
                                   << "Localização"
                                   << "x";
    QTest::newRow("attributes") << "<cep id=\"1\">2</cep>"
                                << "cep"
                                << "2";
    QTest::newRow("cepx is not cep") << "<cepx>9</cepx>"
                                     << "cep"
                                     << "";
    QTest::newRow("cepx then cep") << "<cepx>9</cepx><cep>1</cep>"
                                   << "cep"
                                   << "1";
    QTest::newRow("empty element") << "<cep></cep>"
                                   << "cep"
                                   << "";
    QTest::newRow("end before start") << "</cep><cep>1"
                                      << "cep"
                                      << "";
    QTest::newRow("prefix") << "<x><ns:cep>1</ns:cep></x>"
                            << "cep"
                            << "1";
    QTest::newRow("prefix at line start") << "ns:cep>1</ns:cep>"
                                          << "cep"
                                          << "";
    QTest::newRow("absent") << "<uf>SP</uf>"
                            << "cep"
                            << "";
}

void TestCadCEP::readElement()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QCOMPARE(TCadWSViaCEP::ReadElement(line, name), value);
}

void TestCadCEP::schemeOfTheService_data()
{
    QTest::addColumn<bool>("tlsServer");
    QTest::addColumn<QString>("scheme"); // written in the setting before the host
    QTest::addColumn<bool>("found");
    QTest::newRow("host alone: HTTPS") << true << "" << true;
    QTest::newRow("host alone never falls back to HTTP") << false << "" << false;
    QTest::newRow("scheme named in the setting") << false << "http://" << true;
}

// The answer is stored in both databases: without a scheme of its own the service is reached over HTTPS.
void TestCadCEP::schemeOfTheService()
{
    QFETCH(bool, tlsServer);
    QFETCH(QString, scheme);
    QFETCH(bool, found);
    TestCertificates certs;
    QVERIFY(certs.isValid());
    QStringList tls;
    if (tlsServer)
        tls = QStringList{QStringLiteral("--tls-cert"), certs.certFile(QStringLiteral("server")),
                          QStringLiteral("--tls-key"), certs.keyFile(QStringLiteral("server"))};
    standins::StandInProcess server(QStringLiteral("viacep.py"), tls);
    const auto restore = qScopeGuard([saved = serviceSettings()] { serviceSettings() = saved; });
    serviceSettings().caFile = certs.caFile();
    serviceSettings().viaCepHost = scheme + server.hostPort();
    TCadCEP cep;
    cep.SetWebService(wsViaCep);
    QCOMPARE(cep.URL(),
             (scheme.isEmpty() ? QStringLiteral("https://") : scheme) + server.hostPort() + "/ws/");
    if (found)
        QCOMPARE(cep.BuscarPorCEP(QStringLiteral("01310-100")), 1);
    else
        QVERIFY_THROWS_EXCEPTION(ECadHTTPError, (void)cep.BuscarPorCEP(QStringLiteral("01310-100")));
}

QTEST_MAIN(TestCadCEP)
#include "tst_cadcep.moc"
