#include "report/ReportPainter.h"

#include "report/TextBlock.h"

#include <QPainter>
#include <QPrinter>
#include <stdexcept>

namespace cad::report {

namespace {

constexpr qreal kMmPerInch = 25.4;
constexpr qreal kFrameWidthMm = 0.2;

/// The 0-based pages the printer was asked for, in order.
std::vector<int> pagesToPrint(const QPrinter& printer, int pageCount)
{
    const QPageRanges ranges =
        printer.printRange() == QPrinter::AllPages ? QPageRanges() : printer.pageRanges();
    std::vector<int> out;
    for (int i = 0; i < pageCount; ++i)
        if (ranges.isEmpty() || ranges.contains(i + 1)) out.push_back(i);
    return out;
}

} // namespace

void paintPage(QPainter& p, const ReportLayout& layout, int page, qreal pxPerMm)
{
    const PageContent content = layout.content(page);
    p.save();
    p.scale(pxPerMm, pxPerMm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const PlacedBand& b : content.bands)
        p.fillRect(b.rectMm, b.background);
    if (layout.page().frame) {
        p.setPen(QPen(Qt::black, std::max(kFrameWidthMm, 1 / pxPerMm))); // at least a pixel on screen
        p.setBrush(Qt::NoBrush);
        p.drawRect(layout.page().printableMm());
    }
    for (const PlacedText& t : content.texts)
        textblock::draw(p, t.text, t.font, t.rectMm, t.wrapWidthMm);
    p.restore();
}

void setUpPrinter(QPrinter& printer, const PageSetup& page)
{
    printer.setFullPage(true);
    printer.setPageLayout(page.pageLayout());
}

void print(const ReportLayout& layout, QPrinter& printer)
{
    const std::vector<int> pages = pagesToPrint(printer, layout.pageCount());
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter p;
    if (!p.begin(&printer))
        throw std::runtime_error(printer.outputFileName().isEmpty()
                                     ? std::string("Não foi possível iniciar a impressão")
                                     : QStringLiteral("Não foi possível gravar o arquivo %1")
                                           .arg(printer.outputFileName())
                                           .toStdString());
    const qreal pxPerMm = printer.resolution() / kMmPerInch;
    bool first = true;
    for (int copy = 0; copy < copies; ++copy)
        for (int page : pages) {
            if (!first && !printer.newPage()) throw std::runtime_error("A impressão foi interrompida");
            first = false;
            paintPage(p, layout, page, pxPerMm);
        }
    if (!p.end()) throw std::runtime_error("A impressão não foi concluída");
}

void exportPdf(const ReportLayout& layout, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    setUpPrinter(printer, layout.page());
    print(layout, printer);
}

QImage renderPage(const ReportLayout& layout, int page, qreal dpi)
{
    const qreal pxPerMm = dpi / kMmPerInch;
    const QSizeF paper = layout.page().paperMm() * pxPerMm;
    QImage image(paper.toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter p(&image);
    paintPage(p, layout, page, pxPerMm);
    return image;
}

} // namespace cad::report
