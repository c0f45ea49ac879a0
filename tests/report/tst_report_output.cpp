// The report engine's output: pages painted on an image, printed to PDF with a page range and
// copies, and the preview window paging, printing, saving and closing.
#include "app/ui/Dialogs.h"
#include "data/RecordSet.h"
#include "report/PageView.h"
#include "report/ReportPainter.h"
#include "report/ReportPreview.h"
#include "tests/report/PdfPages.h"
#include "tests/support/TestDb.h"
#include "tests/support/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

using namespace cad;
using namespace cad::report;
using testsupport::control;
using testsupport::Role;

namespace {

bool isInked(QRgb c)
{
    return qGray(c) < 200;
}

/// Inked pixels of IMAGE inside RECTMM (at DPI).
int darkPixels(const QImage& image, const QRectF& rectMm, qreal dpi)
{
    const QRect r = QRectF(rectMm.topLeft() * dpi / 25.4, rectMm.size() * dpi / 25.4).toAlignedRect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += isInked(image.pixel(x, y));
    return n;
}

} // namespace

class ReportOutputTest : public QObject
{
    Q_OBJECT
    testsupport::TestDatabase m_db{Role::Local, QStringLiteral("rpo")};
    std::unique_ptr<Connection> m_conn = m_db.connection(QStringLiteral("local"));
    std::unique_ptr<RecordSet> m_data;
    Report m_report;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('CARLOS'), ('ANA'), ('BRUNO')"));
        m_data =
            std::make_unique<RecordSet>(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome"));
        m_data->open();
        m_report.page.frame = true;
        m_report.setDataSource(m_data.get());
        m_report.addBand(BandKind::Detail, {190, 200})
            .addField(QStringLiteral("nome"), QStringLiteral("Nome"), {20, 30, 10, 0},
                      reportFont(QStringLiteral("Arial"), 28));
    }
    void cleanup()
    {
        dialogs::setSaveResponder({});
        dialogs::setPrintResponder({});
    }

    void paintsFrameAndTexts()
    {
        const qreal dpi = 72;
        const ReportLayout layout(m_report);
        const QImage page = renderPage(layout, 0, dpi);
        QCOMPARE(page.size(), QSize(595, 842)); // A4 at 72 dpi
        // The frame: a line along the 10 mm margins, white paper on either side of it.
        QVERIFY(darkPixels(page, {9.7, 100, 0.6, 20}, dpi) > 0);
        QVERIFY(darkPixels(page, {199.7, 100, 0.6, 20}, dpi) > 0);
        QCOMPARE(darkPixels(page, {2, 100, 6, 20}, dpi), 0);
        QCOMPARE(darkPixels(page, {12, 100, 6, 20}, dpi), 0);
        // The name where the layout placed it, and nothing where no text is.
        const QRectF name = layout.content(0).textsOf(QStringLiteral("nome")).at(0)->rectMm;
        QVERIFY(darkPixels(page, name, dpi) > 20);
        QCOMPARE(darkPixels(page, name.translated(0, 40), dpi), 0);

        m_report.page.frame = false;
        const QImage bare = renderPage(ReportLayout(m_report), 0, dpi);
        m_report.page.frame = true;
        QCOMPARE(darkPixels(bare, {9.7, 100, 0.6, 20}, dpi), 0);
    }

