#pragma once
// One client connection over an OpenSSL BIO, plain or TLS, with a time limit on every wait.
#include <QByteArray>
#include <QString>

#include <openssl/types.h>

namespace cad {

/// A failed connect, handshake, send or read: the platform's or the TLS layer's code and description.
struct TransportError
{
    int code = 0;
    QString text;
    bool reset = false; ///< the peer reset the connection
};

/// Connection of one exchange; every failure is thrown as TransportError.
class HttpConnection
{
public:
    /// timeOutMs bounds connect plus handshake, each send and each read; 0 or less: no limit.
    explicit HttpConnection(int timeOutMs);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    void open(const QString& host, const QString& port);
    /// TLS handshake over the open connection, verifying the certificate for host.
    void startTls(const QString& host);
    void send(const QByteArray& bytes);

    /// The next line with its line end; shorter only at the end of the stream (empty when nothing
    /// is left). Fails when the line would exceed maxBytes, what is left of the header's LIMIT.
    [[nodiscard]] QByteArray readLine(qsizetype maxBytes, qsizetype limit);
    /// Appends exactly n bytes to out; fails when the stream ends first.
    void readExact(qsizetype n, QByteArray& out);
    /// Appends everything until the peer closes; a reset counts as the end. Fails past maxBytes.
    void readToEnd(QByteArray& out, qsizetype maxBytes);

    /// Failure for an answer the client will not accept (malformed, over a limit).
    [[nodiscard]] static TransportError protocolError(const QString& text) { return {-1, text, false}; }

private:
    [[nodiscard]] qsizetype readSome(char* data, qsizetype size);
    [[nodiscard]] qsizetype fill();
    void wait(bool forRead, int milliseconds) const;
    [[nodiscard]] TransportError tlsError(int sslError) const;

    int m_timeOut;
    BIO* m_bio = nullptr; // owned by m_ssl once TLS starts
    SSL* m_ssl = nullptr;
    int m_fd = -1;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
};

} // namespace cad
