#include "report/ReportLayout.h"

#include "data/RecordSet.h"
#include "data/Values.h"
#include "report/TextBlock.h"

#include <cmath>
#include <stdexcept>

namespace cad::report {

namespace {

constexpr qreal kTolerance = 0.01; // mm: design sizes carry one decimal
constexpr qreal kGap = 1.0;        // mm left between a text cut short and the item after it

qreal lineHeightOf(const QFont& font)
{
    return textblock::measure(QStringLiteral("X"), font).height();
}

// The left of the nearest item that begins to the right of ITEM on ITEM's first line; 0 for
// none. A centred or stretching item keeps to its own width and needs none.
qreal rightBound(const Band& band, const ReportItem& item)
{
    if (item.centred || item.sizing == Sizing::Stretch) return 0;
    const QRectF box = item.boxMm;
    const qreal line = lineHeightOf(item.font);
    qreal right = 0;
    for (const ReportItem& other : band.items) {
        const QRectF o = other.boxMm;
        if (&other == &item || other.centred || o.left() <= box.left() + kTolerance) continue;
        if (o.top() >= box.top() + line - kTolerance ||
            o.top() + lineHeightOf(other.font) <= box.top() + kTolerance)
            continue;
        if (right == 0 || o.left() < right) right = o.left();
    }
    return right;
}

// How far across the band ITEM's text may reach.
std::pair<qreal, qreal> reachOf(const Band& band, const ReportItem& item)
{
    if (item.centred) return {0, band.sizeMm.width()};
    if (item.sizing == Sizing::Stretch) return {item.boxMm.left(), item.boxMm.right()};
    const qreal right = rightBound(band, item);
    return {item.boxMm.left(), right > 0 ? right : band.sizeMm.width()};
}

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

    std::vector<Slot>* page = nullptr;
    qreal y = 0;
    qreal bottom = 0;
    int lastRow = -1;
    const auto openPage = [&](int row) {
        page = &m_pages.emplace_back();
        y = area.top();
        lastRow = -1;
        if (header) {
            page->push_back({header, row < rows ? row : -1, y});
            y += heightOf(*header, page->back().row);
        }
        bottom = area.bottom() - (footer ? footer->sizeMm.height() : 0);
    };
    const auto closePage = [&] {
        if (footer) page->push_back({footer, lastRow, bottom});
    };

    openPage(0);
    for (int row = 0; row < rows; ++row) {
        const qreal h = heightOf(*detail, row);
        if (lastRow >= 0 && y + h > bottom + kTolerance) {
            closePage();
            openPage(row);
        }
        // A band taller than an empty page still gets a page of its own; texts that would run
        // off it continue on the next pages, by whole lines.
        const qreal texts = heightOf(*detail, row, false);
        qreal from = 0;
        while (y + texts - from > bottom + kTolerance) {
            const qreal to = cutAt(*detail, row, from, from + bottom - y);
            page->push_back({detail, row, y - from, from, to});
            lastRow = row;
            from = to;
            closePage();
            openPage(row);
        }
        page->push_back({detail, row, y - from, from});
        y += h - from;
        lastRow = row;
    }
    closePage();
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
        const qreal to = s.to >= 0 ? s.to : height;
        if (s.from > 0 || s.to >= 0) keepPart(texts, s.top, s.from, to);
        out.bands.push_back({s.band->kind, s.row,
                             QRectF(left, s.top + s.from, s.band->sizeMm.width(), to - s.from),
                             s.band->background});
        std::move(texts.begin(), texts.end(), std::back_inserter(out.texts));
    }
    return out;
}

void ReportLayout::keepPart(std::vector<PlacedText>& texts, qreal bandTop, qreal from, qreal to)
{
    std::vector<PlacedText> kept;
    for (PlacedText& t : texts) {
        const qreal top = t.rectMm.top() - bandTop;
        const qreal line = lineHeightOf(t.font);
        const QStringList lines = textblock::lines(t.text, t.font, t.wrapWidthMm);
        qsizetype first = -1, last = -1;
        for (qsizetype i = 0; i < std::max<qsizetype>(lines.size(), 1); ++i) {
            const qreal lineTop = top + qreal(i) * line;
            if (lineTop < from - kTolerance || lineTop + line > to + kTolerance) continue;
            if (first < 0) first = i;
            last = i;
        }
        if (first < 0) continue;
        if (first > 0 || last < lines.size() - 1) {
            t.text = lines.mid(first, last - first + 1).join(QLatin1Char('\n'));
            t.rectMm.moveTop(bandTop + top + qreal(first) * line);
            t.rectMm.setHeight(qreal(last - first + 1) * line);
        }
        kept.push_back(std::move(t));
    }
    texts = std::move(kept);
}

