#include "report/ReportLayout.h"

#include "data/RecordSet.h"
#include "data/Values.h"
#include "report/TextBlock.h"

#include <stdexcept>

namespace cad::report {

namespace {

constexpr qreal kTolerance = 0.01; // mm: design sizes carry one decimal

} // namespace

std::vector<const PlacedText*> PageContent::textsOf(const QString& item) const
{
    std::vector<const PlacedText*> out;
    for (const PlacedText& t : texts)
        if (t.item == item)
            out.push_back(&t);
    return out;
}

ReportLayout::ReportLayout(const Report& report) : m_report(report)
{
    const QRectF area = report.page.printableMm();
    const Band* header = report.band(BandKind::PageHeader);
    const Band* detail = report.band(BandKind::Detail);
    const Band* footer = report.band(BandKind::PageFooter);
    const RecordSet* data = report.dataSource();
    const int rows = !detail ? 0 : data ? data->rowCount() : 1;

    int row = 0;
    do {
        std::vector<Slot>& page = m_pages.emplace_back();
        qreal y = area.top();
        if (header) {
            page.push_back({header, row < rows ? row : -1, y});
            y += heightOf(*header, page.back().row);
        }
        const qreal bottom = area.bottom() - (footer ? footer->sizeMm.height() : 0);
        int lastRow = -1;
        for (; row < rows; ++row) {
            const qreal h = heightOf(*detail, row);
            // A band taller than an empty page still gets a page of its own.
            if (lastRow >= 0 && y + h > bottom + kTolerance)
                break;
            page.push_back({detail, row, y});
            y += h;
            lastRow = row;
        }
        if (footer)
            page.push_back({footer, lastRow, bottom});
    } while (row < rows);
}

PageContent ReportLayout::content(int page) const
{
    if (page < 0 || page >= pageCount())
        throw std::out_of_range("página inexistente");
    const qreal left = m_report.page.printableMm().left();
    PageContent out;
    for (const Slot& s : m_pages[size_t(page)]) {
        std::vector<PlacedText> texts = placeItems(*s.band, s.row, QPointF(left, s.top));
        qreal height = s.band->sizeMm.height();
        for (const PlacedText& t : texts)
            height = std::max(height, t.rectMm.bottom() - s.top);
        out.bands.push_back({s.band->kind, s.row, QRectF(left, s.top, s.band->sizeMm.width(), height),
                             s.band->background});
        std::move(texts.begin(), texts.end(), std::back_inserter(out.texts));
    }
    return out;
}

std::vector<PlacedText> ReportLayout::placeItems(const Band& band, int row, const QPointF& origin) const
{
    const qreal bandWidth = band.sizeMm.width();
    std::vector<PlacedText> out;
    out.reserve(band.items.size());
    for (const ReportItem& item : band.items) {
        PlacedText t;
        t.band = band.kind;
        t.row = row;
        t.item = item.name;
        t.text = textOf(item, row);
        t.font = item.font;
        QRectF box = item.boxMm;
        if (item.sizing == Sizing::Stretch) {
            t.wrapWidthMm = box.width();
            box.setHeight(std::max(box.height(), textblock::measure(t.text, t.font, t.wrapWidthMm).height()));
        } else {
            // Grows to the right, but wraps rather than leave the band (and the paper).
            const qreal room = item.centred ? bandWidth : bandWidth - box.left();
            QSizeF size = textblock::measure(t.text, t.font);
            if (size.width() > room + kTolerance) {
                t.wrapWidthMm = room;
                size = textblock::measure(t.text, t.font, room);
            }
            box.setSize(size);
            if (item.centred)
                box.moveLeft((bandWidth - size.width()) / 2);
        }
        t.rectMm = box.translated(origin);
        out.push_back(std::move(t));
    }
    return out;
}

qreal ReportLayout::heightOf(const Band& band, int row) const
{
    qreal height = band.sizeMm.height();
    for (const PlacedText& t : placeItems(band, row, QPointF(0, 0)))
        height = std::max(height, t.rectMm.bottom());
    return height;
}

QString ReportLayout::textOf(const ReportItem& item, int row) const
{
    if (!item.isField())
        return item.text;
    const RecordSet* data = m_report.dataSource();
    if (!data || row < 0)
        return {};
    const int column = data->fieldIndex(item.field);
    if (column < 0)
        throw std::runtime_error(
            QStringLiteral("O relatório mostra o campo %1, que a consulta não traz").arg(item.field).toStdString());
    return values::display(data->valueAt(row, column));
}

} // namespace cad::report
