#include "http/CadHTTPError.h"

ECadHTTPError::ECadHTTPError(const QString& message) : std::runtime_error(message.toStdString()) {}
