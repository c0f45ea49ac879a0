#include "core/ErrorSink.h"

#include <QtGlobal>

namespace cad {

namespace {
std::function<void(const std::exception&)>& sink()
{
    static std::function<void(const std::exception&)> s;
    return s;
}
} // namespace

void setErrorSink(std::function<void(const std::exception&)> s)
{
    sink() = std::move(s);
}

void reportError(const std::exception& e)
{
    if (sink())
        sink()(e);
    else
        qWarning("%s", e.what());
}

} // namespace cad
