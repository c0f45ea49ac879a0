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
        if (t.item == item) out.push_back(&t);
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
            if (lastRow >= 0 && y + h > bottom + kTolerance) break;
            page.push_back({detail, row, y});
            y += h;
            lastRow = row;
        }
        if (footer) page.push_back({footer, lastRow, bottom});
    } while (row < rows);
}

PageContent ReportLayout::content(int page) const
{
    if (page < 0 || page >= pageCount()) throw std::out_of_range("página inexistente");
    const qreal left = m_report.page.printableMm().left();
    PageContent out;
    for (const Slot& s : m_pages[size_t(page)]) {
        std::vector<PlacedText> texts = placeItems(*s.band, s.row, QPointF(left, s.top));
        qreal height = s.band->sizeMm.height();
        for (const PlacedText& t : texts)
            height = std::max(height, t.rectMm.bottom() - s.top);
        out.bands.push_back(
            {s.band->kind, s.row, QRectF(left, s.top, s.band->sizeMm.width(), height), s.band->background});
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
            const qreal room = wrapRoom(band, item);
            QSizeF size = textblock::measure(t.text, t.font);
            if (size.width() > room + kTolerance) {
                t.wrapWidthMm = room;
                size = textblock::measure(t.text, t.font, room);
            }
            box.setSize(size);
            if (item.centred) box.moveLeft((bandWidth - size.width()) / 2);
        }
        t.rectMm = box.translated(origin);
        out.push_back(std::move(t));
    }
    return out;
}

qreal ReportLayout::wrapRoom(const Band& band, const ReportItem& item)
{
    if (item.sizing == Sizing::Stretch) return item.boxMm.width();
    return item.centred ? band.sizeMm.width() : band.sizeMm.width() - item.boxMm.left();
}

const ReportLayout::ItemFacts& ReportLayout::factsOf(const Band& band, const ReportItem& item)
{
    auto known = m_facts.find(&item);
    if (known == m_facts.end()) {
        const qreal room = wrapRoom(band, item);
        const QString sample = item.isField() ? QStringLiteral("X") : item.text;
        known = m_facts.insert(&item, ItemFacts{textblock::measure(sample, item.font, room).height(), room,
                                                item.isField() ? columnOf(item) : -1,
                                                textblock::metrics(item.font)});
    }
    return *known;
}

// The same heights placeItems() arrives at, without laying out every row's texts: paginating
// thousands of rows measures only values that take more than one line.
qreal ReportLayout::heightOf(const Band& band, int row)
{
    qreal height = band.sizeMm.height();
    for (const ReportItem& item : band.items) {
        const ItemFacts& facts = factsOf(band, item);
        height = std::max(height, item.boxMm.top() + std::max(item.boxMm.height(), facts.height));
        if (facts.column < 0 || row < 0) continue;
        const QString text = valueText(facts.column, row);
        // Most values cannot reach the band's bottom however they wrap: those are not measured.
        if (item.boxMm.top() + facts.height * textblock::lineBound(text, facts.metrics, facts.room) <= height)
            continue;
        if (!textblock::fitsOneLine(text, facts.metrics, facts.room))
            height =
                std::max(height, item.boxMm.top() + textblock::measure(text, item.font, facts.room).height());
    }
    return height;
}

QString ReportLayout::textOf(const ReportItem& item, int row) const
{
    if (!item.isField()) return item.text;
    const int column = columnOf(item);
    return column < 0 || row < 0 ? QString() : valueText(column, row);
}

int ReportLayout::columnOf(const ReportItem& item) const
{
    const RecordSet* data = m_report.dataSource();
    if (!data) return -1;
    const int column = data->fieldIndex(item.field);
    if (column < 0)
        throw std::runtime_error(QStringLiteral("O relatório mostra o campo %1, que a consulta não traz")
                                     .arg(item.field)
                                     .toStdString());
    return column;
}

QString ReportLayout::valueText(int column, int row) const
{
    return values::display(m_report.dataSource()->valueAt(row, column));
}

} // namespace cad::report
