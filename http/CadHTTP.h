#pragma once
// HTTP/1.0 client over OpenSSL on which every web look-up is built.
#include "core/TextRoutines.h"
#include "http/CadHTTPError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace cad {

class HttpConnection;
struct HttpUrl;
struct TransportError;

/// Called with the URL just before the first request of a call; it may change it.
using TCadOnAntesAbrirHTTP = std::function<void(QString& AURL)>;

/// Synchronous HTTP/1.0 client: one request at a time, redirects, cookies kept for the object's
/// lifetime, response body as lines in the single-byte code page. Raises ECadHTTPError unless the
/// final status is 200.
///
/// TLS always negotiates version 1.2 or later and verifies the server's certificate against the
/// system's trust store plus serviceSettings().caFile, checking the URL's host; there is no
/// per-component protocol choice. An answer with more than 100 KiB of header or 32 MiB of body, or
/// one cut short of its declared length or chunks, fails like a transport error (status 500).
class TCadHTTP
{
public:
    TCadHTTP();
    virtual ~TCadHTTP();
    TCadHTTP(const TCadHTTP&) = delete;
    TCadHTTP& operator=(const TCadHTTP&) = delete;

    // Properties.
    [[nodiscard]] const QString& ProxyHost() const { return m_proxyHost; }
    void SetProxyHost(const QString& value) { m_proxyHost = value; }
    [[nodiscard]] const QString& ProxyPort() const { return m_proxyPort; }
    void SetProxyPort(const QString& value) { m_proxyPort = value; }
    [[nodiscard]] const QString& ProxyUser() const { return m_proxyUser; }
    void SetProxyUser(const QString& value) { m_proxyUser = value; }
    [[nodiscard]] const QString& ProxyPass() const { return m_proxyPass; }
    void SetProxyPass(const QString& value) { m_proxyPass = value; }
    [[nodiscard]] bool ParseText() const { return m_parseText; }
    void SetParseText(bool value) { m_parseText = value; }
    [[nodiscard]] bool IsUTF8() const { return m_isUTF8; }
    void SetIsUTF8(bool value) { m_isUTF8 = value; }
    /// Milliseconds allowed for connecting, for each send and for each read; 0 or less: no limit.
    [[nodiscard]] int TimeOut() const { return m_timeOut; }
    void SetTimeOut(int milliseconds) { m_timeOut = milliseconds; }
    [[nodiscard]] const TCadOnAntesAbrirHTTP& OnAntesAbrirHTTP() const { return m_onAntesAbrirHTTP; }
    void SetOnAntesAbrirHTTP(TCadOnAntesAbrirHTTP handler) { m_onAntesAbrirHTTP = std::move(handler); }

    // Request, prepared by the caller after ClearRequest.
    /// Extra header lines, sent in order after the client's own (e.g. "Referer: ...").
    [[nodiscard]] QStringList& ExtraHeaders() { return m_extraHeaders; }
    [[nodiscard]] const QByteArray& RequestBody() const { return m_requestBody; }
    void SetRequestBody(const QByteArray& body) { m_requestBody = body; }
    [[nodiscard]] const QString& ContentType() const { return m_contentType; }
    void SetContentType(const QString& value) { m_contentType = value; }

    /// "name=value" entries sent with every request; names compare case-insensitively.
    [[nodiscard]] QStringList& Cookies() { return m_cookies; }
    [[nodiscard]] const QStringList& Cookies() const { return m_cookies; }

    /// Empties the body and the extra headers and sets the content type back to "text/html".
    void ClearRequest();
    void RequestGet(const QString& url);
    void RequestPost(const QString& url);
    /// The whole exchange with redirects; returns only when the final status is 200.
    void PerformRequest(const QString& method, const QString& url);

    // Response.
    [[nodiscard]] int StatusCode() const { return m_statusCode; }
    [[nodiscard]] const QString& StatusText() const { return m_statusText; }
    [[nodiscard]] const QStringList& ResponseHeaders() const { return m_responseHeaders; }
    /// The body exactly as received (images).
    [[nodiscard]] const QByteArray& ResponseBody() const { return m_responseBody; }
    /// The URL of the last exchange, after redirects.
    [[nodiscard]] const QString& URL() const { return m_url; }
    /// The body as converted text lines.
    [[nodiscard]] const QStringList& ResponseLines() const { return m_responseLines; }
    /// The lines, each followed by CR LF.
    [[nodiscard]] QString ResponseText() const;
    /// Rest of the first header line beginning with name (e.g. "Location:"), case ignored, trimmed.
    [[nodiscard]] QString HeaderValue(const QString& name) const;
    /// Transport error of the last exchange: 0 and empty when the transport worked, the platform's or
    /// the TLS layer's code otherwise, -1 for an answer the client refuses (malformed, over a limit).
    [[nodiscard]] int SocketErrorCode() const { return m_socketErrorCode; }
    [[nodiscard]] const QString& SocketErrorText() const { return m_socketErrorText; }

private:
    void exchange(const QString& method, const QString& url);
    [[nodiscard]] QByteArray requestHead(const QString& method, const HttpUrl& target,
                                         bool forwardProxy) const;
    void openTunnel(HttpConnection& connection, const HttpUrl& target) const;
    void readResponse(HttpConnection& connection, const QString& method);
    /// False when the server sent no status line: what came is the body, already read to the end.
    [[nodiscard]] bool readStatusLine(HttpConnection& connection, qsizetype& headerBudget);
    void readHeaders(HttpConnection& connection, qsizetype& headerBudget);
    void readBody(HttpConnection& connection, const QString& method);
    void readChunkedBody(HttpConnection& connection);
    [[nodiscard]] static TransportError bodyTooLarge();
    void updateCookies();

    QString m_proxyHost;
    QString m_proxyPort = QStringLiteral("8080");
    QString m_proxyUser;
    QString m_proxyPass;
    bool m_parseText = false;
    bool m_isUTF8 = false;
    int m_timeOut = 90000;
    TCadOnAntesAbrirHTTP m_onAntesAbrirHTTP;

    QStringList m_extraHeaders;
    QByteArray m_requestBody;
    QString m_contentType = QStringLiteral("text/html");
    QStringList m_cookies;

    int m_statusCode = 500;
    QString m_statusText;
    QStringList m_responseHeaders;
    QByteArray m_responseBody;
    QString m_url;
    QStringList m_responseLines;
    int m_socketErrorCode = 0;
    QString m_socketErrorText;
};

} // namespace cad
