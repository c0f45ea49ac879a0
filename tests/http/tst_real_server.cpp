// The client against an independent server implementation (Python's http.server) over HTTP and HTTPS.
#include "HttpTestSupport.h"
#include "TestCertificates.h"
#include "http/CadHTTP.h"
#include "http/ServiceSettings.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using namespace cad;

class TestRealServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_certs.isValid());
        const QString python = QFileInfo::exists(QStringLiteral("/usr/bin/python3"))
                                   ? QStringLiteral("/usr/bin/python3")
                                   : QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty()) QSKIP("python3 is not installed");
        m_server.start(python, {QStringLiteral(CAD_HTTP_TEST_DIR "/real_server.py"),
                                m_certs.certFile("server"), m_certs.keyFile("server")});
        while (m_httpsPort == 0 && m_server.waitForReadyRead(30000)) {
            while (m_server.canReadLine()) {
                const QList<QByteArray> words = m_server.readLine().trimmed().split(' ');
                (words.value(0) == "HTTP" ? m_httpPort : m_httpsPort) = words.value(1).toInt();
            }
        }
        QVERIFY2(m_httpPort && m_httpsPort, m_server.readAllStandardError().constData());
        serviceSettings().caFile = m_certs.caFile();
    }
    void cleanupTestCase()
    {
        serviceSettings().caFile.clear();
        m_server.closeWriteChannel(); // the server ends when its input closes
        if (!m_server.waitForFinished(10000)) m_server.kill();
    }

    void getPage_data()
    {
        QTest::addColumn<bool>("secure");
        QTest::newRow("http") << false;
        QTest::newRow("https") << true;
    }
    void getPage()
    {
        QFETCH(bool, secure);
        TCadHTTP http;
        http.RequestGet(url(secure, "/pagina"));
        QCOMPARE(http.StatusCode(), 200);
        QCOMPARE(http.ResponseLines(),
                 QStringList{
                     QStringLiteral("<html><head><title>t</title></head><body>Olá, Cadastro</body></html>")});
    }

    void post_data() { getPage_data(); }
    void post()
    {
        QFETCH(bool, secure);
        TCadHTTP http;
        http.ClearRequest();
        http.SetContentType(QStringLiteral("application/x-www-form-urlencoded"));
        http.SetRequestBody("origem=comprovante&cnpj=11222333000181");
        http.RequestPost(url(secure, "/eco"));
        QCOMPARE(http.ResponseLines(), (QStringList{"application/x-www-form-urlencoded",
                                                    "origem=comprovante&cnpj=11222333000181"}));
    }

    void redirectWithCookie_data() { getPage_data(); }
    void redirectWithCookie()
    {
        QFETCH(bool, secure);
        TCadHTTP http;
        http.RequestGet(url(secure, "/desvio"));
        QCOMPARE(http.URL(), url(secure, "/pagina"));
        QCOMPARE(http.HeaderValue(QStringLiteral("X-Cookie:")), QStringLiteral("sessao=42"));
        QCOMPARE(http.Cookies(), QStringList{QStringLiteral("sessao=42")});
    }

    void notFound()
    {
        TCadHTTP http;
        const QString error = httpError([&] { http.RequestGet(url(false, "/outra")); });
        QCOMPARE(error, QStringLiteral("Erro HTTP: 404 Not Found\r\nSocket Error: 0 \r\nURL: %1\r\n\r\n"
                                       "Resposta HTTP:\r\nnao achei\n")
                            .arg(url(false, "/outra")));
    }

private:
    [[nodiscard]] QString url(bool secure, const char* path) const
    {
        return QStringLiteral("%1://127.0.0.1:%2%3")
            .arg(secure ? "https" : "http")
            .arg(secure ? m_httpsPort : m_httpPort)
            .arg(QLatin1String(path));
    }

    TestCertificates m_certs;
    QProcess m_server;
    int m_httpPort = 0;
    int m_httpsPort = 0;
};

std::unique_ptr<QObject> makeRealServerTest()
{
    return std::make_unique<TestRealServer>();
}

#include "tst_real_server.moc"
