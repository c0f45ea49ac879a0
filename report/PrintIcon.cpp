#include "report/PrintIcon.h"

#include <QPainter>
#include <QPixmap>

namespace cad::report {

namespace {

// Drawn on a 32-unit grid and scaled, so every size is sharp.
QPixmap printer(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10)); // the sheet going in
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 3, 3); // the body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 19, 16, 10)); // the printed sheet
    p.setPen(QPen(QColor(60, 60, 60), 1));
    for (qreal y : {22.5, 25.5})
        p.drawLine(QPointF(11, y), QPointF(21, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 170, 60));
    p.drawEllipse(QPointF(25, 15), 1.5, 1.5); // the power light
    return pixmap;
}

} // namespace

QIcon printIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48})
        icon.addPixmap(printer(size));
    return icon;
}

} // namespace cad::report
