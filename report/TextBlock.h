#pragma once
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

/// Text laid out at one reference resolution, so what is measured is what every device draws.
namespace cad::report::textblock {

/// Size in millimetres of TEXT in FONT, one line per line of the text; with WRAPWIDTHMM > 0
/// lines also wrap at that width (between words, or inside a word longer than the width).
[[nodiscard]] QSizeF measure(const QString& text, const QFont& font, qreal wrapWidthMm = 0);

/// Draws TEXT left-aligned from the top-left corner of BOXMM, wrapped as measure() wraps it.
/// P works in millimetres; the text is not clipped to the box.
void draw(QPainter& p, const QString& text, const QFont& font, const QRectF& boxMm, qreal wrapWidthMm = 0);

} // namespace cad::report::textblock
