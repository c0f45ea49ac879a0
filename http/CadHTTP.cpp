#include "http/CadHTTP.h"

#include "core/WaitCursor.h"
#include "http/HttpConnection.h"
#include "http/HttpResponseText.h"
#include "http/HttpUrl.h"

#include <cctype>

namespace cad {

namespace {

constexpr qsizetype kMaxHeaderBytes = 100 * 1024;
constexpr qsizetype kMaxBodyBytes = 32 * 1024 * 1024;
constexpr int kMaxRedirects = 11;

QByteArray withoutLineEnd(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

QString rightTrimmed(QString text)
{
    while (!text.isEmpty() && text.back().unicode() <= ' ')
        text.chop(1);
    return text;
}

// Blanks and control characters would end or split the request line.
QString encodedPath(const QString& path)
{
    QString out;
    for (QChar c : path)
        out += (c.unicode() <= ' ' || c.unicode() == 0x7F)
                   ? QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper()
                   : QString(c);
    return out;
}

QString basicCredentials(const QString& user, const QString& password)
{
    return QString::fromLatin1(ToSingleByte(user + QLatin1Char(':') + password).toBase64());
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307;
}

// Status line "HTTP/x.y code reason": code 0 when it is not a number.
void parseStatusLine(const QString& line, int& status, QString& reason)
{
    const qsizetype first = line.indexOf(QLatin1Char(' '));
    const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(' '), first + 1);
    bool ok = false;
    status = first < 0 ? 0 : line.mid(first + 1, second < 0 ? -1 : second - first - 1).toInt(&ok);
    if (!ok) status = 0;
    reason = second < 0 ? QString() : line.mid(second + 1).trimmed();
}

// One header line, counted against the allowance BUDGET that the whole header shares.
QByteArray headerLine(HttpConnection& connection, qsizetype& budget)
{
    QByteArray raw = connection.readLine(budget, kMaxHeaderBytes);
    budget -= raw.size();
    return raw;
}

TransportError cutShort()
{
    return HttpConnection::protocolError(QStringLiteral("Conexão encerrada antes do fim da resposta"));
}

} // namespace

TCadHTTP::TCadHTTP() = default;
TCadHTTP::~TCadHTTP() = default;

void TCadHTTP::ClearRequest()
{
    m_requestBody.clear();
    m_extraHeaders.clear();
    m_contentType = QStringLiteral("text/html");
}

void TCadHTTP::RequestGet(const QString& url)
{
    ClearRequest();
    PerformRequest(QStringLiteral("GET"), url);
}

void TCadHTTP::RequestPost(const QString& url)
{
    PerformRequest(QStringLiteral("POST"), url);
}

void TCadHTTP::PerformRequest(const QString& method, const QString& url)
{
    const waitcursor::Guard busy;
    m_responseLines.clear();
    m_url = url;
    if (m_isUTF8) m_extraHeaders.append(QStringLiteral("Accept-Charset: utf-8;q=*;q=0.7"));
    if (m_onAntesAbrirHTTP) m_onAntesAbrirHTTP(m_url);

    const QStringList extraHeaders = m_extraHeaders;
    QString currentMethod = method;
    exchange(currentMethod, m_url);
    for (int redirects = 0; isRedirect(m_statusCode) && redirects < kMaxRedirects; ++redirects) {
        QString location = HeaderValue(QStringLiteral("Location:"));
        location = location.left(location.indexOf(QLatin1Char(';'))).trimmed();
        m_url = resolveLocation(m_url, location);
        ClearRequest();
        m_extraHeaders = extraHeaders;
        // 307 repeats the method of the request it answers, which an earlier 302 may have made a GET.
        const bool postToGet = (m_statusCode == 301 || m_statusCode == 302) &&
                               currentMethod.compare(QLatin1String("POST"), Qt::CaseInsensitive) == 0;
        if (m_statusCode == 303 || postToGet) currentMethod = QStringLiteral("GET");
        exchange(currentMethod, m_url);
    }
    m_responseLines =
        responseLines(m_responseBody, HeaderValue(QStringLiteral("Content-Type:")), m_isUTF8, m_parseText);
    if (m_statusCode != 200)
        throw ECadHTTPError(httpErrorMessage(m_statusCode, m_statusText, m_socketErrorCode, m_socketErrorText,
                                             url, ResponseText()));
}

QByteArray TCadHTTP::requestHead(const QString& method, const HttpUrl& target, bool forwardProxy) const
{
    QByteArray head;
    const auto line = [&head](QString text) {
        text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        head += ToSingleByte(text) + "\r\n";
    };
    const QString path = encodedPath(target.path);
    line(method.toUpper() + QLatin1Char(' ') +
         (forwardProxy ? target.scheme + QLatin1String("://") + target.hostHeader() + path : path) +
         QLatin1String(" HTTP/1.0"));
    line(QLatin1String("Host: ") + target.hostHeader());
    if (!target.user.isEmpty())
        line(QLatin1String("Authorization: Basic ") + basicCredentials(target.user, target.password));
    if (forwardProxy && !m_proxyUser.isEmpty())
        line(QLatin1String("Proxy-Authorization: Basic ") + basicCredentials(m_proxyUser, m_proxyPass));
    line(QStringLiteral("Keep-Alive: 300"));
    line(forwardProxy ? QStringLiteral("Proxy-Connection: keep-alive")
                      : QStringLiteral("Connection: keep-alive"));
    if (!m_cookies.isEmpty()) line(QLatin1String("Cookie: ") + m_cookies.join(QLatin1String("; ")));
    line(QStringLiteral("User-Agent: Mozilla/4.0 (compatible)"));
    if (!m_requestBody.isEmpty()) {
        if (!m_contentType.isEmpty()) line(QLatin1String("Content-Type: ") + m_contentType);
        line(QLatin1String("Content-Length: ") + QString::number(m_requestBody.size()));
    }
    for (const QString& extra : m_extraHeaders)
        line(extra);
    head += "\r\n";
    return head;
}

void TCadHTTP::exchange(const QString& method, const QString& url)
{
    m_statusCode = 500;
    m_statusText.clear();
    m_responseHeaders.clear();
    m_responseBody.clear();
    m_socketErrorCode = 0;
    m_socketErrorText.clear();

    const HttpUrl target = HttpUrl::parse(url);
    const bool tls = target.scheme == QLatin1String("https");
    const bool viaProxy = !m_proxyHost.isEmpty();
    try {
        if (!tls && target.scheme != QLatin1String("http"))
            throw HttpConnection::protocolError(
                QStringLiteral("Protocolo não suportado: %1").arg(target.scheme));
        HttpConnection connection(m_timeOut);
        const HttpUrl proxy = HttpUrl::parse(m_proxyHost + QLatin1Char(':') + m_proxyPort);
        connection.open(viaProxy ? proxy.host : target.host, viaProxy ? proxy.port : target.port);
        if (tls) {
            if (viaProxy) openTunnel(connection, target);
            connection.startTls(target.host);
        }
        connection.send(requestHead(method, target, viaProxy && !tls) + m_requestBody);
        readResponse(connection, method);
        updateCookies();
    } catch (const TransportError& e) {
        m_statusCode = 500;
        m_statusText.clear();
        m_socketErrorCode = e.code;
        m_socketErrorText = e.text;
    }
}

void TCadHTTP::openTunnel(HttpConnection& connection, const HttpUrl& target) const
{
    QByteArray request = "CONNECT " + ToSingleByte(target.hostAndPort()) + " HTTP/1.0\r\n";
    if (!m_proxyUser.isEmpty())
        request +=
            "Proxy-Authorization: Basic " + ToSingleByte(basicCredentials(m_proxyUser, m_proxyPass)) + "\r\n";
    connection.send(request + "\r\n");
    const QString statusLine =
        FromSingleByte(withoutLineEnd(connection.readLine(kMaxHeaderBytes, kMaxHeaderBytes)));
    int status = 0;
    QString reason;
    parseStatusLine(statusLine, status, reason);
    if (status != 200)
        throw HttpConnection::protocolError(QStringLiteral("Proxy recusou o túnel: %1").arg(statusLine));
    while (!withoutLineEnd(connection.readLine(kMaxHeaderBytes, kMaxHeaderBytes)).isEmpty()) {
    }
}

void TCadHTTP::readResponse(HttpConnection& connection, const QString& method)
{
    qsizetype headerBudget = kMaxHeaderBytes; // the status line and the headers share it
    if (!readStatusLine(connection, headerBudget)) return;
    readHeaders(connection, headerBudget);
    readBody(connection, method);
}

bool TCadHTTP::readStatusLine(HttpConnection& connection, qsizetype& headerBudget)
{
    // Blank lines and any "100 Continue" answers come before the real status line.
    QByteArray raw;
    for (;;) {
        do
            raw = headerLine(connection, headerBudget);
        while (!raw.isEmpty() && withoutLineEnd(raw).isEmpty());
        if (raw.isEmpty()) throw cutShort();
        const QString line = FromSingleByte(withoutLineEnd(raw));
        if (!line.startsWith(QLatin1String("HTTP/"), Qt::CaseInsensitive)) {
            m_statusCode = 0; // no status line: what came is already the body
            m_responseBody = raw;
            connection.readToEnd(m_responseBody, kMaxBodyBytes);
            return false;
        }
        parseStatusLine(line, m_statusCode, m_statusText);
        if (m_statusCode != 100) return true;
        while (!withoutLineEnd(raw = headerLine(connection, headerBudget)).isEmpty()) {
        }
    }
}

void TCadHTTP::readHeaders(HttpConnection& connection, qsizetype& headerBudget)
{
    for (;;) {
        const QByteArray raw = headerLine(connection, headerBudget);
        if (raw.isEmpty()) throw cutShort();
        const QString line = FromSingleByte(withoutLineEnd(raw));
        if (line.isEmpty()) return;
        static const QString continuation = QStringLiteral(" \t\":=");
        if (continuation.contains(line.front()) && !m_responseHeaders.isEmpty())
            m_responseHeaders.last() =
                rightTrimmed(m_responseHeaders.last() + QLatin1Char(' ') +
                             line.trimmed().replace(QLatin1Char('\t'), QLatin1Char(' ')));
        else
            m_responseHeaders.append(rightTrimmed(line));
    }
}

void TCadHTTP::readBody(HttpConnection& connection, const QString& method)
{
    qint64 length = -1;
    bool chunked = false;
    for (const QString& header : std::as_const(m_responseHeaders)) {
        const QString upper = header.toUpper();
        if (upper.startsWith(QLatin1String("CONTENT-LENGTH:"))) {
            bool ok = false;
            length = header.mid(15).trimmed().toLongLong(&ok);
            if (!ok || length < 0) length = -1;
        } else if (upper.startsWith(QLatin1String("TRANSFER-ENCODING:")) &&
                   upper.contains(QLatin1String("CHUNKED"))) {
            chunked = true;
        }
    }

    if (method.compare(QLatin1String("HEAD"), Qt::CaseInsensitive) == 0 || m_statusCode == 204 ||
        m_statusCode == 304)
        return;
    if (chunked)
        readChunkedBody(connection);
    else if (length > kMaxBodyBytes)
        throw bodyTooLarge();
    else if (length >= 0)
        connection.readExact(length, m_responseBody);
    else
        connection.readToEnd(m_responseBody, kMaxBodyBytes);
}

TransportError TCadHTTP::bodyTooLarge()
{
    return HttpConnection::protocolError(
        QStringLiteral("Corpo da resposta excede o limite de %1 bytes").arg(kMaxBodyBytes));
}

void TCadHTTP::readChunkedBody(HttpConnection& connection)
{
    for (;;) {
        const QByteArray raw = connection.readLine(kMaxHeaderBytes, kMaxHeaderBytes);
        if (raw.isEmpty()) throw cutShort();
        QByteArray sizeText = withoutLineEnd(raw).trimmed();
        for (qsizetype i = 0; i < sizeText.size(); ++i)
            if (sizeText[i] == ' ' || sizeText[i] == ';' || sizeText[i] == '\t') {
                sizeText.truncate(i);
                break;
            }
        bool ok = !sizeText.isEmpty() && sizeText.size() <= 15;
        for (char c : sizeText)
            ok = ok && std::isxdigit(static_cast<unsigned char>(c));
        const qint64 size = ok ? sizeText.toLongLong(nullptr, 16) : -1;
        if (size < 0)
            throw HttpConnection::protocolError(QStringLiteral("Tamanho de bloco inválido: %1")
                                                    .arg(FromSingleByte(withoutLineEnd(raw).left(40))));
        if (size == 0) return;
        if (m_responseBody.size() + size > kMaxBodyBytes) throw bodyTooLarge();
        connection.readExact(size, m_responseBody);
        if (!withoutLineEnd(connection.readLine(kMaxHeaderBytes, kMaxHeaderBytes)).isEmpty())
            throw HttpConnection::protocolError(QStringLiteral("Bloco maior que o tamanho declarado"));
    }
}

void TCadHTTP::updateCookies()
{
    for (const QString& header : std::as_const(m_responseHeaders)) {
        if (!header.startsWith(QLatin1String("set-cookie:"), Qt::CaseInsensitive)) continue;
        QString text = header.mid(header.indexOf(QLatin1Char(':')) + 1);
        text = text.left(text.indexOf(QLatin1Char(';'))).trimmed();
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        const QString name = (eq < 0 ? text : text.left(eq)).trimmed();
        const QString value = eq < 0 ? QString() : text.mid(eq + 1).trimmed();
        qsizetype found = -1;
        for (qsizetype i = 0; i < m_cookies.size() && found < 0; ++i)
            if (m_cookies[i].section(QLatin1Char('='), 0, 0).trimmed().compare(name, Qt::CaseInsensitive) ==
                0)
                found = i;
        if (value.isEmpty()) {
            if (found >= 0) m_cookies.removeAt(found);
        } else if (found >= 0) {
            m_cookies[found] = name + QLatin1Char('=') + value;
        } else {
            m_cookies.append(name + QLatin1Char('=') + value);
        }
    }
}

QString TCadHTTP::ResponseText() const
{
    QString text;
    for (const QString& line : m_responseLines)
        text += line + QLatin1String("\r\n");
    return text;
}

QString TCadHTTP::HeaderValue(const QString& name) const
{
    for (const QString& header : m_responseHeaders)
        if (header.startsWith(name, Qt::CaseInsensitive)) return header.mid(name.size()).trimmed();
    return {};
}

} // namespace cad
