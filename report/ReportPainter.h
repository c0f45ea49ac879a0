#pragma once
#include "report/ReportLayout.h"

#include <QImage>

class QPainter;
class QPrinter;

/// Draws laid-out pages on any device: the preview, a printer, a PDF file, an image.
namespace cad::report {

/// Paints page PAGE of LAYOUT on P, whose device holds the paper from its top-left corner at
/// PXPERMM device pixels per millimetre.
void paintPage(QPainter& p, const ReportLayout& layout, int page, qreal pxPerMm);

/// Makes PRINTER print whole pages (origin at the paper's corner) of the report's paper.
void setUpPrinter(QPrinter& printer, const PageSetup& page);

/// Prints LAYOUT on PRINTER (set up with setUpPrinter): the printer's page range, and as many
/// copies as it asks for when it cannot make them itself. Throws when printing cannot start.
void print(const ReportLayout& layout, QPrinter& printer);

/// Writes every page of LAYOUT to the PDF file PATH; throws when the file cannot be written.
void exportPdf(const ReportLayout& layout, const QString& path);

/// Page PAGE of LAYOUT as a white image at DPI dots per inch.
[[nodiscard]] QImage renderPage(const ReportLayout& layout, int page, qreal dpi);

} // namespace cad::report
