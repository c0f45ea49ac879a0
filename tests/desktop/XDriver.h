#pragma once
// Real input for a real X server: xdotool sends XTest events, which reach the program as a
// person's keys and clicks do; the geometry the server and window manager gave a window.
#include <QRect>
#include <QStringList>

class QWidget;

namespace xdriver {

/// Runs xdotool with ARGS on the display of this process; false when it failed.
[[nodiscard]] bool xdotool(const QStringList& args);
/// Moves the pointer onto WIDGET (its centre, or AT in its coordinates) and clicks COUNT times.
[[nodiscard]] bool click(QWidget* widget, QPoint at = {-1, -1}, int count = 1);
/// Types TEXT key by key into the window that has the input focus.
[[nodiscard]] bool type(const QString& text);
/// Presses a key combination ("Tab", "alt+r", "ctrl+s").
[[nodiscard]] bool key(const QString& combination);
/// WINDOW without and with the frame its window manager drew, as the X server has it (empty
/// when unknown).
[[nodiscard]] QRect clientOnServer(QWidget* window);
[[nodiscard]] QRect frameOnServer(QWidget* window);
/// Saves a picture of the whole screen as FILE.
void screenshot(const QString& file);

} // namespace xdriver
