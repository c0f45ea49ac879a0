// Exchanges with a scripted loopback server: the request as sent, redirects, cookies, framing and
// character sets.
#include "HttpTestSupport.h"
#include "ScriptedServer.h"
#include "core/WaitCursor.h"
#include "http/CadHTTP.h"

#include <QTest>

#include <memory>

using namespace cad;
using Ending = ScriptedServer::Ending;

namespace {

QByteArray ok(const QByteArray& body, const QByteArray& headers = "Content-Type: text/html\r\n")
{
    return "HTTP/1.0 200 OK\r\n" + headers + "Content-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

} // namespace

class TestHttpExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestHead_data()
    {
        QTest::addColumn<bool>("post");
        QTest::addColumn<QByteArray>("expected"); // PORT stands for the server's port
        QTest::newRow("GET") << false
                             << QByteArray(
                                    "GET /dir/page.asp?a=1 HTTP/1.0\r\nHost: 127.0.0.1:PORT\r\n"
                                    "Keep-Alive: 300\r\nConnection: keep-alive\r\nCookie: flag=1; s=x\r\n"
                                    "User-Agent: Mozilla/4.0 (compatible)\r\n\r\n");
        QTest::newRow("POST") << true
                              << QByteArray(
                                     "POST /dir/page.asp?a=1 HTTP/1.0\r\nHost: 127.0.0.1:PORT\r\n"
                                     "Keep-Alive: 300\r\nConnection: keep-alive\r\nCookie: flag=1; s=x\r\n"
                                     "User-Agent: Mozilla/4.0 (compatible)\r\n"
                                     "Content-Type: application/x-www-form-urlencoded\r\n"
                                     "Content-Length: 10\r\nReferer: http://r/\r\n\r\ncnpj=1&x=y");
    }
    void requestHead()
    {
        QFETCH(bool, post);
        QFETCH(QByteArray, expected);
        ScriptedServer server;
        server.reply(ok("x"));
        TCadHTTP http;
        http.Cookies() << QStringLiteral("flag=1") << QStringLiteral("s=x");
        const QString url = server.url(QStringLiteral("/dir/page.asp?a=1"));
        if (post) {
            http.ClearRequest();
            http.SetRequestBody("cnpj=1&x=y");
            http.SetContentType(QStringLiteral("application/x-www-form-urlencoded"));
            http.ExtraHeaders() << QStringLiteral("Referer: http://r/");
            http.RequestPost(url);
        } else {
            http.RequestGet(url);
        }
        const QByteArray port = QByteArray::number(QUrlPort(url));
        QCOMPARE(server.requests().value(0), QByteArray(expected).replace("PORT", port));
        QCOMPARE(http.StatusCode(), 200);
    }

