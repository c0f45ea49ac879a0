#include "report/ReportDefinition.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <stdexcept>

namespace cad::report {

QSizeF PageSetup::paperMm() const
{
    const QSizeF portrait = QPageSize::size(paper, QPageSize::Millimeter);
    return orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

QRectF PageSetup::printableMm() const
{
    const QSizeF p = paperMm();
    return QRectF(QPointF(0, 0), p).marginsRemoved(marginsMm);
}

QPageLayout PageSetup::pageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(), QPageLayout::Millimeter);
}

namespace {

ReportItem& addItem(std::vector<ReportItem>& items, const QString& name, const QRectF& boxMm,
                    const QFont& font)
{
    ReportItem& i = items.emplace_back();
    i.name = name;
    i.boxMm = boxMm;
    i.font = font;
    return i;
}

} // namespace

ReportItem& Band::addCaption(const QString& name, const QString& text, const QRectF& boxMm, const QFont& font)
{
    ReportItem& i = addItem(items, name, boxMm, font);
    i.text = text;
    return i;
}

ReportItem& Band::addField(const QString& name, const QString& field, const QRectF& boxMm, const QFont& font)
{
    ReportItem& i = addItem(items, name, boxMm, font);
    i.field = field;
    return i;
}

Band& Report::addBand(BandKind kind, const QSizeF& sizeMm)
{
    Band& b = m_bands.emplace_back();
    b.kind = kind;
    b.sizeMm = sizeMm;
    return b;
}

const Band* Report::band(BandKind kind) const
{
    for (const Band& b : m_bands)
        if (b.kind == kind) return &b;
    return nullptr;
}

ReportItem& Report::item(const QString& name)
{
    for (Band& b : m_bands)
        for (ReportItem& i : b.items)
            if (i.name == name) return i;
    throw std::runtime_error(QStringLiteral("O relatório não tem o item %1").arg(name).toStdString());
}

namespace {

// Debian keeps Wine's metric-compatible Tahoma (package fonts-wine) outside the fonts the system
// lists; forms name Tahoma, so it is added to the program's fonts when the system has none.
void addMissingFaces()
{
    static bool done = false;
    if (done || !qGuiApp) return; // fonts can only be added once the application exists
    done = true;
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

} // namespace

QFont reportFont(const QString& family, qreal points, bool bold)
{
    addMissingFaces();
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

} // namespace cad::report
