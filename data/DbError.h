#pragma once
#include <QString>
#include <stdexcept>

namespace cad {

/// A failure reported by the database layer; what() is the UTF-8 message shown to the operator.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message, unsigned code = 0)
        : std::runtime_error(message.toStdString()), m_code(code)
    {
    }
    [[nodiscard]] unsigned code() const { return m_code; }
    [[nodiscard]] QString message() const { return QString::fromUtf8(what()); }

private:
    unsigned m_code;
};

} // namespace cad