    void redirects_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("followUp"); // request line of the second exchange
        QTest::newRow("302 after POST, same directory")
            << "POST"
            << QByteArray("HTTP/1.0 302 Object moved\r\nLocation: pagina2.asp; x\r\n"
                          "Set-Cookie: ASPSESSIONID=K1; path=/\r\nContent-Length: 0\r\n\r\n")
            << QByteArray("GET /x/pagina2.asp HTTP/1.0");
        QTest::newRow("301 after POST")
            << "POST" << QByteArray("HTTP/1.0 301 Moved\r\nLocation: /a/b\r\n\r\n")
            << QByteArray("GET /a/b HTTP/1.0");
        QTest::newRow("303 after PUT")
            << "PUT" << QByteArray("HTTP/1.0 303 See Other\r\nLocation: /a/b\r\n\r\n")
            << QByteArray("GET /a/b HTTP/1.0");
        QTest::newRow("307 repeats the POST")
            << "POST" << QByteArray("HTTP/1.0 307 Temporary\r\nLocation: /novo\r\n\r\n")
            << QByteArray("POST /novo HTTP/1.0");
        QTest::newRow("302 after GET keeps GET, lower-case header")
            << "GET" << QByteArray("HTTP/1.0 302 Found\r\nlocation: b.asp\r\n\r\n")
            << QByteArray("GET /x/b.asp HTTP/1.0");
        QTest::newRow("rooted") << "GET" << QByteArray("HTTP/1.0 302 Found\r\nLocation: /a/b\r\n\r\n")
                                << QByteArray("GET /a/b HTTP/1.0");
    }
    void redirects()
    {
        QFETCH(QString, method);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, followUp);
        ScriptedServer server;
        server.reply(answer);
        server.reply(ok("fim"));
        TCadHTTP http;
        http.ClearRequest();
        http.SetRequestBody("a=1");
        http.ExtraHeaders() << QStringLiteral("Referer: http://r/");
        http.PerformRequest(method, server.url(QStringLiteral("/x/y.asp")));

        QCOMPARE(http.ResponseLines(), QStringList{QStringLiteral("fim")});
        const QList<QByteArray> requests = server.requests();
        QCOMPARE(requests.size(), 2);
        QVERIFY(requests[0].endsWith("\r\n\r\na=1"));
        const QStringList second = headLines(requests[1]);
        QCOMPARE(second.value(0).toLatin1(), followUp);
        QVERIFY(requests[1].endsWith("\r\n\r\n")); // the body is never sent again
        QVERIFY(second.filter(QStringLiteral("Content-")).isEmpty());
        QVERIFY(second.contains(QStringLiteral("Referer: http://r/")));
        QCOMPARE(second.contains(QStringLiteral("Cookie: ASPSESSIONID=K1")), answer.contains("Set-Cookie"));
        QCOMPARE(http.URL(), server.url(QString::fromLatin1(followUp.split(' ').value(1))));
    }

    void temporaryRedirectAfterPostToGet()
    {
        ScriptedServer server;
        server.reply("HTTP/1.0 302 Found\r\nLocation: /b\r\n\r\n");
        server.reply("HTTP/1.0 307 Temporary\r\nLocation: /c\r\n\r\n");
        server.reply(ok("fim"));
        TCadHTTP http;
        http.SetRequestBody("a=1");
        http.RequestPost(server.url(QStringLiteral("/a")));
        QCOMPARE(headLines(server.requests().value(2)).value(0), QStringLiteral("GET /c HTTP/1.0"));
    }

    void redirectLimit_data()
    {
        QTest::addColumn<int>("redirects");
        QTest::addColumn<bool>("fails");
        QTest::newRow("eleven followed") << 11 << false;
        QTest::newRow("the twelfth decides") << 12 << true;
    }
    void redirectLimit()
    {
        QFETCH(int, redirects);
        QFETCH(bool, fails);
        ScriptedServer server;
        for (int i = 1; i <= redirects; ++i)
            server.reply("HTTP/1.0 302 Found\r\nLocation: /r" + QByteArray::number(i) + "\r\n\r\n");
        server.reply(ok("fim"));
        TCadHTTP http;
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        QCOMPARE(server.requests().size(), 12);
        QCOMPARE(error.startsWith(QLatin1String("Erro HTTP: 302 Found\r\nSocket Error: 0 \r\nURL: ") +
                                  server.url()),
                 fails);
        QCOMPARE(http.StatusCode(), fails ? 302 : 200);
    }

    void cookies()
    {
        ScriptedServer server;
        server.reply(ok("", "Set-Cookie: ASPSESSIONIDX=ABC; path=/\r\nSet-Cookie: outro=1\r\n"));
        server.reply(ok("", "set-cookie: aspsessionidx = DEF ; path=/\r\n"));
        server.reply(ok("", "SET-COOKIE: ASPSESSIONIDX=; path=/\r\n"));
        server.reply(ok(""));
        TCadHTTP http;
        http.RequestGet(server.url());
        QCOMPARE(http.Cookies(), (QStringList{"ASPSESSIONIDX=ABC", "outro=1"}));
        http.RequestGet(server.url());
        QCOMPARE(http.Cookies(), (QStringList{"aspsessionidx=DEF", "outro=1"}));
        http.RequestGet(server.url());
        QCOMPARE(http.Cookies(), QStringList{"outro=1"});
        http.RequestGet(server.url());
        QVERIFY(headLines(server.requests().value(1)).contains("Cookie: ASPSESSIONIDX=ABC; outro=1"));
        QVERIFY(headLines(server.requests().value(3)).contains("Cookie: outro=1"));
    }

    void characterSets_data()
    {
        QTest::addColumn<QByteArray>("headers");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("isUtf8");
        QTest::addColumn<bool>("parseText");
        QTest::addColumn<QStringList>("expected");
        const QByteArray page =
            "<html><head><meta charset=\"utf-8\"></head>\r\nS\xC3\x83O PAULO \xE2\x82\xAC\r\n";
        QTest::newRow("charset in Content-Type")
            << QByteArray("Content-Type: text/html; charset=UTF-8\r\n") << QByteArray("a\xC3\xA7\xC3\xA3o")
            << false << false << QStringList{"ação"};
        QTest::newRow("charset in the head")
            << QByteArray("Content-Type: text/html\r\n") << page << false << false
            << QStringList{"<html><head><meta charset=\"utf-8\"></head>", "SÃO PAULO €"};
        QTest::newRow("neither: bytes unchanged")
            << QByteArray("Content-Type: text/plain\r\n") << page << false << false
            << QStringList{"<html><head><meta charset=\"utf-8\"></head>",
                           FromSingleByte("S\xC3\x83O PAULO \xE2\x82\xAC")};
        QTest::newRow("xhtml declaration")
            << QByteArray("Content-Type: application/xhtml+xml\r\n")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\xC3\xA9") << false << false
            << QStringList{"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "é"};
        QTest::newRow("code-page body under a UTF-8 label stays")
            << QByteArray("Content-Type: text/html; charset=utf-8\r\n") << QByteArray("a\xE7\xE3o") << false
            << false << QStringList{"ação"};
        QTest::newRow("IsUTF8 without looking")
            << QByteArray() << QByteArray("\xC3\xA7") << true << false << QStringList{"ç"};
        QTest::newRow("ParseText") << QByteArray() << QByteArray("&amp;lt;\r\nJO&Atilde;O") << false << true
                                   << QStringList{"<", "JOÃO"};
        QTest::newRow("line ends") << QByteArray() << QByteArray("a\r\nb\nc\rd\r\n") << false << false
                                   << QStringList{"a", "b", "c", "d"};
    }
    void characterSets()
    {
        QFETCH(QByteArray, headers);
        QFETCH(QByteArray, body);
        QFETCH(bool, isUtf8);
        QFETCH(bool, parseText);
        ScriptedServer server;
        server.reply(ok(body, headers));
        TCadHTTP http;
        http.SetIsUTF8(isUtf8);
        http.SetParseText(parseText);
        http.RequestGet(server.url());
        QTEST(http.ResponseLines(), "expected");
        QCOMPARE(http.ResponseBody(), body);
        QCOMPARE(headLines(server.requests().value(0)).contains("Accept-Charset: utf-8;q=*;q=0.7"), isUtf8);
    }

    void framing_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("header"); // value of X-A:
        QTest::newRow("chunked") << QByteArray(
                                        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                        "4\r\nWiki\r\n5;ext=1\r\npedia\r\nA \r\n0123456789\r\n0\r\n\r\n")
                                 << Ending::Stall << QByteArray("Wikipedia0123456789") << "";
        QTest::newRow("length shorter than what follows")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdef") << Ending::Stall
            << QByteArray("abc") << "";
        QTest::newRow("until close") << QByteArray("HTTP/1.0 200 OK\r\n\r\nabc\r\ndef") << Ending::Close
                                     << QByteArray("abc\r\ndef") << "";
        QTest::newRow("reset ends an unframed body")
            << QByteArray("HTTP/1.0 200 OK\r\n\r\nabc") << Ending::Reset << QByteArray("abc") << "";
        QTest::newRow("blank lines and 100 Continue first")
            << QByteArray("\r\n\r\nHTTP/1.1 100 Continue\r\nX-A: no\r\n\r\nHTTP/1.1 200 OK\r\nX-A: yes\r\n"
                          "Content-Length: 2\r\n\r\nok")
            << Ending::Stall << QByteArray("ok") << "yes";
        QTest::newRow("folded header") << QByteArray("HTTP/1.0 200 OK\r\n\tstray\r\nX-A: one\r\n\ttwo\t "
                                                     "three  \r\n=x\r\nContent-Length:\r\n 2\r\n\r\nok")
                                       << Ending::Stall << QByteArray("ok") << "one two  three =x";
        QTest::newRow("204 has no body")
            << QByteArray("HTTP/1.0 204 No Content\r\n\r\n") << Ending::Stall << QByteArray() << "";
    }
    void framing()
    {
        QFETCH(QByteArray, answer);
        QFETCH(Ending, ending);
        ScriptedServer server;
        server.reply(answer, ending);
        TCadHTTP http;
        http.SetTimeOut(10000); // a framing fault would show as a time-out, not a hang
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        if (http.StatusCode() == 204)
            QVERIFY(error.startsWith(QLatin1String("Erro HTTP: 204 No Content\r\nSocket Error: 0 \r\n")));
        else
            QCOMPARE(error, QString());
        QTEST(http.ResponseBody(), "body");
        QTEST(http.HeaderValue(QStringLiteral("x-a:")), "header");
    }

    void statusLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no reason") << QByteArray("HTTP/1.0 404") << 404 << "";
        QTest::newRow("reason with blanks")
            << QByteArray("http/1.1 500  Erro  interno ") << 500 << "Erro  interno";
        QTest::newRow("not a number") << QByteArray("HTTP/1.0 abc OK") << 0 << "OK";
    }
    void statusLine()
    {
        QFETCH(QByteArray, line);
        ScriptedServer server;
        server.reply(line + "\r\nContent-Length: 4\r\n\r\nnada");
        TCadHTTP http;
        const QString error = httpError([&] { http.RequestGet(server.url()); });
        QTEST(http.StatusCode(), "status");
        QTEST(http.StatusText(), "reason");
        QVERIFY(error.endsWith(QLatin1String("Resposta HTTP:\r\nnada\n")));
    }

    void hooks()
    {
        ScriptedServer server;
        server.reply(ok("x"));
        QStringList seen;
        waitcursor::install([&](bool busy) { seen << (busy ? "busy" : "idle"); });
        TCadHTTP http;
        http.SetOnAntesAbrirHTTP([&](QString& url) {
            seen << "open";
            url = server.url(QStringLiteral("/trocada"));
        });
        http.RequestGet(QStringLiteral("http://127.0.0.1:1/original"));
        waitcursor::install({});
        QCOMPARE(seen, (QStringList{"busy", "open", "idle"}));
        QVERIFY(server.requests().value(0).startsWith("GET /trocada HTTP/1.0\r\n"));
    }

    void forwardProxy()
    {
        ScriptedServer proxy;
        proxy.reply(ok("via proxy"));
        TCadHTTP http;
        http.SetProxyHost(QStringLiteral("127.0.0.1"));
        http.SetProxyPort(proxy.url().section(QLatin1Char(':'), 2).section(QLatin1Char('/'), 0, 0));
        http.SetProxyUser(QStringLiteral("u"));
        http.SetProxyPass(QStringLiteral("p"));
        http.RequestGet(QStringLiteral("http://servico.example:8081/a"));
        const QStringList head = headLines(proxy.requests().value(0));
        QCOMPARE(head.value(0), QStringLiteral("GET http://servico.example:8081/a HTTP/1.0"));
        QVERIFY(head.contains(QStringLiteral("Proxy-Authorization: Basic dTpw")));
        QVERIFY(head.contains(QStringLiteral("Proxy-Connection: keep-alive")));
        QCOMPARE(http.ResponseLines(), QStringList{QStringLiteral("via proxy")});
    }

private:
    static int QUrlPort(const QString& url)
    {
        return url.section(QLatin1Char(':'), 2).section(QLatin1Char('/'), 0, 0).toInt();
    }
};

std::unique_ptr<QObject> makeHttpExchangeTest()
{
    return std::make_unique<TestHttpExchange>();
}

#include "tst_http_exchange.moc"