qreal ReportLayout::cutAt(const Band& band, int row, qreal from, qreal limit) const
{
    qreal cut = limit;
    for (const PlacedText& t : placeItems(band, row, QPointF(0, 0))) {
        if (t.rectMm.top() >= cut - kTolerance || t.rectMm.bottom() <= cut + kTolerance) continue;
        const qreal line = lineHeightOf(t.font);
        const qreal lineCut = t.rectMm.top() + std::floor((cut - t.rectMm.top() + kTolerance) / line) * line;
        if (lineCut > from + kTolerance) cut = std::min(cut, lineCut);
    }
    return cut;
}

std::vector<PlacedText> ReportLayout::placeItems(const Band& band, int row, const QPointF& origin) const
{
    const qreal bandWidth = band.sizeMm.width();
    std::vector<PlacedText> out;
    out.reserve(band.items.size());
    for (const ReportItem& item : band.items) {
        const ItemFacts& facts = factsOf(band, item);
        PlacedText t;
        t.band = band.kind;
        t.row = row;
        t.item = item.name;
        t.text = textOf(item, row);
        t.font = item.font;
        QRectF box = item.boxMm;
        if (facts.bounds.right > 0) {
            // Each of its lines is cut where the next item on the line begins.
            QStringList lines = textblock::lines(t.text, t.font);
            for (QString& line : lines)
                line = textblock::fitWidth(line, t.font, facts.bounds.right - kGap - box.left());
            t.text = lines.join(QLatin1Char('\n'));
        }
        if (item.sizing == Sizing::Stretch ||
            (facts.room > 0 && textblock::measure(t.text, t.font).width() > facts.room + kTolerance))
            t.wrapWidthMm = facts.room; // grows to the right, but wraps rather than leave the band
        if (facts.bounds.bottom > 0) {
            // No further down than the item under it.
            const int room = std::max(
                1, int(std::floor((facts.bounds.bottom - box.top() + kTolerance) / lineHeightOf(t.font))));
            const QStringList lines = textblock::lines(t.text, t.font, t.wrapWidthMm);
            if (lines.size() > room) t.text = lines.mid(0, room).join(QLatin1Char('\n'));
        }
        const QSizeF size = textblock::measure(t.text, t.font, t.wrapWidthMm);
        if (item.sizing == Sizing::Stretch) {
            box.setHeight(std::max(box.height(), size.height()));
        } else {
            box.setSize(size);
            if (item.centred) box.moveLeft((bandWidth - size.width()) / 2);
        }
        t.rectMm = box.translated(origin);
        out.push_back(std::move(t));
    }
    return out;
}

ReportLayout::Bounds ReportLayout::boundsOf(const Band& band, const ReportItem& item)
{
    Bounds b;
    b.right = rightBound(band, item);
    const auto [left, right] = reachOf(band, item);
    const qreal halfLine = lineHeightOf(item.font) / 2;
    for (const ReportItem& other : band.items) {
        if (&other == &item || other.boxMm.top() < item.boxMm.top() + halfLine) continue;
        const auto [otherLeft, otherRight] = reachOf(band, other);
        if (otherLeft >= right - kTolerance || otherRight <= left + kTolerance) continue;
        if (b.bottom == 0 || other.boxMm.top() < b.bottom) b.bottom = other.boxMm.top();
    }
    return b;
}

const ReportLayout::ItemFacts& ReportLayout::factsOf(const Band& band, const ReportItem& item) const
{
    auto known = m_facts.find(&item);
    if (known == m_facts.end()) {
        const Bounds bounds = boundsOf(band, item);
        qreal room = 0; // a text cut at the next item wraps only at its own line breaks
        if (item.sizing == Sizing::Stretch)
            room = item.boxMm.width();
        else if (item.centred)
            room = band.sizeMm.width();
        else if (bounds.right == 0)
            room = band.sizeMm.width() - item.boxMm.left();
        const QString sample = item.isField() ? QStringLiteral("X") : item.text;
        known = m_facts.insert(&item, ItemFacts{textblock::measure(sample, item.font, room).height(), room,
                                                bounds, item.isField() ? columnOf(item) : -1,
                                                textblock::metrics(item.font)});
    }
    return *known;
}

// The same heights placeItems() arrives at, without laying out every row's texts: paginating
// thousands of rows measures only values that take more than one line.
qreal ReportLayout::heightOf(const Band& band, int row, bool design)
{
    qreal height = design ? band.sizeMm.height() : 0;
    for (const ReportItem& item : band.items) {
        const ItemFacts& facts = factsOf(band, item);
        // A text that stops at an item under it reaches no further than that item does.
        if (facts.bounds.bottom > 0) continue;
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
