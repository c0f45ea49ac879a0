// The "Listagem" list: title-click sorting on the workstation, the highlighted row, double click
// to "Dados".
#include "tests/registry/ScreenSteps.h"

#include <QAbstractItemModelTester>

using namespace testsupport;

class ScreenListTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("list"));
        addSupplier(*m_fx, 1, QStringLiteral("BETA"), QStringLiteral("M"));
        addSupplier(*m_fx, 2, QStringLiteral("ALFA"), QStringLiteral("Z"));
        addSupplier(*m_fx, 3, QStringLiteral("ALFA"), QStringLiteral("K"));
        addSupplier(*m_fx, 4, QStringLiteral("CAPA"), QStringLiteral("A"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    // One click after another; each row is the state the list reaches.
    void titleClicks()
    {
        struct Step
        {
            int column;
            Qt::KeyboardModifiers mods;
            int shownColumn;
            QStringList shown;
        };
        const QList<Step> steps{
            {1, {}, 1, {"ALFA", "ALFA", "BETA", "CAPA"}},
            {1, {}, 1, {"CAPA", "BETA", "ALFA", "ALFA"}},      // same title: reversed
            {2, Qt::ShiftModifier, 0, {"4", "1", "3", "2"}},   // Shift adds the trade name
            {2, Qt::ShiftModifier, 0, {"4", "1", "2", "3"}},   // again: that key reversed
            {1, Qt::ControlModifier, 0, {"2", "1", "3", "4"}}, // Ctrl takes the name out
            {0, {}, 0, {"1", "2", "3", "4"}},                  // a plain click replaces all
        };
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        clickRow(f, 2);
        const QString current = f.tbFornecedor.text(QStringLiteral("CodigoFornecedor"));
        for (qsizetype i = 0; i < steps.size(); ++i) {
            clickTitle(f, steps[i].column, steps[i].mods);
            QVERIFY2(listColumn(f, steps[i].shownColumn) == steps[i].shown, qPrintable(QString::number(i)));
            // The current supplier stays current, wherever the order puts it.
            QCOMPARE(f.tbFornecedor.text(QStringLiteral("CodigoFornecedor")), current);
            QCOMPARE(listColumn(f, 0).value(f.tbFornecedor.currentRow()), current);
        }
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).value(0),
                 QStringLiteral("4"));
    }

    // The highlighted row and the marker follow the current supplier while the list has no focus.
    void highlightFollowsCurrentRow()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        auto* box = control(f, QStringLiteral("edtPesquisa"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F3, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_F3, Qt::ControlModifier);
        cad::DbGrid* g = supplierList(f);
        QCOMPARE(f.tbFornecedor.currentRow(), 2);
        const QModelIndexList rows = g->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().row(), 2);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(g->model()->headerData(r, Qt::Vertical).toString().isEmpty(), r != 2);
        QCOMPARE(g->palette().color(QPalette::Inactive, QPalette::Highlight),
                 g->palette().color(QPalette::Active, QPalette::Highlight));
        QVERIFY(!g->hasFocus());
    }

    // The list's model stays consistent through what an operator does to the supplier list.
    void modelStaysConsistent()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        QAbstractItemModelTester tester(supplierList(f)->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        click(f, QStringLiteral("ToolButton1")); // a new row at the end
        typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral("NOVO"));
        click(f, QStringLiteral("ToolButton8")); // abandoned: the row goes
        QCOMPARE(supplierList(f)->model()->rowCount(), 4);
        auto* box = control(f, QStringLiteral("edtPesquisa"));
        QTest::keyClick(box, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_N, Qt::ControlModifier);
        clickTitle(f, 1);
        clickRow(f, 3);
        QTest::keyClick(supplierList(f), Qt::Key_E, Qt::ControlModifier); // deleted
        QCOMPARE(supplierList(f)->model()->rowCount(), 3);
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("ALFA"));
        QCOMPARE(supplierList(f)->model()->rowCount(), 2);
        m_fx->local(
            QStringLiteral("DELETE FROM fornecedor; INSERT INTO fornecedor (CodigoFornecedor, Nome, nomefan) "
                           "VALUES (1, 'BETA', 'M'), (2, 'ALFA', 'Z'), (3, 'ALFA', 'K'), (4, 'CAPA', 'A')"));
    }

    // On a row, below the last row and in a list that found nothing alike.
    void doubleClickShowsDados_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("row"); // -1: below the last row
        QTest::addColumn<QString>("nome");
        QTest::newRow("on the last row") << "%" << 3 << "CAPA";
        QTest::newRow("below the last row") << "4" << -1 << "CAPA";
        QTest::newRow("empty list") << "99" << -1 << "";
    }
    void doubleClickShowsDados()
    {
        QFETCH(QString, search);
        QFETCH(int, row);
        QFETCH(QString, nome);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        testsupport::search(f, QStringLiteral("SpeedButton4"), search);
        (void)m_fx->takeMessages();
        cad::DbGrid* g = supplierList(f);
        const QPoint at = row >= 0 ? g->visualRect(g->model()->index(row, 1)).center()
                                   : QPoint(g->viewport()->width() / 2, g->viewport()->height() - 5);
        // A person's double click: press, release, then the second press and its release.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(f.currentTab(), QStringLiteral("Dados"));
        QCOMPARE(control<QLineEdit>(f, QStringLiteral("dbedtNome"))->text(), nome);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
    }
};

QTEST_MAIN(ScreenListTest)
#include "tst_screen_list.moc"
