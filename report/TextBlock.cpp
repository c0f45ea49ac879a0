#include "report/TextBlock.h"

#include <QImage>
#include <QPainter>
#include <QTextLayout>

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

void draw(QPainter& p, const QString& text, const QFont& font, const QRectF& boxMm, qreal wrapWidthMm)
{
    if (text.isEmpty())
        return;
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
