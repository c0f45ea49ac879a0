#pragma once
#include <exception>
#include <functional>

namespace cad {

/// Where a failure of an operator's action goes: the application installs its error display.
/// Widgets run their handlers through guarded(), so an error ends the action and is shown.
void setErrorSink(std::function<void(const std::exception&)> sink);
void reportError(const std::exception& e);

/// Runs F; an exception it throws is reported instead of escaping into the event loop.
/// Returns false when F failed.
template <typename F> bool guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        reportError(e);
        return false;
    }
}

} // namespace cad
