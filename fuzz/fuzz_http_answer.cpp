// The HTTP client's answer reader: the input is served as the whole answer by a server on loopback,
// to every connection the client opens (redirects included). The client goes through that server
// as its proxy, so no address named in the answer (a Location) is ever looked up or reached.
#include "fuzz/FuzzTarget.h"
#include "http/CadHTTP.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace cad;

namespace {

class AnswerServer
{
public:
    AnswerServer()
    {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (bind(m_listen, reinterpret_cast<sockaddr*>(&a), size) != 0 || listen(m_listen, 64) != 0 ||
            getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &size) != 0 || pipe(m_wake) != 0)
            abort();
        m_port = ntohs(a.sin_port);
    }

    [[nodiscard]] int port() const { return m_port; }

    /// Serves ANSWER to each connection until stop() is called.
    void start(const QByteArray& answer)
    {
        m_thread = std::thread([this, answer] {
            for (;;) {
                pollfd p[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
                if (poll(p, 2, -1) <= 0) continue;
                if (p[1].revents) {
                    char byte;
                    (void)read(m_wake[0], &byte, 1);
                    return;
                }
                const int client = accept(m_listen, nullptr, nullptr);
                if (client < 0) continue;
                readHead(client);
                for (qsizetype sent = 0; sent < answer.size();) {
                    const ssize_t n =
                        send(client, answer.constData() + sent, size_t(answer.size() - sent), MSG_NOSIGNAL);
                    if (n <= 0) break;
                    sent += n;
                }
                shutdown(client, SHUT_WR);
                close(client);
            }
        });
    }
    void stop()
    {
        (void)write(m_wake[1], "x", 1);
        m_thread.join();
    }

private:
    // The request head, so closing never discards unread bytes (which would reset the connection).
    static void readHead(int client)
    {
        QByteArray head;
        char buffer[4096];
        while (!head.contains("\r\n\r\n")) {
            pollfd p{client, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) return;
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            head.append(buffer, n);
        }
    }

    int m_listen = -1;
    int m_port = 0;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static AnswerServer server;
    server.start(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    TCadHTTP http;
    http.SetTimeOut(2000);
    http.SetProxyHost(QStringLiteral("127.0.0.1"));
    http.SetProxyPort(QString::number(server.port()));
    http.SetParseText(size % 2 == 0);
    try {
        http.RequestGet(QStringLiteral("http://servico.example/pagina.asp"));
        (void)http.ResponseText();
    } catch (const ECadHTTPError&) {
        // any status but 200, and every refused answer, ends here
    }
    server.stop();
    return 0;
}
