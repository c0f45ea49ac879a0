// The report engine's layout over the real local server: pagination with page header and footer,
// items that grow to the right or downward, values of the rows in order, run-time texts.
#include "data/RecordSet.h"
#include "report/ReportLayout.h"
#include "tests/support/TestDb.h"

#include <QtTest>

using namespace cad;
using namespace cad::report;
using testsupport::Role;

namespace {

const QFont kFont = reportFont(QStringLiteral("Arial"), 14);

qreal lineHeight()
{
    Report r;
    r.addBand(BandKind::Detail, {190, 20})
        .addCaption(QStringLiteral("x"), QStringLiteral("X"), {0, 0, 10, 0}, kFont);
    return ReportLayout(r).content(0).texts.at(0).rectMm.height();
}

} // namespace

class ReportLayoutTest : public QObject
{
    Q_OBJECT
    testsupport::TestDatabase m_db{Role::Local, QStringLiteral("rpt")};
    std::unique_ptr<Connection> m_conn = m_db.connection(QStringLiteral("local"));

    void insertSuppliers(int count)
    {
        m_db.sql(QStringLiteral("DELETE FROM fornecedor"));
        for (int i = count; i >= 1; --i) // stored in reverse, read back by name
            m_db.sql(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('NOME %1')")
                         .arg(i, 2, 10, QLatin1Char('0')));
    }
    std::unique_ptr<RecordSet> openSuppliers()
    {
        auto rs =
            std::make_unique<RecordSet>(*m_conn, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome"));
        rs->open();
        return rs;
    }

private Q_SLOTS:
    void pagination_data()
    {
        QTest::addColumn<qreal>("detail");
        QTest::addColumn<qreal>("header");
        QTest::addColumn<qreal>("footer");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsPerPage");
        QTest::newRow("one band per page") << 275.5 << 0.0 << 0.0 << 3 << QList<int>{1, 1, 1};
        QTest::newRow("two per page, one left") << 100.0 << 0.0 << 0.0 << 5 << QList<int>{2, 2, 1};
        QTest::newRow("exactly two fill a page") << 138.5 << 0.0 << 0.0 << 4 << QList<int>{2, 2};
        QTest::newRow("header and footer take room") << 100.0 << 40.0 << 40.0 << 3 << QList<int>{1, 1, 1};
        QTest::newRow("taller than a page") << 300.0 << 0.0 << 0.0 << 2 << QList<int>{1, 1};
        QTest::newRow("no rows: one empty page") << 100.0 << 20.0 << 20.0 << 0 << QList<int>{0};
    }
    void pagination()
    {
        QFETCH(qreal, detail);
        QFETCH(qreal, header);
        QFETCH(qreal, footer);
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsPerPage);
        insertSuppliers(rows);
        auto data = openSuppliers();
        Report r;
        r.setDataSource(data.get());
        if (header > 0) r.addBand(BandKind::PageHeader, {190, header});
        r.addBand(BandKind::Detail, {190, detail})
            .addField(QStringLiteral("nome"), QStringLiteral("Nome"), {5, 5, 20, 0}, kFont);
        if (footer > 0) r.addBand(BandKind::PageFooter, {190, footer});

        const ReportLayout layout(r);
        QCOMPARE(layout.pageCount(), rowsPerPage.size());
        int row = 0;
        for (int p = 0; p < layout.pageCount(); ++p) {
            const PageContent c = layout.content(p);
            QList<int> detailRows;
            for (const PlacedBand& b : c.bands) {
                if (b.kind == BandKind::Detail) detailRows << b.row;
                if (b.kind == BandKind::PageHeader) QCOMPARE(b.rectMm.top(), 10.0);
                if (b.kind == BandKind::PageFooter) QCOMPARE(b.rectMm.bottom(), 287.0);
            }
            QCOMPARE(detailRows.size(), rowsPerPage[p]);
            for (int i = 0; i < detailRows.size(); ++i, ++row) {
                QCOMPARE(detailRows[i], row);
                const PlacedText* name = c.textsOf(QStringLiteral("nome")).at(size_t(i));
                QCOMPARE(name->text, QStringLiteral("NOME %1").arg(row + 1, 2, 10, QLatin1Char('0')));
                QCOMPARE(name->rectMm.top(), 10 + header + i * detail + 5);
            }
            QCOMPARE(int(c.bands.size()), rowsPerPage[p] + (header > 0) + (footer > 0));
        }
        QCOMPARE(row, rows);
    }

