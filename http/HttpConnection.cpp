#include "http/HttpConnection.h"

#include "http/TlsContext.h"

#include <QDeadlineTimer>

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <system_error>

namespace cad {

namespace {

constexpr qsizetype kReadChunk = 64 * 1024;

TransportError systemError(int code)
{
    return {code, QString::fromStdString(std::system_category().message(code)), code == ECONNRESET};
}

TransportError timeoutError()
{
    return systemError(ETIMEDOUT);
}

// The most telling entry of OpenSSL's error queue: the system error if any, else the first one.
TransportError queuedError(const char* fallback)
{
    TransportError first{-1, QString::fromLatin1(fallback)};
    bool haveFirst = false;
    const char* data = nullptr;
    int flags = 0;
    while (const unsigned long e = ERR_get_error_all(nullptr, nullptr, nullptr, &data, &flags)) {
        if (ERR_SYSTEM_ERROR(e)) return systemError(ERR_GET_REASON(e));
        if (!haveFirst) {
            haveFirst = true;
            first.code = ERR_GET_REASON(e);
            if (const char* reason = ERR_reason_error_string(e)) first.text = QString::fromLatin1(reason);
            if (data && (flags & ERR_TXT_STRING) && *data)
                first.text += QStringLiteral(" (%1)").arg(QString::fromLatin1(data));
        }
    }
    return first;
}

// A write to a socket the peer has closed must fail with EPIPE, not end the process.
void ignoreBrokenPipe()
{
#ifdef SIGPIPE
    static const bool done = [] {
        struct sigaction current
        {
        };
        if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)done;
#endif
}

// BIO_FAMILY_IPV4 or BIO_FAMILY_IPV6 for a literal address, 0 for a host name.
int addressFamily(const QString& host)
{
    ASN1_OCTET_STRING* address = a2i_IPADDRESS(host.toLatin1().constData());
    const int length = address ? ASN1_STRING_length(address) : 0;
    ASN1_OCTET_STRING_free(address);
    return length == 4 ? BIO_FAMILY_IPV4 : length == 16 ? BIO_FAMILY_IPV6 : 0;
}

} // namespace

HttpConnection::HttpConnection(int timeOutMs) : m_timeOut(timeOutMs)
{
    ignoreBrokenPipe();
}

HttpConnection::~HttpConnection()
{
    if (m_ssl) {
        if (SSL_is_init_finished(m_ssl))
            SSL_shutdown(m_ssl); // best-effort close-notify; the socket is non-blocking, so it never waits
        SSL_free(m_ssl);
    } else if (m_bio) {
        BIO_free_all(m_bio);
    }
    ERR_clear_error(); // leave nothing behind for other users of OpenSSL on this thread
}

void HttpConnection::wait(bool forRead, int milliseconds) const
{
    pollfd p{m_fd, short(forRead ? POLLIN : POLLOUT), 0};
    for (;;) {
        const int r = poll(&p, 1, milliseconds);
        if (r > 0) return;
        if (r == 0) throw timeoutError();
        if (errno != EINTR) throw systemError(errno);
    }
}

void HttpConnection::open(const QString& host, const QString& port)
{
    const QString hostAndPort =
        (host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host) +
        QLatin1Char(':') + port;
    const QDeadlineTimer deadline(m_timeOut > 0 ? qint64(m_timeOut) : -1);
    ERR_clear_error();
    m_bio = BIO_new_connect(hostAndPort.toUtf8().constData());
    if (!m_bio) throw queuedError("BIO_new_connect failed");
    BIO_set_nbio(m_bio, 1);
    // A literal address needs no look-up; naming its family also spares the resolver's check of
    // the configured interfaces on every connection.
    if (const int family = addressFamily(host)) BIO_set_conn_ip_family(m_bio, family);
    while (BIO_do_connect(m_bio) <= 0) {
        m_fd = int(BIO_get_fd(m_bio, nullptr));
        if (!BIO_should_retry(m_bio) || m_fd < 0) throw queuedError("connect failed");
        if (deadline.hasExpired()) throw timeoutError();
        wait(false, deadline.isForever() ? -1 : int(deadline.remainingTime()));
    }
    m_fd = int(BIO_get_fd(m_bio, nullptr));
}

void HttpConnection::startTls(const QString& host)
{
    const QDeadlineTimer deadline(m_timeOut > 0 ? qint64(m_timeOut) : -1);
    QString contextError;
    const SslCtxPtr ctx = sharedTlsContext(contextError);
    if (!ctx) throw TransportError{-1, contextError};
    ERR_clear_error();
    m_ssl = SSL_new(ctx.get());
    if (!m_ssl) throw TransportError{-1, QStringLiteral("Error loading OpenSSL lib")};
    SSL_set_bio(m_ssl, m_bio, m_bio);

    // The certificate must name the URL's host; a name (never an address) also goes as server name.
    const QByteArray name = host.toUtf8();
    if (addressFamily(host) == 0) {
        SSL_set_tlsext_host_name(m_ssl, name.constData());
        SSL_set1_host(m_ssl, name.constData());
    } else {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), name.constData());
    }
    for (;;) {
        errno = 0;
        const int r = SSL_connect(m_ssl);
        if (r == 1) return;
        const int e = SSL_get_error(m_ssl, r);
        if (e != SSL_ERROR_WANT_READ && e != SSL_ERROR_WANT_WRITE) throw tlsError(e);
        if (deadline.hasExpired()) throw timeoutError();
        wait(e == SSL_ERROR_WANT_READ, deadline.isForever() ? -1 : int(deadline.remainingTime()));
    }
}

