// HTTPS against loopback servers with certificates made for this run: verification on, TLS 1.2+.
#include "HttpTestSupport.h"
#include "ScriptedServer.h"
#include "TestCertificates.h"
#include "http/CadHTTP.h"
#include "http/ServiceSettings.h"

#include <QTest>

#include <cerrno>
#include <memory>

using namespace cad;
using Ending = ScriptedServer::Ending;

class TestHttpTls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_certs.isValid()); }
    void init() { serviceSettings().caFile = m_certs.caFile(); }
    void cleanupTestCase() { serviceSettings().caFile.clear(); }

    void exchanges_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("length, close-notify") << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc")
                                              << Ending::Close << QByteArray("abc");
        QTest::newRow("length, no close-notify")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc") << Ending::Drop
            << QByteArray("abc");
        QTest::newRow("until close, close-notify")
            << QByteArray("HTTP/1.0 200 OK\r\n\r\nabc\r\n") << Ending::Close << QByteArray("abc\r\n");
        QTest::newRow("until close, no close-notify")
            << QByteArray("HTTP/1.0 200 OK\r\n\r\nabc\r\n") << Ending::Drop << QByteArray("abc\r\n");
        QTest::newRow("large body") << "HTTP/1.0 200 OK\r\nContent-Length: 300000\r\n\r\n" +
                                           QByteArray(300000, 'z')
                                    << Ending::Drop << QByteArray(300000, 'z');
    }
    void exchanges()
    {
        QFETCH(QByteArray, answer);
        QFETCH(Ending, ending);
        const ScriptedServer::Tls tls{m_certs.certFile("server"), m_certs.keyFile("server")};
        ScriptedServer server(&tls);
        QVERIFY(server.isListening());
        server.reply(answer, ending);
        TCadHTTP http;
        http.SetTimeOut(10000);
        http.ClearRequest();
        http.SetRequestBody("cnpj=1");
        http.RequestPost(server.url(QStringLiteral("/Servicos/valida.asp")));
        QTEST(http.ResponseBody(), "body");
        QVERIFY(
            server.requests().value(0).startsWith("POST /Servicos/valida.asp HTTP/1.0\r\nHost: 127.0.0.1:"));
        QVERIFY(server.requests().value(0).endsWith("\r\n\r\ncnpj=1"));
    }

    void refusedServers_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<bool>("legacyOnly");
        QTest::addColumn<bool>("trustTestCa");
        QTest::addColumn<QString>("socketError");
        QTest::newRow("unknown authority") << "rogue" << false << true << "certificate verify failed";
        QTest::newRow("certificate for another address")
            << "othername" << false << true << "certificate verify failed";
        QTest::newRow("test CA not configured") << "server" << false << false << "certificate verify failed";
        QTest::newRow("TLS 1.1 only") << "server" << true << true << "";
    }
    void refusedServers()
    {
        QFETCH(QString, certificate);
        QFETCH(bool, legacyOnly);
        QFETCH(bool, trustTestCa);
        QFETCH(QString, socketError);
        if (!trustTestCa) serviceSettings().caFile.clear();
        const ScriptedServer::Tls tls{m_certs.certFile(certificate), m_certs.keyFile(certificate),
                                      legacyOnly};
        ScriptedServer server(&tls);
        QVERIFY(server.isListening());
        server.reply("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
        TCadHTTP http;
        http.SetTimeOut(10000);
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        QVERIFY2(error.startsWith(QLatin1String("Erro HTTP: 500 \r\nSocket Error: ")), qPrintable(error));
        QVERIFY2(http.SocketErrorText().contains(socketError), qPrintable(http.SocketErrorText()));
        QVERIFY(!http.SocketErrorText().isEmpty());
        QVERIFY(server.requests().isEmpty()); // nothing was sent to a server the client does not trust
    }

    void handshakeTimeOut()
    {
        ScriptedServer plain; // accepts but never speaks TLS
        plain.reply({}, Ending::Stall);
        TCadHTTP http;
        http.SetTimeOut(300);
        const QString url = plain.url().replace(QLatin1String("http:"), QLatin1String("https:"));
        const QString error = httpError([&] { http.RequestGet(url); });
        QVERIFY2(error.startsWith(QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ETIMEDOUT)),
                 qPrintable(error));
    }

    void unreadableCaFile()
    {
        serviceSettings().caFile = m_certs.caFile() + QLatin1String(".missing");
        const ScriptedServer::Tls tls{m_certs.certFile("server"), m_certs.keyFile("server")};
        ScriptedServer server(&tls);
        TCadHTTP http;
        http.SetTimeOut(10000);
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        QVERIFY2(error.contains(QStringLiteral("Arquivo de autoridades certificadoras ilegível")),
                 qPrintable(error));
        serviceSettings().caFile = m_certs.caFile(); // and the next exchange builds the context again
        server.reply("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
        http.RequestGet(server.url());
        QCOMPARE(http.ResponseBody(), QByteArray("ok"));
    }

private:
    TestCertificates m_certs;
};

std::unique_ptr<QObject> makeHttpTlsTest()
{
    return std::make_unique<TestHttpTls>();
}

#include "tst_http_tls.moc"
