#include "report/TextBlock.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace cad::report::textblock {

namespace {

constexpr qreal kUnitsPerMm = 10; // 254 dpi: fine enough for exact glyph advances

const QPaintDevice& referenceDevice()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        img.setDotsPerMeterX(int(kUnitsPerMm * 1000));
        img.setDotsPerMeterY(int(kUnitsPerMm * 1000));
        return img;
    }();
    return device;
}

QString withLineSeparators(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

/// Lays TEXT out in LAYOUT and returns its size in reference units.
QSizeF layOut(QTextLayout& layout, qreal wrapWidthMm)
{
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(wrapWidthMm > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    const qreal lineWidth = wrapWidthMm > 0 ? wrapWidthMm * kUnitsPerMm : 1e9;
    qreal y = 0;
    qreal width = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
        width = std::max(width, line.naturalTextWidth());
    }
    layout.endLayout();
    return {width, y};
}

} // namespace

QSizeF measure(const QString& text, const QFont& font, qreal wrapWidthMm)
{
    QTextLayout layout(withLineSeparators(text), font, &referenceDevice());
    const QSizeF units = layOut(layout, wrapWidthMm);
    return units / kUnitsPerMm;
}

QFontMetricsF metrics(const QFont& font)
{
    return QFontMetricsF(font, &referenceDevice());
}

bool fitsOneLine(const QString& text, const QFontMetricsF& metrics, qreal wrapWidthMm)
{
    for (QChar c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator) return false;
    // A small margin leaves a text that only just fits to the full measurement.
    return metrics.horizontalAdvance(text) < wrapWidthMm * kUnitsPerMm * 0.98;
}

int lineBound(const QString& text, const QFontMetricsF& metrics, qreal wrapWidthMm)
{
    const qreal widest = 2 * metrics.maxWidth() / kUnitsPerMm;
    // Two lines in a row hold more than the wrap width, or the second would have fitted on the first.
    auto bound = [&](qsizetype chars) {
        return wrapWidthMm > 0 ? 2 * int(std::ceil(chars * widest / wrapWidthMm)) + 1 : 1;
    };
    int lines = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r') ||
            text[i] == QChar::LineSeparator) {
            lines += bound(i - start);
            start = i + 1;
        }
    return lines;
}

QStringList lines(const QString& text, const QFont& font, qreal wrapWidthMm)
{
    const QString laidOut = withLineSeparators(text);
    QTextLayout layout(laidOut, font, &referenceDevice());
    layOut(layout, wrapWidthMm);
    QStringList out;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        QString part = laidOut.mid(line.textStart(), line.textLength());
        if (part.endsWith(QChar::LineSeparator)) part.chop(1);
        out << part;
    }
    return out;
}

QString fitWidth(const QString& text, const QFont& font, qreal widthMm)
{
    const QFontMetricsF fm = metrics(font);
    const qreal room = widthMm * kUnitsPerMm;
    if (fm.horizontalAdvance(text) <= room) return text;
    qsizetype fits = 0, over = text.size(); // a beginning of FITS characters fits, of OVER does not
    while (over - fits > 1) {
        const qsizetype mid = (fits + over) / 2;
        if (fm.horizontalAdvance(text.left(mid)) <= room)
            fits = mid;
        else
            over = mid;
    }
    return text.left(fits);
}

void draw(QPainter& p, const QString& text, const QFont& font, const QRectF& boxMm, qreal wrapWidthMm)
{
    if (text.isEmpty()) return;
    QTextLayout layout(withLineSeparators(text), font, &referenceDevice());
    layOut(layout, wrapWidthMm);
    p.save();
    p.translate(boxMm.topLeft());
    p.scale(1 / kUnitsPerMm, 1 / kUnitsPerMm);
    p.setPen(Qt::black);
    layout.draw(&p, QPointF(0, 0));
    p.restore();
}

} // namespace cad::report::textblock
