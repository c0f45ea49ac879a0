#pragma once
// Error raised by the HTTP client.
#include <QString>
#include <stdexcept>

namespace cad {

/// Failed HTTP exchange: a transport failure or a final status other than 200.
class ECadHTTPError : public std::runtime_error
{
public:
    /// The message is kept as UTF-8 in what().
    explicit ECadHTTPError(const QString& message);
    [[nodiscard]] QString message() const { return QString::fromUtf8(what()); }
};

} // namespace cad
