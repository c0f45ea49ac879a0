#pragma once
// URL splitting and redirect resolution for the HTTP client.
#include <QString>

namespace cad {

/// The parts of a URL that one exchange needs.
struct HttpUrl
{
    QString scheme;   ///< lower case; "http" when the URL names none
    QString user;     ///< percent-decoded
    QString password; ///< percent-decoded
    QString host;     ///< without the brackets of an IPv6 address
    QString port;
    QString path; ///< "/" and the rest, query included

    [[nodiscard]] static HttpUrl parse(const QString& url);
    [[nodiscard]] bool isDefaultPort() const;
    /// Host as written in a request ("[::1]" for IPv6) with ":port" when not the default.
    [[nodiscard]] QString hostHeader() const;
    /// "host:port" for connecting.
    [[nodiscard]] QString hostAndPort() const;
};

/// The URL a redirect's Location leads to from the current URL.
[[nodiscard]] QString resolveLocation(const QString& current, const QString& location);

} // namespace cad
