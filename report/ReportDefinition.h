#pragma once
#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <deque>
#include <vector>

namespace cad {
class RecordSet;
}

namespace cad::report {

/// Paper, orientation and margins of a report's pages, in millimetres.
struct PageSetup
{
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{10, 10, 10, 10};
    bool frame = false; ///< a thin black line around the printable area of every page

    [[nodiscard]] QSizeF paperMm() const;
    [[nodiscard]] QRectF printableMm() const;
    [[nodiscard]] QPageLayout pageLayout() const; ///< the same page for a printer, without margins
};

enum class BandKind
{
    PageHeader,
    Detail,
    PageFooter
};

/// How an item's box follows its text.
enum class Sizing
{
    AutoSize, ///< grows to the right as the text needs (wrapping only at the band's right edge)
    Stretch   ///< keeps the design width, wraps and grows downward
};

/// A text placed on a band: fixed (a caption) or taken from a column of the current row.
struct ReportItem
{
    QString name;  ///< to find the item at run time
    QString text;  ///< the fixed text (captions)
    QString field; ///< the column shown; empty for a caption
    QRectF boxMm;  ///< design box from the band's top-left corner
    QFont font;
    Sizing sizing = Sizing::AutoSize;
    bool centred = false; ///< centred across the band instead of at boxMm.left()

    [[nodiscard]] bool isField() const { return !field.isEmpty(); }
};

/// A horizontal strip of the page with its items; a detail band repeats once per row.
struct Band
{
    BandKind kind = BandKind::Detail;
    QSizeF sizeMm;
    QColor background = Qt::white;
    std::vector<ReportItem> items;

    ReportItem& addCaption(const QString& name, const QString& text, const QRectF& boxMm, const QFont& font);
    ReportItem& addField(const QString& name, const QString& field, const QRectF& boxMm, const QFont& font);
};

/// A report form: page description, bands and the record set whose rows the detail band repeats.
class Report
{
public:
    PageSetup page;

    Band& addBand(BandKind kind, const QSizeF& sizeMm);
    /// The band of KIND, or nullptr when the report has none.
    [[nodiscard]] const Band* band(BandKind kind) const;

    /// Rows of DATA feed the detail band (read in place, the cursor does not move); without a
    /// data source the detail band prints once.
    void setDataSource(const RecordSet* data) { m_data = data; }
    [[nodiscard]] const RecordSet* dataSource() const { return m_data; }

    /// The item named NAME on any band; throws std::runtime_error when there is none.
    [[nodiscard]] ReportItem& item(const QString& name);
    [[nodiscard]] const ReportItem& item(const QString& name) const
    {
        return const_cast<Report*>(this)->item(name);
    }
    /// Changes a caption's text at run time.
    void setText(const QString& itemName, const QString& text) { item(itemName).text = text; }

private:
    std::deque<Band> m_bands; // items keep their addresses as bands are added
    const RecordSet* m_data = nullptr;
};

/// A font of FAMILY at POINTS, laid out without hinting so every device places text alike.
[[nodiscard]] QFont reportFont(const QString& family, qreal points, bool bold = false);

} // namespace cad::report
