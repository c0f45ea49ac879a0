#include "http/CadHTTPError.h"

namespace cad {

ECadHTTPError::ECadHTTPError(const QString& message) : std::runtime_error(message.toStdString()) {}

} // namespace cad
