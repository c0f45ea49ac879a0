#pragma once
#include <QString>
#include <exception>

namespace cad {

/// Ends a command without showing anything.
struct SilentAbort : std::exception
{
    [[nodiscard]] const char* what() const noexcept override { return ""; }
};

/// The general error display: a failure no command handles, shown in a modal box.
namespace errordisplay {

/// The message as shown: a full stop is added when its last character sorts after ".".
[[nodiscard]] QString withFullStop(const QString& message);
/// Shows E (nothing for a SilentAbort) and returns; the program goes on waiting.
void show(const std::exception& e);
/// Makes show() the sink of every guarded action.
void install();

} // namespace errordisplay
} // namespace cad
