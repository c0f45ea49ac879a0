#include "http/HttpUrl.h"

#include <QByteArray>
#include <QRegularExpression>

namespace cad {

namespace {

// Index where the path of the URL begins (its length when it has none), after scheme and authority.
qsizetype pathStart(const QString& url)
{
    qsizetype from = 0;
    const qsizetype sep = url.indexOf(QLatin1String("://"));
    if (url.startsWith(QLatin1String("//")))
        from = 2;
    else if (sep > 0)
        from = sep + 3;
    for (qsizetype i = from; i < url.size(); ++i)
        if (url.at(i) == QLatin1Char('/') || url.at(i) == QLatin1Char('?') || url.at(i) == QLatin1Char('#'))
            return i;
    return url.size();
}

QString percentDecoded(const QString& text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

} // namespace

HttpUrl HttpUrl::parse(const QString& url)
{
    HttpUrl u;
    QString rest = url;
    const qsizetype sep = url.indexOf(QLatin1String("://"));
    static const QRegularExpression schemeName(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*$"));
    if (url.startsWith(QLatin1String("//"))) {
        rest = url.mid(2);
    } else if (sep > 0 && schemeName.match(url.left(sep)).hasMatch()) {
        u.scheme = url.left(sep).toLower();
        rest = url.mid(sep + 3);
    }
    if (u.scheme.isEmpty()) u.scheme = QStringLiteral("http");
    rest.truncate(rest.indexOf(QLatin1Char('#')) < 0 ? rest.size() : rest.indexOf(QLatin1Char('#')));

    qsizetype end = 0;
    while (end < rest.size() && rest.at(end) != QLatin1Char('/') && rest.at(end) != QLatin1Char('?'))
        ++end;
    QString authority = rest.left(end);
    const QString tail = rest.mid(end);
    u.path = tail.startsWith(QLatin1Char('/')) ? tail : QLatin1Char('/') + tail;

    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString userInfo = authority.left(at);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        u.user = percentDecoded(colon < 0 ? userInfo : userInfo.left(colon));
        u.password = colon < 0 ? QString() : percentDecoded(userInfo.mid(colon + 1));
        authority = authority.mid(at + 1);
    }
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        u.host = authority.mid(1, close < 0 ? -1 : close - 1);
        if (close >= 0 && authority.mid(close + 1).startsWith(QLatin1Char(':')))
            portText = authority.mid(close + 2);
    } else {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        u.host = colon < 0 ? authority : authority.left(colon);
        portText = colon < 0 ? QString() : authority.mid(colon + 1);
    }
    if (u.host.isEmpty()) u.host = QStringLiteral("localhost");
    if (!portText.isEmpty())
        u.port = portText;
    else if (u.scheme == QLatin1String("https"))
        u.port = QStringLiteral("443");
    else if (u.scheme == QLatin1String("ftp"))
        u.port = QStringLiteral("21");
    else
        u.port = QStringLiteral("80");
    return u;
}

bool HttpUrl::isDefaultPort() const
{
    return (scheme == QLatin1String("https") && port == QLatin1String("443")) ||
           (scheme != QLatin1String("https") && port == QLatin1String("80"));
}

QString HttpUrl::hostHeader() const
{
    const QString name = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return isDefaultPort() ? name : name + QLatin1Char(':') + port;
}

QString HttpUrl::hostAndPort() const
{
    const QString name = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return name + QLatin1Char(':') + port;
}

QString resolveLocation(const QString& current, const QString& location)
{
    static const QRegularExpression absolute(QStringLiteral("^((https?|ftp)://|www\\.)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (location.startsWith(QLatin1String("//")) ||
        (!location.startsWith(QLatin1Char('/')) && absolute.match(location).hasMatch()))
        return location;
    const qsizetype start = pathStart(current);
    if (location.startsWith(QLatin1Char('/'))) return current.left(start) + location;
    // The current directory is taken from the path alone: a "/" inside the query does not count.
    const qsizetype query = current.indexOf(QLatin1Char('?'), start);
    const qsizetype lastSlash =
        current.left(query < 0 ? current.size() : query).lastIndexOf(QLatin1Char('/'));
    if (lastSlash < start) return current.left(start) + QLatin1Char('/') + location;
    return current.left(lastSlash + 1) + location;
}

} // namespace cad
