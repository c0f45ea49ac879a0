// Malformed, oversized, broken and silent answers all end in ECadHTTPError with status 500 or the
// answer's own status; none crashes or hangs.
#include "HttpTestSupport.h"
#include "ScriptedServer.h"
#include "http/CadHTTP.h"
#include "tests/support/LoopbackPort.h"

#include <QTest>

#include <cerrno>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace cad;
using Ending = ScriptedServer::Ending;

class TestHttpFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void malformed_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QString>("head"); // expected start of the message, up to the URL line
        const QString truncated =
            QStringLiteral("Erro HTTP: 500 \r\nSocket Error: -1 Conexão encerrada antes do fim da resposta");
        QTest::newRow("no status line")
            << QByteArray("<html>oi\r\n</html>") << Ending::Close << "Erro HTTP: 0 \r\nSocket Error: 0 ";
        QTest::newRow("folded header first, error status")
            << QByteArray("HTTP/1.0 503 Fora\r\n continua\r\n\tmais\r\n\r\n") << Ending::Close
            << "Erro HTTP: 503 Fora\r\nSocket Error: 0 ";
        QTest::newRow("nothing at all") << QByteArray() << Ending::Close << truncated;
        QTest::newRow("bad chunk size")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nab\r\n")
            << Ending::Stall << "Erro HTTP: 500 \r\nSocket Error: -1 Tamanho de bloco inválido: zz";
        QTest::newRow("chunk longer than declared")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n0\r\n\r\n")
            << Ending::Stall << "Erro HTTP: 500 \r\nSocket Error: -1 Bloco maior que o tamanho declarado";
        QTest::newRow("huge chunk")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7FFFFFFF\r\nab")
            << Ending::Stall
            << "Erro HTTP: 500 \r\nSocket Error: -1 Corpo da resposta excede o limite de 33554432 bytes";
        QTest::newRow("chunks cut short")
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nWiki\r\n")
            << Ending::Close << truncated;
        QTest::newRow("body shorter than its length")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nabc") << Ending::Close << truncated;
        QTest::newRow("reset in mid-body")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nabc") << Ending::Reset
            << QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ECONNRESET);
        QTest::newRow("length over the limit")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 40000000\r\n\r\nabc") << Ending::Stall
            << "Erro HTTP: 500 \r\nSocket Error: -1 Corpo da resposta excede o limite de 33554432 bytes";
        QTest::newRow("200 KiB of header")
            << QByteArray("HTTP/1.0 200 OK\r\n") + QByteArray(200 * 1024, 'h') + "\r\n\r\n"
            << Ending::Stall
            << "Erro HTTP: 500 \r\nSocket Error: -1 Cabeçalho da resposta excede o limite de 102400 "
               "bytes\r\n";
        // The message names the limit, not what was left of it when the last line came.
        QTest::newRow("many header lines")
            << QByteArray("HTTP/1.0 200 OK\r\n") +
                   QByteArray("X-Linha: 123456789012345678901234567890\r\n").repeated(3000) + "\r\n"
            << Ending::Stall
            << "Erro HTTP: 500 \r\nSocket Error: -1 Cabeçalho da resposta excede o limite de 102400 "
               "bytes\r\n";
        QTest::newRow("stops sending in the head")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-") << Ending::Stall
            << QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ETIMEDOUT);
        QTest::newRow("stops sending in the body")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc") << Ending::Stall
            << QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ETIMEDOUT);
        QTest::newRow("never answers")
            << QByteArray() << Ending::Stall
            << QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ETIMEDOUT);
    }
    void malformed()
    {
        QFETCH(QByteArray, answer);
        QFETCH(Ending, ending);
        QFETCH(QString, head);
        ScriptedServer server;
        server.reply(answer, ending);
        TCadHTTP http;
        // Short only where the time-out is the expected end, so a busy machine cannot cause one elsewhere.
        http.SetTimeOut(head.contains(QStringLiteral(" %1 ").arg(ETIMEDOUT)) ? 300 : 30000);
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        QVERIFY2(error.startsWith(head), qPrintable(error.left(300)));
        QVERIFY(error.contains(QLatin1String("\r\nURL: ") + server.url() +
                               QLatin1String("\r\n\r\nResposta HTTP:\r\n")));
        QVERIFY(error.count(QLatin1Char('\n')) <= 5 + 20);
    }

    void refusedConnection()
    {
        TCadHTTP http;
        const QString url = QStringLiteral("http://127.0.0.1:%1/x").arg(testsupport::unusedLoopbackPort());
        const QString error = httpError([&] { http.RequestGet(url); });
        QVERIFY2(error.startsWith(QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ECONNREFUSED)),
                 qPrintable(error));
        QCOMPARE(http.StatusCode(), 500);
        QCOMPARE(http.SocketErrorCode(), ECONNREFUSED);
    }

    void connectTimeOut()
    {
        // A listener whose accept queue is full drops further connection attempts unanswered.
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        QVERIFY(bind(listener, reinterpret_cast<sockaddr*>(&addr), len) == 0 && listen(listener, 0) == 0);
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
        int fillers[2];
        for (int& f : fillers) {
            f = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(f, reinterpret_cast<sockaddr*>(&addr), len);
        }
        TCadHTTP http;
        http.SetTimeOut(300);
        const QString error = httpError(
            [&] { http.RequestGet(QStringLiteral("http://127.0.0.1:%1/").arg(ntohs(addr.sin_port))); });
        for (int fd : {fillers[0], fillers[1], listener})
            close(fd);
        QVERIFY2(error.startsWith(QStringLiteral("Erro HTTP: 500 \r\nSocket Error: %1 ").arg(ETIMEDOUT)),
                 qPrintable(error));
    }

    void unsupportedScheme()
    {
        TCadHTTP http;
        const QString error = httpError([&] { http.RequestGet(QStringLiteral("ftp://127.0.0.1/x")); });
        QVERIFY(error.startsWith(
            QStringLiteral("Erro HTTP: 500 \r\nSocket Error: -1 Protocolo não suportado: ftp")));
    }

    void responseTextSurvivesTheError()
    {
        ScriptedServer server;
        server.reply(
            "HTTP/1.0 404 Not Found\r\nContent-Type: text/html; charset=utf-8\r\n\r\nn\xC3\xA3o h\xC3\xA1",
            Ending::Close);
        TCadHTTP http;
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        QCOMPARE(http.ResponseLines(), QStringList{QStringLiteral("não há")});
        QVERIFY(error.endsWith(QStringLiteral("Resposta HTTP:\r\nnão há\n")));
        QVERIFY(QByteArray(ECadHTTPError(error).what()).contains("n\xC3\xA3o h\xC3\xA1")); // what() is UTF-8
    }
};

std::unique_ptr<QObject> makeHttpFailureTest()
{
    return std::make_unique<TestHttpFailures>();
}

#include "tst_http_failures.moc"
