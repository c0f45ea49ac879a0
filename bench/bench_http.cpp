// http-get: sequential GETs of a 10 KiB page from a loopback server, TCadHTTP beside
// `curl --http1.0` making the same requests in one process.
#include "bench/Bench.h"
#include "http/CadHTTP.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace cad;

namespace {

/// Answers every connection on 127.0.0.1 with the same page, then closes it (HTTP/1.0).
class PageServer
{
public:
    explicit PageServer(const QByteArray& page)
        : m_answer("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                   QByteArray::number(page.size()) + "\r\n\r\n" + page)
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        const int one = 1;
        setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(m_fd, 128) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0 || pipe(m_wake) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~PageServer()
    {
        if (m_thread.joinable()) {
            (void)!write(m_wake[1], "x", 1);
            m_thread.join();
        }
        close(m_fd);
    }
    [[nodiscard]] int port() const { return m_port; }

private:
    void run()
    {
        for (;;) {
            pollfd p[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (poll(p, 2, -1) <= 0 || (p[1].revents & POLLIN)) return;
            const int c = accept(m_fd, nullptr, nullptr);
            if (c < 0) continue;
            QByteArray request;
            char buffer[4096];
            ssize_t n = 0;
            while (!request.contains("\r\n\r\n") && (n = recv(c, buffer, sizeof buffer, 0)) > 0)
                request.append(buffer, n);
            for (qsizetype sent = 0; sent < m_answer.size() && n >= 0;) {
                const ssize_t w =
                    send(c, m_answer.constData() + sent, size_t(m_answer.size() - sent), MSG_NOSIGNAL);
                if (w <= 0) break;
                sent += w;
            }
            close(c);
        }
    }

    QByteArray m_answer;
    int m_fd = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::thread m_thread;
};

double clientMs(const QString& url, int count)
{
    TCadHTTP http;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        http.RequestGet(url);
    return double(timer.nsecsElapsed()) / 1e6;
}

// One curl process fetching the page count times (URL globbing), output discarded.
double curlMs(const QString& curl, const QString& url, int count)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(curl, {QStringLiteral("--http1.0"), QStringLiteral("-s"), QStringLiteral("-f"),
                         QStringLiteral("%1?n=[1-%2]").arg(url).arg(count)});
    if (!process.waitForFinished(600000) || process.exitCode() != 0) return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int benchHttpGet(const QStringList& args);

// Arguments: [requests per round, default 1000] [rounds, default 5]; the best round of each counts.
CAD_BENCH(benchHttpGet, "http-get")
{
    const int count = args.value(0, QStringLiteral("1000")).toInt();
    const int rounds = args.value(1, QStringLiteral("5")).toInt();
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty() || count <= 0 || rounds <= 0) {
        std::printf("http-get: needs curl and positive counts\n");
        return 2;
    }
    const PageServer server(QByteArray(10 * 1024, 'x'));
    const QString url = QStringLiteral("http://127.0.0.1:%1/pagina.html").arg(server.port());
    double client = 1e300;
    double reference = 1e300;
    for (int r = 0; r < rounds; ++r) {
        client = std::min(client, clientMs(url, count));
        const double c = curlMs(curl, url, count);
        if (c < 0) {
            std::printf("http-get: curl failed\n");
            return 1;
        }
        reference = std::min(reference, c);
    }
    const double ratio = client / reference;
    std::printf(
        "http-get: %d GETs of 10 KiB, best of %d: TCadHTTP %.1f ms, curl --http1.0 %.1f ms, ratio %.2f "
        "(target 1.20) %s\n",
        count, rounds, client, reference, ratio, ratio <= 1.2 ? "OK" : "SLOW");
    return ratio <= 1.2 ? 0 : 1;
}
