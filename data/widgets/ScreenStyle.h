#pragma once
#include <QColor>
#include <QString>

#include <QStyle>

class QLabel;
class QToolBar;
class QToolButton;
class QWidget;

/// Look shared by the program's screens: the blue title band and red "required" labels.
namespace cad::screenstyle {

inline const QColor kTitleBlue{0, 78, 155};

/// White bold text on blue across the window.
[[nodiscard]] QLabel* titleBand(const QString& text, QWidget* parent);
/// A caption above a control; red marks the fields the screen calls required.
[[nodiscard]] QLabel* caption(const QString& text, bool red, QWidget* parent);
/// CONTROL with its caption above it, at a fixed width when WIDTH > 0.
[[nodiscard]] QWidget* labeled(const QString& text, QWidget* control, int width, bool red, QWidget* parent);

/// A large picture button with its caption under the picture, added to BAR; takes no focus.
[[nodiscard]] QToolButton* commandButton(QToolBar* bar, const QString& name, const QString& text,
                                         QStyle::StandardPixmap icon);

} // namespace cad::screenstyle
