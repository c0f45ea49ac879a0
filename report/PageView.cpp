#include "report/PageView.h"

#include "core/ErrorSink.h"
#include "report/ReportPainter.h"

#include <QPainter>

namespace cad::report {

namespace {
constexpr int kDeskMarginPx = 12;
}

PageView::PageView(const ReportLayout& layout, QWidget* parent) : QWidget(parent), m_layout(layout)
{
    setMinimumSize(200, 260);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(pal);
}

void PageView::setPage(int page)
{
    m_page = std::clamp(page, 0, m_layout.pageCount() - 1);
    update();
}

QRectF PageView::paperRect() const
{
    const QSizeF paper = m_layout.page().paperMm();
    const QRectF room = QRectF(rect()).adjusted(kDeskMarginPx, kDeskMarginPx, -kDeskMarginPx, -kDeskMarginPx);
    const qreal scale =
        std::max(0.01, std::min(room.width() / paper.width(), room.height() / paper.height()));
    QRectF r(QPointF(0, 0), paper * scale);
    r.moveCenter(room.center());
    return r;
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF paper = paperRect();
    p.fillRect(paper.translated(3, 3), QColor(0x40, 0x40, 0x40));
    p.fillRect(paper, Qt::white);
    p.translate(paper.topLeft());
    // Paginating already read every value, so this is not expected to fail; never into the event loop.
    guarded([&] { paintPage(p, m_layout, m_page, paper.width() / m_layout.page().paperMm().width()); });
}

} // namespace cad::report
