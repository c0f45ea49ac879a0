#pragma once
#include <QColor>
#include <QString>

class QLabel;
class QWidget;

/// Look shared by the program's screens: the blue title band and red "required" labels.
namespace cad::screenstyle {

inline const QColor kTitleBlue{0, 78, 155};

/// LABEL as a band: white bold text on BACKGROUND.
void paintBand(QLabel* label, const QColor& background);
/// White bold text on blue across the window.
[[nodiscard]] QLabel* titleBand(const QString& text, QWidget* parent);
/// WIDGET's text (a group's choices too) in red, as the screens mark required fields.
void paintRed(QWidget* widget);
/// A caption above a control; red marks the fields the screen calls required.
[[nodiscard]] QLabel* caption(const QString& text, bool red, QWidget* parent);
/// CONTROL with its caption above it, at a fixed width when WIDTH > 0.
[[nodiscard]] QWidget* labeled(const QString& text, QWidget* control, int width, bool red, QWidget* parent);

} // namespace cad::screenstyle