TransportError HttpConnection::tlsError(int sslError) const
{
    const long verify = SSL_get_verify_result(m_ssl);
    if (verify != X509_V_OK) {
        ERR_clear_error();
        return {int(verify), QStringLiteral("certificate verify failed: %1")
                                 .arg(QString::fromLatin1(X509_verify_cert_error_string(verify)))};
    }
    if (sslError == SSL_ERROR_SYSCALL && errno != 0 && ERR_peek_error() == 0) return systemError(errno);
    return queuedError("TLS handshake failed");
}

void HttpConnection::send(const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        errno = 0;
        ERR_clear_error();
        const char* data = bytes.constData() + sent;
        const int size = int(std::min<qsizetype>(bytes.size() - sent, 1 << 30));
        if (m_ssl) {
            size_t written = 0;
            if (SSL_write_ex(m_ssl, data, size_t(size), &written) == 1) {
                sent += qsizetype(written);
                continue;
            }
            const int e = SSL_get_error(m_ssl, 0);
            if (e != SSL_ERROR_WANT_READ && e != SSL_ERROR_WANT_WRITE) throw tlsError(e);
            wait(e == SSL_ERROR_WANT_READ, m_timeOut > 0 ? m_timeOut : -1);
        } else {
            const int r = BIO_write(m_bio, data, size);
            if (r > 0) {
                sent += r;
                continue;
            }
            if (!BIO_should_retry(m_bio)) throw systemError(errno ? errno : EPIPE);
            wait(false, m_timeOut > 0 ? m_timeOut : -1);
        }
    }
}

qsizetype HttpConnection::readSome(char* data, qsizetype size)
{
    for (;;) {
        errno = 0;
        ERR_clear_error();
        if (m_ssl) {
            size_t got = 0;
            if (SSL_read_ex(m_ssl, data, size_t(size), &got) == 1) return qsizetype(got);
            const int e = SSL_get_error(m_ssl, 0);
            if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) {
                wait(e == SSL_ERROR_WANT_READ, m_timeOut > 0 ? m_timeOut : -1);
                continue;
            }
            // A peer that closes without close-notify ends the stream like a plain close; the
            // framing (length, chunks) tells whether the body is complete.
            if (e == SSL_ERROR_ZERO_RETURN ||
                (e == SSL_ERROR_SSL &&
                 ERR_GET_REASON(ERR_peek_error()) == SSL_R_UNEXPECTED_EOF_WHILE_READING) ||
                (e == SSL_ERROR_SYSCALL && errno == 0 && ERR_peek_error() == 0))
                return 0;
            throw e == SSL_ERROR_SYSCALL && errno ? systemError(errno) : tlsError(e);
        }
        const int r = BIO_read(m_bio, data, int(size));
        if (r >= 0) return r;
        if (!BIO_should_retry(m_bio)) throw systemError(errno ? errno : ECONNRESET);
        wait(true, m_timeOut > 0 ? m_timeOut : -1);
    }
}

qsizetype HttpConnection::fill()
{
    if (m_pos == m_buffer.size()) {
        m_buffer.clear();
        m_pos = 0;
    } else if (m_pos > kReadChunk) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + kReadChunk);
    qsizetype got = 0;
    try {
        got = readSome(m_buffer.data() + old, kReadChunk);
    } catch (...) {
        m_buffer.resize(old);
        throw;
    }
    m_buffer.resize(old + got);
    return got;
}

QByteArray HttpConnection::readLine(qsizetype maxBytes, qsizetype limit)
{
    qsizetype scanned = m_pos;
    for (;;) {
        const qsizetype lf = m_buffer.indexOf('\n', scanned);
        if (lf >= 0 && lf - m_pos + 1 <= maxBytes) {
            QByteArray line = m_buffer.mid(m_pos, lf - m_pos + 1);
            m_pos = lf + 1;
            return line;
        }
        if (lf >= 0 || m_buffer.size() - m_pos > maxBytes)
            throw protocolError(
                QStringLiteral("Cabeçalho da resposta excede o limite de %1 bytes").arg(limit));
        scanned = m_buffer.size();
        const qsizetype start = m_pos;
        if (fill() == 0) {
            QByteArray rest = m_buffer.mid(m_pos);
            m_pos = m_buffer.size();
            return rest;
        }
        scanned -= start - m_pos; // fill may have moved the unread bytes to the front
    }
}

void HttpConnection::readExact(qsizetype n, QByteArray& out)
{
    const qsizetype buffered = std::min(n, m_buffer.size() - m_pos);
    out.append(m_buffer.constData() + m_pos, buffered);
    m_pos += buffered;
    n -= buffered;
    while (n > 0) {
        const qsizetype old = out.size();
        out.resize(old + n);
        qsizetype got = 0;
        try {
            got = readSome(out.data() + old, n);
        } catch (...) {
            out.resize(old);
            throw;
        }
        out.resize(old + got);
        if (got == 0) throw protocolError(QStringLiteral("Conexão encerrada antes do fim da resposta"));
        n -= got;
    }
}

void HttpConnection::readToEnd(QByteArray& out, qsizetype maxBytes)
{
    out.append(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
    m_pos = m_buffer.size();
    for (;;) {
        if (out.size() > maxBytes)
            throw protocolError(
                QStringLiteral("Corpo da resposta excede o limite de %1 bytes").arg(maxBytes));
        const qsizetype old = out.size();
        out.resize(old + kReadChunk);
        qsizetype got = 0;
        try {
            got = readSome(out.data() + old, kReadChunk);
        } catch (const TransportError& e) {
            out.resize(old);
            if (e.reset) return; // a reset after an unframed body is its normal end on some servers
            throw;
        }
        out.resize(old + got);
        if (got == 0) return;
    }
}

} // namespace cad
