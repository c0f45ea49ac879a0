// Record-set shortcuts whose condition does not hold, the navigation buttons, "Atualizar", and a
// search the server refuses.
#include "tests/registry/ScreenSteps.h"

using namespace testsupport;
using State = cad::RecordSet::State;

class ScreenCommandsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("commands"));
        addSupplier(*m_fx, 1, QStringLiteral("ALFA"));
        addSupplier(*m_fx, 2, QStringLiteral("BETA"));
        addSupplier(*m_fx, 3, QStringLiteral("GAMA"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    // A shortcut whose condition fails does nothing: no error, no change.
    void shortcutWithoutItsCondition_data()
    {
        QTest::addColumn<QString>("list"); // "closed", "empty" or "first row"
        QTest::addColumn<int>("key");
        for (int key : {Qt::Key_I, Qt::Key_A, Qt::Key_S, Qt::Key_N, Qt::Key_E, Qt::Key_F1, Qt::Key_F4})
            QTest::addRow("closed, Ctrl+%s", qPrintable(QKeySequence(key).toString())) << "closed" << key;
        for (int key : {Qt::Key_A, Qt::Key_S, Qt::Key_N, Qt::Key_E, Qt::Key_F2, Qt::Key_F3})
            QTest::addRow("empty, Ctrl+%s", qPrintable(QKeySequence(key).toString())) << "empty" << key;
        for (int key : {Qt::Key_S, Qt::Key_N, Qt::Key_F1, Qt::Key_F2})
            QTest::addRow("first row, Ctrl+%s", qPrintable(QKeySequence(key).toString()))
                << "first row" << key;
    }
    void shortcutWithoutItsCondition()
    {
        QFETCH(QString, list);
        QFETCH(int, key);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        if (list == QLatin1String("empty"))
            search(f, QStringLiteral("SpeedButton1"), QStringLiteral("XYZ"));
        else if (list == QLatin1String("first row"))
            search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        m_fx->takeMessages();
        const State state = f.tbFornecedor.state();
        const int row = f.tbFornecedor.currentRow();
        QTest::keyClick(control(f, QStringLiteral("edtPesquisa")), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(f.tbFornecedor.state(), state);
        QCOMPARE(f.tbFornecedor.currentRow(), row);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
        QCOMPARE(m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor")), QStringList{"3"});
    }

    void navigationButtons_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("row");
        QTest::newRow("Último") << QStringList{"btnNav3"} << 2;
        QTest::newRow("Último, Anterior") << QStringList{"btnNav3", "btnNav1"} << 1;
        QTest::newRow("Próximo twice") << QStringList{"btnNav2", "btnNav2"} << 2;
        QTest::newRow("Próximo past the end") << QStringList{"btnNav3", "btnNav2"} << 2;
        QTest::newRow("Último, Primeiro") << QStringList{"btnNav3", "btnNav0"} << 0;
    }
    void navigationButtons()
    {
        QFETCH(QStringList, buttons);
        QFETCH(int, row);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        for (const QString& b : buttons)
            click(f, b); // nothing while the list is closed
        QVERIFY(!f.tbFornecedor.isOpen());
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        for (const QString& b : buttons)
            click(f, b);
        QCOMPARE(f.tbFornecedor.currentRow(), row);
        QCOMPARE(supplierList(f)->currentIndex().row(), row);
        QCOMPARE(messageTexts(*m_fx), QStringList());
    }

    void atualizarRereadsAndKeepsTheRow()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        clickRow(f, 1);
        m_fx->local(QStringLiteral("UPDATE fornecedor SET Nome = 'BETA NOVA' WHERE CodigoFornecedor = 2;"
                                   "INSERT INTO fornecedor (CodigoFornecedor, Nome) VALUES (4, 'DELTA')"));
        click(f, QStringLiteral("btnAtualizar"));
        QCOMPARE(listColumn(f, 1), (QStringList{"ALFA", "BETA NOVA", "GAMA", "DELTA"}));
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("CodigoFornecedor")), QStringLiteral("2"));
        QCOMPARE(control<QLineEdit>(f, QStringLiteral("dbedtNome"))->text(), QStringLiteral("BETA NOVA"));
        m_fx->local(QStringLiteral("UPDATE fornecedor SET Nome = 'BETA' WHERE CodigoFornecedor = 2;"
                                   "DELETE FROM fornecedor WHERE CodigoFornecedor = 4"));
    }

    // The server's error is shown; the list is closed and empty; the screen goes on working.
    void searchRefusedByTheServer()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%"));
        m_fx->local(QStringLiteral("RENAME TABLE fornecedor TO fornecedor_fora"));
        click(f, QStringLiteral("SpeedButton1"));
        m_fx->local(QStringLiteral("RENAME TABLE fornecedor_fora TO fornecedor"));
        const QStringList shown = messageTexts(*m_fx);
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().contains(QLatin1String("fornecedor"), Qt::CaseInsensitive),
                 qPrintable(shown.first()));
        QVERIFY(!f.tbFornecedor.isOpen());
        QCOMPARE(supplierList(f)->model()->rowCount(), 0);
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("BETA"));
        QCOMPARE(listColumn(f, 0), QStringList{"2"});
    }
};

QTEST_MAIN(ScreenCommandsTest)
#include "tst_screen_commands.moc"