    void headerAndFooterFieldsShowTheirPagesRows()
    {
        insertSuppliers(3);
        auto data = openSuppliers();
        Report r;
        r.setDataSource(data.get());
        r.addBand(BandKind::PageHeader, {190, 20})
            .addField(QStringLiteral("first"), QStringLiteral("Nome"), {0, 0, 30, 0}, kFont);
        r.addBand(BandKind::Detail, {190, 110}); // two fit between header and footer
        r.addBand(BandKind::PageFooter, {190, 20})
            .addField(QStringLiteral("last"), QStringLiteral("Nome"), {0, 0, 30, 0}, kFont);
        const ReportLayout layout(r);
        QCOMPARE(layout.pageCount(), 2);
        QCOMPARE(layout.content(0).textsOf(QStringLiteral("first")).at(0)->text, QStringLiteral("NOME 01"));
        QCOMPARE(layout.content(0).textsOf(QStringLiteral("last")).at(0)->text, QStringLiteral("NOME 02"));
        QCOMPARE(layout.content(1).textsOf(QStringLiteral("first")).at(0)->text, QStringLiteral("NOME 03"));
        QCOMPARE(layout.content(1).textsOf(QStringLiteral("last")).at(0)->text, QStringLiteral("NOME 03"));
    }

    void itemSizes_data()
    {
        QTest::addColumn<int>("sizing");
        QTest::addColumn<qreal>("left");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("widerThanDesign");
        QTest::addColumn<int>("lines"); // 0: several
        const auto autoSize = int(Sizing::AutoSize);
        const auto stretch = int(Sizing::Stretch);
        QTest::newRow("auto-size grows right")
            << autoSize << 20.0 << QStringLiteral("RUA DAS LARANJEIRAS") << true << 1;
        QTest::newRow("auto-size, line breaks")
            << autoSize << 20.0 << QStringLiteral("A\nB\r\nC") << false << 3;
        QTest::newRow("auto-size stops at the band's edge")
            << autoSize << 150.0 << QStringLiteral("PALAVRA ").repeated(6) << true << 0;
        QTest::newRow("stretch keeps width, wraps down")
            << stretch << 20.0 << QStringLiteral("123456789012") << false << 3;
        QTest::newRow("stretch, short text") << stretch << 20.0 << QStringLiteral("SP") << false << 1;
    }
    void itemSizes()
    {
        QFETCH(int, sizing);
        QFETCH(qreal, left);
        QFETCH(QString, text);
        QFETCH(bool, widerThanDesign);
        QFETCH(int, lines);
        const qreal designWidth = 16.3;
        Report r;
        Band& band = r.addBand(BandKind::Detail, {190, 50});
        band.addCaption(QStringLiteral("item"), QStringLiteral("antes"), {left, 8, designWidth, 0}, kFont)
            .sizing = Sizing(sizing);
        r.setText(QStringLiteral("item"), text);

        const PlacedText t = ReportLayout(r).content(0).texts.at(0);
        QCOMPARE(t.text, text);
        QCOMPARE(t.rectMm.topLeft(), QPointF(10 + left, 18));
        QCOMPARE(t.rectMm.width() > designWidth + 0.01, widerThanDesign);
        QVERIFY(t.rectMm.right() <= 200.0 + 0.01); // never beyond the band
        if (lines > 0)
            QCOMPARE(qRound(t.rectMm.height() / lineHeight()), lines);
        else
            QVERIFY(t.rectMm.height() > 1.5 * lineHeight());
        if (Sizing(sizing) == Sizing::Stretch) QCOMPARE(t.rectMm.width(), designWidth);
    }

    void aStretchedBandTakesMoreRoom()
    {
        m_db.sql(QStringLiteral(
            "DELETE FROM fornecedor; INSERT INTO fornecedor (Nome, Obs) VALUES ('A', 'CURTA'), "
            "('B', REPEAT('LINHA\\n', 30)), ('C', 'CURTA')"));
        auto data = openSuppliers();
        Report r;
        r.setDataSource(data.get());
        r.addBand(BandKind::Detail, {190, 90})
            .addField(QStringLiteral("obs"), QStringLiteral("Obs"), {0, 80, 100, 0}, kFont);
        const ReportLayout layout(r);
        // 'A' and 'C' alone would share a page; the long note of 'B' pushes each onto its own.
        QCOMPARE(layout.pageCount(), 3);
        const PlacedBand tall = layout.content(1).bands.at(0);
        QCOMPARE(tall.row, 1);
        QVERIFY(tall.rectMm.height() > 90 + 25 * lineHeight());
    }

    void unknownNamesAreErrors()
    {
        insertSuppliers(1);
        auto data = openSuppliers();
        Report r;
        r.setDataSource(data.get());
        r.addBand(BandKind::Detail, {190, 50})
            .addField(QStringLiteral("x"), QStringLiteral("NaoExiste"), {0, 0, 10, 0}, kFont);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ReportLayout{r});
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, r.setText(QStringLiteral("y"), QStringLiteral("texto")));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, ReportLayout(Report()).content(1));
    }
};

QTEST_MAIN(ReportLayoutTest)
#include "tst_report_layout.moc"
