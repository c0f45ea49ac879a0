// The "Entrada" tab of the supplier screen over the test servers: invoices and items of the current
// supplier after a search, row colours as drawn, display formats, and the screen's record-set keys
// acting on the focused list.
#include "tests/registry/ScreenSteps.h"
#include "tests/registry/SupplierEntry.h"

#include <QTabBar>
#include <QTabWidget>

using namespace testsupport;

namespace {

const QColor kRed(255, 166, 166);
const QColor kYellow(255, 255, 147);

cad::DbGrid* invoices(QWidget& f)
{
    return control<cad::DbGrid>(f, QStringLiteral("grdNota"));
}

cad::DbGrid* items(QWidget& f)
{
    return control<cad::DbGrid>(f, QStringLiteral("grdItens"));
}

/// The column COLUMN of every row the list shows, top to bottom.
QStringList shown(cad::DbGrid* g, int column)
{
    QStringList out;
    for (int r = 0; r < g->model()->rowCount(); ++r)
        out << g->model()->index(r, column).data().toString();
    return out;
}

/// The colour drawn in the middle of an empty cell of ROW (column COLUMN holds no value).
QColor drawnColour(cad::DbGrid* g, int row, int column)
{
    const QImage image = g->viewport()->grab().toImage();
    return image.pixelColor(g->visualRect(g->model()->index(row, column)).center());
}

void showEntrada(QWidget& f)
{
    auto* bar = control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
}

} // namespace

class PurchaseHistoryTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

    [[nodiscard]] int count(const QString& table)
    {
        return m_fx->local(QStringLiteral("SELECT COUNT(*) FROM ") + table).value(0).toInt();
    }

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<ScreenFixture>(QStringLiteral("history")); }
    void cleanupTestCase() { m_fx.reset(); }

    // Supplier 1: invoice 10 cancelled, 11 marked "s", 12 the last; an item of another invoice
    // numbered 999 shares control number 12. Supplier 2: invoice 20.
    void init()
    {
        m_fx->local(QStringLiteral(
            "DELETE FROM fornecedor; DELETE FROM Nota; DELETE FROM itensNota;"
            "INSERT INTO fornecedor (CodigoFornecedor, Nome, nomefan, Cgccpf) VALUES"
            " (1, 'ALFA COMERCIO', 'ALFA FANTASIA', '11222333000181'), (2, 'ALFREDO PECAS', 'BETA', "
            "'45321789000110');"
            "INSERT INTO Nota (Codigonota, Notafiscal, Data, dataentrada, valor, vNF, Codigofornecedor, "
            "NFCancelada)"
            " VALUES (11, '101', '2024-03-01', '2024-03-02', 1234.5, 1234.5, 1, 's'),"
            " (10, '100', '2024-02-01', '2024-02-03', 10, 10, 1, 'S'),"
            " (12, '102', '2024-04-05', '2024-04-06', 99.9, 1000000.25, 1, NULL),"
            " (20, '200', '2024-05-01', '2024-05-01', 7, 7, 2, 'N');"
            "INSERT INTO itensNota (Contador, Codigonota, notafiscal, Codigoproduto, Qt, Preco, NFCancelada, "
            "importacao) VALUES"
            " (1, 10, '100', 501, 1, 2, 'S', NULL), (2, 10, '100', 502, 1, 2, 'S', 'N'),"
            " (3, 11, '101', 511, 1, 2, 's', 'n'), (8, 11, '101', 512, 1, 2, 's', 'n'),"
            " (4, 12, '102', 521, 1234.5, 1234567.891, NULL, NULL), (5, 12, '102', 522, 2, 3, NULL, NULL),"
            " (6, 12, '999', 529, 1, 1, NULL, NULL), (7, 20, '200', 601, 1, 1, 'N', NULL)"));
    }

    // Every search but the one by initial letter opens the lists on the supplier's last invoice
    // (highest control number) and its items, matched on control number and invoice number.
    void searchOpensOnTheLastInvoice_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("code") << "SpeedButton4"
                              << "1";
        QTest::newRow("company name") << "SpeedButton1"
                                      << "ALFA C";
        QTest::newRow("trade name") << "TSpeedButton"
                                    << "ALFA";
        QTest::newRow("CNPJ") << "TSpeedButton11"
                              << "11222333";
    }
    void searchOpensOnTheLastInvoice()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        QVERIFY(!f.myqryNota.isOpen() && !f.tbEntrada.isOpen());
        search(f, button, text);
        QCOMPARE(shown(invoices(f), 1), (QStringList{"10", "11", "12"}));
        QCOMPARE(f.myqryNota.currentRow(), 2);
        QCOMPARE(shown(items(f), 3), (QStringList{"521", "522"}));
        QVERIFY(m_fx->takeMessages().isEmpty());
    }

    void searchByLetterLeavesTheListsClosed()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.searchByLetter(QLatin1Char('A'));
        QVERIFY(f.tbFornecedor.isOpen());
        QVERIFY(!f.myqryNota.isOpen());
        QCOMPARE(invoices(f)->model()->rowCount(), 0);
        // Once opened by a search, they follow the current supplier after a letter search too.
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("2"));
        f.searchByLetter(QLatin1Char('A'));
        QCOMPARE(shown(invoices(f), 1), (QStringList{"10", "11", "12"}));
    }

    // Picking another supplier on "Listagem" and then showing "Entrada": that supplier's invoices,
    // with the focus in the invoice list.
    void anotherSupplierAfterMoving()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("ALF"));
        QCOMPARE(shown(invoices(f), 1), (QStringList{"10", "11", "12"}));
        clickSupplier(f, 2);
        showEntrada(f);
        QCOMPARE(f.currentTab(), QStringLiteral("Entrada"));
        QCOMPARE(shown(invoices(f), 1), QStringList{"20"});
        QCOMPARE(shown(items(f), 3), QStringList{"601"});
        QCOMPARE(QApplication::focusWidget(), invoices(f));
    }

    // Unselected rows: cancelled "S" red, "s" normal; an item not imported ("N") yellow even when
    // cancelled. The selected row is drawn in the selection colours whatever its flags.
    void rowColoursAsDrawn()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        showEntrada(f);
        cad::DbGrid* notas = invoices(f);
        const QColor base = notas->palette().color(QPalette::Base);
        const QColor selection = notas->palette().color(QPalette::Active, QPalette::Highlight);
        QCOMPARE(drawnColour(notas, 0, 5), kRed); // 10, "S"
        QCOMPARE(drawnColour(notas, 1, 5), base); // 11, "s"
        QCOMPARE(drawnColour(notas, 2, 5), selection);

        f.myqryNota.first(); // the cancelled invoice, selected
        QCOMPARE(drawnColour(notas, 0, 5), selection);
        QCOMPARE(drawnColour(notas, 2, 5), base);
        cad::DbGrid* itens = items(f);
        QCOMPARE(shown(itens, 3), (QStringList{"501", "502"}));
        QCOMPARE(drawnColour(itens, 0, 4), selection);
        QCOMPARE(drawnColour(itens, 1, 4), kYellow); // cancelled, but not imported
        f.tbEntrada.last();
        QCOMPARE(drawnColour(itens, 0, 4), kRed);
        QCOMPARE(drawnColour(itens, 1, 4), selection);

        f.myqryNota.moveTo(1); // "s" on the items, "n" for import: nothing applies
        f.tbEntrada.last();
        QCOMPARE(drawnColour(itens, 0, 4), itens->palette().color(QPalette::Base));
    }

    void displayFormats()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        showEntrada(f);
        QAbstractItemModel* notas = invoices(f)->model();
        QCOMPARE(notas->index(1, 3).data().toString(), QStringLiteral("01/03/2024"));  // Data
        QCOMPARE(notas->index(1, 4).data().toString(), QStringLiteral("02/03/2024"));  // Dt.Entrada
        QCOMPARE(notas->index(1, 8).data().toString(), QStringLiteral("1234,5"));      // valor
        QCOMPARE(notas->index(2, 11).data().toString(), QStringLiteral("1000000,25")); // vNF
        QAbstractItemModel* itens = items(f)->model();
        QCOMPARE(itens->index(0, 5).data().toString(), QStringLiteral("1.234.567,89")); // Preço
        QCOMPARE(itens->index(0, 6).data().toString(), QStringLiteral("1.234,50"));     // Qtd.
        QCOMPARE(itens->index(1, 6).data().toString(), QStringLiteral("2,00"));
        // The invoice list takes about two fifths of the tab.
        const double share = double(invoices(f)->height()) / (invoices(f)->height() + items(f)->height());
        QVERIFY2(share > 0.35 && share < 0.45, qPrintable(QString::number(share)));
        QStringList titles;
        for (int c = 0; c < notas->columnCount(); ++c)
            titles << notas->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"Posição", "Nº Controle", "Nº Nota Fiscal", "Data", "Dt.Entrada",
                                      "Chave", "Operação", "Valor Produto", "Valor Nota R$", "Total Frete",
                                      "Valor Tributos", "Valor Nota"}));
    }

    // The screen's keys act on the focused list and that list's table: Ctrl+E deletes at once,
    // without a question; Ctrl+Delete is discarded; Ctrl+F1 moves that list only.
    void keysOnTheFocusedList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("invoicesAfter");
        QTest::addColumn<QStringList>("itemsAfter");
        QTest::addColumn<int>("notaRows");
        QTest::addColumn<int>("itemRows");
        const QStringList all{"10", "11", "12"};
        QTest::newRow("Ctrl+E on an item")
            << "grdItens" << int(Qt::Key_E) << all << QStringList{"522"} << 4 << 7;
        QTest::newRow("Ctrl+E on an invoice")
            << "grdNota" << int(Qt::Key_E) << QStringList{"10", "11"} << QStringList{"511", "512"} << 3 << 8;
        QTest::newRow("Ctrl+Delete on an item")
            << "grdItens" << int(Qt::Key_Delete) << all << QStringList{"521", "522"} << 4 << 8;
        QTest::newRow("Ctrl+Delete on an invoice")
            << "grdNota" << int(Qt::Key_Delete) << all << QStringList{"521", "522"} << 4 << 8;
        QTest::newRow("Ctrl+F1 on the invoices")
            << "grdNota" << int(Qt::Key_F1) << all << QStringList{"501", "502"} << 4 << 8;
    }
    void keysOnTheFocusedList()
    {
        QFETCH(QString, list);
        QFETCH(int, key);
        QFETCH(QStringList, invoicesAfter);
        QFETCH(QStringList, itemsAfter);
        QFETCH(int, notaRows);
        QFETCH(int, itemRows);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("ALF"));
        showEntrada(f);
        auto* grid = control<cad::DbGrid>(f, list);
        grid->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(grid, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(shown(invoices(f), 1), invoicesAfter);
        QCOMPARE(shown(items(f), 3), itemsAfter);
        QCOMPARE(count(QStringLiteral("Nota")), notaRows);
        QCOMPARE(count(QStringLiteral("itensNota")), itemRows);
        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(f.tbFornecedor.currentRow(), 0); // the supplier list stays where it was
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
    }
};

QTEST_MAIN(PurchaseHistoryTest)
#include "tst_purchase_history.moc"
