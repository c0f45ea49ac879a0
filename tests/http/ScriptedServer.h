#pragma once
// Loopback server that answers each connection with scripted bytes and records what it received.
#include <QByteArray>
#include <QList>
#include <QString>

#include <openssl/types.h>

#include <deque>
#include <mutex>
#include <thread>

/// One-connection-at-a-time server on 127.0.0.1, plain or TLS, for exact-byte exchanges.
class ScriptedServer
{
public:
    /// How a connection ends after the scripted bytes.
    enum class Ending
    {
        Close, ///< orderly close (with close-notify over TLS)
        Drop,  ///< close without close-notify
        Reset, ///< TCP reset
        Stall, ///< send nothing more and wait until the client gives up
    };
    struct Tls
    {
        QString certFile;
        QString keyFile;
        bool legacyOnly = false; ///< offer TLS 1.1 at most
    };

    explicit ScriptedServer(const Tls* tls = nullptr);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    [[nodiscard]] bool isListening() const { return m_listenFd >= 0; }
    /// Queues the answer of the next connection; a connection with none queued is just closed.
    void reply(const QByteArray& bytes, Ending ending = Ending::Close);
    [[nodiscard]] QString url(const QString& path = QStringLiteral("/")) const;
    /// Request head and body as received, one entry per connection.
    [[nodiscard]] QList<QByteArray> requests() const;

private:
    struct Reply
    {
        QByteArray bytes;
        Ending ending;
    };
    void run();
    void serve(int fd);
    [[nodiscard]] bool waitReadable(int fd) const;
    [[nodiscard]] QByteArray readRequest(int fd, SSL* ssl) const;

    SSL_CTX* m_ctx = nullptr;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    quint16 m_port = 0;
    mutable std::mutex m_lock;
    std::deque<Reply> m_replies;
    QList<QByteArray> m_requests;
    std::thread m_thread;
};
