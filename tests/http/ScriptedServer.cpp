#include "ScriptedServer.h"

#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ScriptedServer::ScriptedServer(const Tls* tls)
{
    if (tls) {
        m_ctx = SSL_CTX_new(TLS_server_method());
        if (tls->legacyOnly) {
            SSL_CTX_set_security_level(m_ctx, 0);
            SSL_CTX_set_min_proto_version(m_ctx, TLS1_VERSION);
            SSL_CTX_set_max_proto_version(m_ctx, TLS1_1_VERSION);
        }
        if (SSL_CTX_use_certificate_file(m_ctx, tls->certFile.toLocal8Bit().constData(), SSL_FILETYPE_PEM) !=
                1 ||
            SSL_CTX_use_PrivateKey_file(m_ctx, tls->keyFile.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1)
            return;
    }
    if (pipe(m_wakePipe) != 0) return;
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(fd, 16) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0) close(fd);
        return;
    }
    m_listenFd = fd;
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread(&ScriptedServer::run, this);
}

ScriptedServer::~ScriptedServer()
{
    if (m_thread.joinable()) {
        const char stop = 'x';
        (void)!write(m_wakePipe[1], &stop, 1);
        m_thread.join();
    }
    for (int fd : {m_listenFd, m_wakePipe[0], m_wakePipe[1]})
        if (fd >= 0) close(fd);
    SSL_CTX_free(m_ctx);
}

void ScriptedServer::reply(const QByteArray& bytes, Ending ending)
{
    const std::lock_guard guard(m_lock);
    m_replies.push_back({bytes, ending});
}

QString ScriptedServer::url(const QString& path) const
{
    return QStringLiteral("%1://127.0.0.1:%2%3").arg(m_ctx ? "https" : "http").arg(m_port).arg(path);
}

QList<QByteArray> ScriptedServer::requests() const
{
    const std::lock_guard guard(m_lock);
    return m_requests;
}

bool ScriptedServer::waitReadable(int fd) const
{
    pollfd p[2] = {{fd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    return poll(p, 2, -1) > 0 && !(p[1].revents & POLLIN);
}

void ScriptedServer::run()
{
    while (waitReadable(m_listenFd)) {
        const int fd = accept(m_listenFd, nullptr, nullptr);
        if (fd < 0) continue;
        serve(fd);
        close(fd);
    }
}

QByteArray ScriptedServer::readRequest(int fd, SSL* ssl) const
{
    QByteArray received;
    qsizetype bodyStart = -1;
    qsizetype length = 0;
    char buffer[16384];
    while (bodyStart < 0 || received.size() < bodyStart + length) {
        if ((!ssl || SSL_pending(ssl) == 0) && !waitReadable(fd)) break;
        const int n = ssl ? SSL_read(ssl, buffer, sizeof buffer) : int(recv(fd, buffer, sizeof buffer, 0));
        if (n <= 0) break;
        received.append(buffer, n);
        if (bodyStart < 0 && (bodyStart = received.indexOf("\r\n\r\n")) >= 0) {
            bodyStart += 4;
            const qsizetype at = received.toLower().indexOf("\r\ncontent-length:");
            if (at >= 0 && at < bodyStart)
                length =
                    received.mid(at + 17, received.indexOf('\r', at + 2) - at - 17).trimmed().toLongLong();
        }
    }
    return received;
}

void ScriptedServer::serve(int fd)
{
    SSL* ssl = nullptr;
    if (m_ctx) {
        ssl = SSL_new(m_ctx);
        SSL_set_fd(ssl, fd);
        if (SSL_accept(ssl) != 1) {
            SSL_free(ssl);
            return;
        }
    }
    const QByteArray request = readRequest(fd, ssl);
    Reply reply{{}, Ending::Close};
    {
        const std::lock_guard guard(m_lock);
        m_requests.append(request);
        if (!m_replies.empty()) {
            reply = m_replies.front();
            m_replies.pop_front();
        }
    }
    for (qsizetype sent = 0; sent < reply.bytes.size();) {
        const int size = int(reply.bytes.size() - sent);
        const int n = ssl ? SSL_write(ssl, reply.bytes.constData() + sent, size)
                          : int(send(fd, reply.bytes.constData() + sent, size, MSG_NOSIGNAL));
        if (n <= 0) break;
        sent += n;
    }
    if (reply.ending == Ending::Reset) {
        const linger hard{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    } else if (reply.ending == Ending::Stall) {
        char sink[4096];
        while (waitReadable(fd) && recv(fd, sink, sizeof sink, 0) > 0) {
        }
    } else if (reply.ending == Ending::Close && ssl) {
        SSL_shutdown(ssl);
    }
    SSL_free(ssl);
}
