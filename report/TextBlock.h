#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

/// Text laid out at one reference resolution, so what is measured is what every device draws.
namespace cad::report::textblock {

/// Size in millimetres of TEXT in FONT, one line per line of the text; with WRAPWIDTHMM > 0
/// lines also wrap at that width (between words, or inside a word longer than the width).
[[nodiscard]] QSizeF measure(const QString& text, const QFont& font, qreal wrapWidthMm = 0);

/// FONT's metrics at the reference resolution, for fitsOneLine().
[[nodiscard]] QFontMetricsF metrics(const QFont& font);

/// True when TEXT takes a single line: no line breaks, and narrower than WRAPWIDTHMM in the
/// font of METRICS. Cheaper than measure(), for telling heights apart.
[[nodiscard]] bool fitsOneLine(const QString& text, const QFontMetricsF& metrics, qreal wrapWidthMm);

/// Lines TEXT can take at most when wrapped at WRAPWIDTHMM in the font of METRICS, found
/// without laying it out (generous: it allows for glyphs twice the font's widest).
[[nodiscard]] int lineBound(const QString& text, const QFontMetricsF& metrics, qreal wrapWidthMm);

/// The lines TEXT takes, as measure() lays them out (without their line breaks).
[[nodiscard]] QStringList lines(const QString& text, const QFont& font, qreal wrapWidthMm = 0);

/// The longest beginning of the one-line TEXT that is at most WIDTHMM wide in FONT.
[[nodiscard]] QString fitWidth(const QString& text, const QFont& font, qreal widthMm);

/// Draws TEXT left-aligned from the top-left corner of BOXMM, wrapped as measure() wraps it.
/// P works in millimetres; the text is not clipped to the box.
void draw(QPainter& p, const QString& text, const QFont& font, const QRectF& boxMm, qreal wrapWidthMm = 0);

} // namespace cad::report::textblock
