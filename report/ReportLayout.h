#pragma once
#include "report/ReportDefinition.h"

#include <QFontMetricsF>
#include <QHash>
#include <vector>

namespace cad::report {

/// A band as placed on a page; ROW is the data row it shows (-1 for none).
struct PlacedBand
{
    BandKind kind = BandKind::Detail;
    int row = -1;
    QRectF rectMm; ///< on the paper, from its top-left corner
    QColor background;
};

/// An item's text as placed on a page.
struct PlacedText
{
    BandKind band = BandKind::Detail;
    int row = -1;
    QString item; ///< the item's name
    QString text;
    QRectF rectMm; ///< on the paper, from its top-left corner
    QFont font;
    qreal wrapWidthMm = 0; ///< width the text wraps at; 0 when only its own line breaks count
};

/// What one page holds.
struct PageContent
{
    std::vector<PlacedBand> bands;
    std::vector<PlacedText> texts;

    /// Texts of the item named ITEM, in the order placed.
    [[nodiscard]] std::vector<const PlacedText*> textsOf(const QString& item) const;
};

/// The report's pages: which bands fall on which page is worked out at once, what a page holds
/// when it is asked for. The report and its data source must outlive the layout unchanged.
class ReportLayout
{
public:
    /// Paginates REPORT: page header on top of every page, footer at the bottom, the detail band
    /// once per row, a new page when a band does not fit. Always at least one page.
    explicit ReportLayout(const Report& report);

    [[nodiscard]] int pageCount() const { return int(m_pages.size()); }
    [[nodiscard]] const PageSetup& page() const { return m_report.page; }
    /// Contents of page PAGE (0-based); throws std::out_of_range for a page that does not exist.
    [[nodiscard]] PageContent content(int page) const;

private:
    /// A band on a page; a band whose texts run past the page shows the part from FROM to TO (band
    /// millimetres) here and the rest on the next pages.
    struct Slot
    {
        const Band* band;
        int row;
        qreal top;
        qreal from = 0;
        qreal to = -1; ///< -1: the whole band
    };
    /// Where an item's text must stop so it never covers another item: the left of the nearest
    /// item to its right on its line, the top of the nearest item under it (0: none).
    struct Bounds
    {
        qreal right = 0;
        qreal bottom = 0;
    };
    [[nodiscard]] static Bounds boundsOf(const Band& band, const ReportItem& item);
    [[nodiscard]] std::vector<PlacedText> placeItems(const Band& band, int row, const QPointF& origin) const;
    /// The band's height for ROW; with DESIGN false only as far as its texts reach.
    [[nodiscard]] qreal heightOf(const Band& band, int row, bool design = true);
    /// Where a page that holds the band's part from FROM and has room to LIMIT ends it: before the
    /// first line of text that does not fit whole.
    [[nodiscard]] qreal cutAt(const Band& band, int row, qreal from, qreal limit) const;
    /// TEXTS as far as they fall within FROM to TO of a band placed at BANDTOP, by whole lines.
    static void keepPart(std::vector<PlacedText>& texts, qreal bandTop, qreal from, qreal to);
    [[nodiscard]] QString textOf(const ReportItem& item, int row) const;
    [[nodiscard]] QString valueText(int column, int row) const;

    const Report& m_report;
    std::vector<std::vector<Slot>> m_pages;
    /// What paginating needs of an item, worked out once.
    struct ItemFacts
    {
        qreal height; ///< a caption's height, or a value's when it takes one line
        qreal room;   ///< width its text wraps at (0: only at its own line breaks)
        Bounds bounds;
        int column; ///< a value's column, -1 for a caption
        QFontMetricsF metrics;
    };
    [[nodiscard]] const ItemFacts& factsOf(const Band& band, const ReportItem& item) const;
    [[nodiscard]] int columnOf(const ReportItem& item) const;
    mutable QHash<const ReportItem*, ItemFacts> m_facts;
};

} // namespace cad::report