    void printsRangesAndCopies_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages");
        QTest::newRow("every page") << QString() << 1 << 3;
        QTest::newRow("pages 2 to 3") << QStringLiteral("2-3") << 1 << 2;
        QTest::newRow("page 1, two copies") << QStringLiteral("1") << 2 << 2;
        QTest::newRow("every page, two copies") << QString() << 2 << 6;
    }
    void printsRangesAndCopies()
    {
        QFETCH(QString, range);
        QFETCH(int, copies);
        QFETCH(int, pages);
        const QString path =
            m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        setUpPrinter(printer, m_report.page);
        if (!range.isEmpty()) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setPageRanges(QPageRanges::fromString(range));
        }
        printer.setCopyCount(copies);
        print(ReportLayout(m_report), printer);
        QCOMPARE(testsupport::pdfPageCount(path), pages);
    }

    void pdfToAFolderThatDoesNotExistFails()
    {
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            exportPdf(ReportLayout(m_report), m_dir.filePath(QStringLiteral("nao/existe.pdf"))));
    }

    void previewPagesAndCloses()
    {
        const ReportLayout layout(m_report);
        ReportPreview preview(layout, QStringLiteral("Relatório"));
        QStringList seen;
        bool paperShown = false;
        bool printIconOwn = false;
        testsupport::ModalAnswer<ReportPreview> answer([&](ReportPreview& shown) {
            auto* label = control<QLabel>(shown, QStringLiteral("lblPagina"));
            auto* next = control<QAction>(shown, QStringLiteral("actProxima"));
            auto* prior = control<QAction>(shown, QStringLiteral("actAnterior"));
            seen << label->text() + (prior->isEnabled() ? QStringLiteral(" <") : QString());
            next->trigger();
            seen << label->text();
            control<QAction>(shown, QStringLiteral("actUltima"))->trigger();
            seen << label->text() + (next->isEnabled() ? QStringLiteral(" >") : QString());
            // The page is drawn on white paper, fitted inside the window.
            auto* view = shown.findChild<PageView*>();
            const QImage grabbed = view->grab().toImage();
            const QRectF paper = view->paperRect();
            paperShown = QRectF(view->rect()).contains(paper) &&
                         grabbed.pixelColor(paper.center().toPoint()) == Qt::white;
            // "Imprimir" shows a printer, not the style's save icon, when the theme has none.
            const QImage printIcon =
                control<QAction>(shown, QStringLiteral("actImprimir"))->icon().pixmap(32).toImage();
            printIconOwn =
                !printIcon.isNull() &&
                printIcon != shown.style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(32).toImage();
            control<QAction>(shown, QStringLiteral("actFechar"))->trigger();
        });
        preview.exec();
        QCOMPARE(seen, (QStringList{QStringLiteral("Página 1 de 3"), QStringLiteral("Página 2 de 3"),
                                    QStringLiteral("Página 3 de 3")}));
        QVERIFY(paperShown);
        QVERIFY(printIconOwn);
        QVERIFY(!preview.isMaximized());
        QVERIFY(preview.isHidden());
    }

    void previewSavesPdf()
    {
        const ReportLayout layout(m_report);
        ReportPreview preview(layout, QStringLiteral("Relatório"));
        const QString path = m_dir.filePath(QStringLiteral("salvo")); // ".pdf" is added
        dialogs::SaveRequest asked;
        dialogs::setSaveResponder([&](const dialogs::SaveRequest& r) {
            asked = r;
            return path;
        });
        preview.exportToPdf();
        QCOMPARE(asked.title, QStringLiteral("Salvar PDF"));
        QCOMPARE(asked.suggestedName, QStringLiteral("Relatório.pdf"));
        QCOMPARE(testsupport::pdfPageCount(path + QStringLiteral(".pdf")), 3);

        // Cancelling the dialog writes nothing.
        QFile::remove(path + QStringLiteral(".pdf"));
        dialogs::setSaveResponder([](const dialogs::SaveRequest&) { return QString(); });
        preview.exportToPdf();
        QVERIFY(!QFile::exists(path + QStringLiteral(".pdf")));
    }

    void previewPrintsChosenPages_data()
    {
        QTest::addColumn<bool>("currentOnly");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("pages");
        QTest::newRow("all pages") << false << true << 3;
        QTest::newRow("current page") << true << true << 1;
        QTest::newRow("cancelled") << false << false << 0;
    }
    void previewPrintsChosenPages()
    {
        QFETCH(bool, currentOnly);
        QFETCH(bool, accepted);
        QFETCH(int, pages);
        const ReportLayout layout(m_report);
        ReportPreview preview(layout, QStringLiteral("Relatório"));
        preview.showPage(1);
        const QString path = m_dir.filePath(QStringLiteral("impresso-%1.pdf").arg(QTest::currentDataTag()));
        int offered = 0;
        dialogs::setPrintResponder([&](QPrinter& printer, int pageCount) {
            offered = pageCount;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            if (currentOnly) printer.setPrintRange(QPrinter::CurrentPage);
            return accepted;
        });
        preview.printPages();
        QCOMPARE(offered, 3);
        if (pages == 0)
            QVERIFY(!QFile::exists(path));
        else
            QCOMPARE(testsupport::pdfPageCount(path), pages);
    }
};

QTEST_MAIN(ReportOutputTest)
#include "tst_report_output.moc"
