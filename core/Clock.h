#pragma once
#include <QDateTime>
#include <functional>

/// The workstation clock, replaceable by tests.
namespace cad::clock {

[[nodiscard]] QDateTime now();
/// Replaces the clock; an empty function restores the system clock.
void set(std::function<QDateTime()> source);

} // namespace cad::clock
