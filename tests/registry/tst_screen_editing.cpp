// Editing on the supplier screen: which changes start editing or a new row, what moving the row
// saves, and what the command bars show meanwhile.
#include "tests/registry/ScreenSteps.h"

#include <QRadioButton>
#include <QTabWidget>

using namespace testsupport;
using Bars = cad::TfrmFornecedor::Bars;
using State = cad::RecordSet::State;

class ScreenEditingTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

    cad::TfrmFornecedor& screenWithList()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("%")); // every code, no message
        return f;
    }
    QString localValue(const QString& column, int code)
    {
        return m_fx
            ->local(
                QStringLiteral("SELECT %1 FROM fornecedor WHERE CodigoFornecedor = %2").arg(column).arg(code))
            .value(0);
    }
    void showTab(cad::TfrmFornecedor& f, int index)
    {
        QTabBar* bar = control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<ScreenFixture>(QStringLiteral("edit")); }
    void cleanupTestCase() { m_fx.reset(); }
    void init()
    {
        m_fx->local(QStringLiteral("DELETE FROM fornecedor"));
        addSupplier(*m_fx, 1, QStringLiteral("ALFA"), QStringLiteral("A1"), QStringLiteral("11144477735"));
        addSupplier(*m_fx, 2, QStringLiteral("BETA"), QStringLiteral("B2"), QStringLiteral("11222333000181"));
        addSupplier(*m_fx, 3, QStringLiteral("GAMA"), QStringLiteral("G3"));
        m_fx->takeMessages();
    }

    void firstKeySwitchesToEditing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("tab");
        QTest::newRow("company name in the header") << QStringLiteral("dbedtNome") << 0;
        QTest::newRow("trade name in the header") << QStringLiteral("dbedtNomefan") << 0;
        QTest::newRow("street on Dados") << QStringLiteral("dbedtEndereco") << 1;
    }
    void firstKeySwitchesToEditing()
    {
        QFETCH(QString, field);
        QFETCH(int, tab);
        cad::TfrmFornecedor& f = screenWithList();
        showTab(f, tab);
        QTest::mouseClick(control(f, field), Qt::LeftButton);
        QCOMPARE(f.bars(), Bars::Browse);
        typeInto(f, field, QStringLiteral("x"));
        QCOMPARE(f.tbFornecedor.state(), State::Edit);
        QCOMPARE(f.bars(), Bars::Editing);
        QVERIFY(control<QLineEdit>(f, field)->text().endsWith(QLatin1Char('X')));
        QVERIFY(control(f, QStringLiteral("ToolButton7"))->isVisible());
        QVERIFY(!control(f, QStringLiteral("ToolButton1"))->isVisible());
    }

    // Moving to another row saves with the record-level rules only: no CPF/CNPJ messages.
    void clickingAnotherRowSavesWithoutSaveChecks_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("empty") << QString();
        QTest::newRow("invalid CPF") << QStringLiteral("111.444.777-36");
        QTest::newRow("invalid CNPJ, 12 digits") << QStringLiteral("123456789012");
    }
    void clickingAnotherRowSavesWithoutSaveChecks()
    {
        QFETCH(QString, document);
        m_fx->local(
            QStringLiteral("UPDATE fornecedor SET Cgccpf = '%1' WHERE CodigoFornecedor = 1").arg(document));
        cad::TfrmFornecedor& f = screenWithList();
        typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral(" NOVA"));
        clickRow(f, 1);
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(localValue(QStringLiteral("Nome"), 1), QStringLiteral("ALFA NOVA"));
        QCOMPARE(localValue(QStringLiteral("filial"), 1),
                 QStringLiteral("LOJA CENTRO")); // derived columns filled
        QCOMPARE(f.tbFornecedor.state(), State::Browse);
        QCOMPARE(f.tbFornecedor.currentRow(), 1);
        QCOMPARE(f.bars(), Bars::Editing);
    }

    void unchangedRowIsLeftWithoutSaving()
    {
        cad::TfrmFornecedor& f = screenWithList();
        QTest::keyClick(control(f, QStringLiteral("edtPesquisa")), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f.tbFornecedor.state(), State::Edit);
        clickRow(f, 2);
        QCOMPARE(f.tbFornecedor.state(), State::Browse);
        QCOMPARE(localValue(QStringLiteral("filial"), 1), QString()); // not saved: no derived columns
    }

    // Shortcuts bypass the screen's commands: only the record entering editing switches the bars.
    void shortcutsFromTheSearchBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<State>("state");
        QTest::addColumn<int>("rows");
        QTest::addColumn<Bars>("bars");
        QTest::newRow("Ctrl+I inserts, browse layout stays")
            << int(Qt::Key_I) << State::Insert << 4 << Bars::Browse;
        QTest::newRow("Ctrl+A edits, editing layout") << int(Qt::Key_A) << State::Edit << 3 << Bars::Editing;
    }
    void shortcutsFromTheSearchBox()
    {
        QFETCH(int, key);
        QFETCH(State, state);
        QFETCH(int, rows);
        QFETCH(Bars, bars);
        cad::TfrmFornecedor& f = screenWithList();
        QTest::keyClick(control(f, QStringLiteral("edtPesquisa")), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(f.tbFornecedor.state(), state);
        QCOMPARE(f.tbFornecedor.rowCount(), rows);
        QCOMPARE(f.bars(), bars);
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(control<QLineEdit>(f, QStringLiteral("edtPesquisa"))->text(), QStringLiteral("%"));
    }

    void typingAfterEmptySearchStartsNewSupplier()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("NINGUEM"));
        QCOMPARE(messageTexts(*m_fx),
                 QStringList{QStringLiteral("Razão Social do Fornecedor não Encontrado!!!")});
        typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral("novo"));
        QCOMPARE(f.tbFornecedor.state(), State::Insert);
        QCOMPARE(f.bars(), Bars::Browse);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), QStringLiteral("NOVO"));
        QTest::keyClick(control(f, QStringLiteral("dbedtNome")), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Nome = 'NOVO'")).value(0),
                 QStringLiteral("1"));
    }

    void listKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("Ctrl+Delete deletes nothing") << int(Qt::Key_Delete) << QStringList{"1", "2", "3"};
        QTest::newRow("Ctrl+E deletes the current supplier") << int(Qt::Key_E) << QStringList{"1", "3"};
    }
    void listKeys()
    {
        QFETCH(int, key);
        QFETCH(QStringList, left);
        cad::TfrmFornecedor& f = screenWithList();
        clickRow(f, 1);
        QTest::keyClick(supplierList(f), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(messageTexts(*m_fx), QStringList()); // never asked
        QCOMPARE(m_fx->local(QStringLiteral("SELECT CodigoFornecedor FROM fornecedor ORDER BY 1")), left);
        QCOMPARE(listColumn(f, 0), left);
    }

    // Each row is reached from a supplier whose choice is set, so a stale choice would show.
    void taxpayerType_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("1 - CONTRIBUINTE ICMS");
        QTest::newRow("2") << QStringLiteral("2") << QStringLiteral("2 - ISENTO");
        QTest::newRow("9") << QStringLiteral("9") << QStringLiteral("9 - NÃO CONTRIBUINTE");
        QTest::newRow("0 shows none") << QStringLiteral("0") << QString();
        QTest::newRow("3 shows none") << QStringLiteral("3") << QString();
        QTest::newRow("NULL shows none") << QStringLiteral("NULL") << QString();
    }
    void taxpayerType()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        m_fx->local(QStringLiteral("UPDATE fornecedor SET TipoContribuinte = 2 WHERE CodigoFornecedor = 1;"
                                   "UPDATE fornecedor SET TipoContribuinte = %1 WHERE CodigoFornecedor = 2")
                        .arg(stored));
        cad::TfrmFornecedor& f = screenWithList();
        showTab(f, 1);
        auto* group = control(f, QStringLiteral("dbrgrpTipoContribuinte"));
        QTest::keyClick(control(f, QStringLiteral("edtPesquisa")), Qt::Key_F3, Qt::ControlModifier);
        QStringList checked;
        for (auto* b : group->findChildren<QRadioButton*>())
            if (b->isChecked()) checked << b->text();
        QCOMPARE(checked, shown.isEmpty() ? QStringList() : QStringList{shown});
    }

    // "Cep" takes 10 characters; the record keeps 9, so a longer CEP is kept as its digits.
    void postalCodeCutToNine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("12.345-678") << "12.345-678"
                                    << "12.345-678"
                                    << "12345678";
        QTest::newRow("eleven typed") << "12.345-6789"
                                      << "12.345-678"
                                      << "12345678";
        QTest::newRow("12345-678") << "12345-678"
                                   << "12345-678"
                                   << "12345-678";
        QTest::newRow("digits") << "12345678"
                                << "12345678"
                                << "12345678";
    }
    void postalCodeCutToNine()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        cad::TfrmFornecedor& f = screenWithList();
        showTab(f, 1);
        typeInto(f, QStringLiteral("dbedtCep"), typed);
        QCOMPARE(control<QLineEdit>(f, QStringLiteral("dbedtCep"))->text(), shown);
        click(f, QStringLiteral("ToolButton7"));
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(localValue(QStringLiteral("Cep"), 1), stored);
        QCOMPARE(f.bars(), Bars::Browse);
    }
};

QTEST_MAIN(ScreenEditingTest)
#include "tst_screen_editing.moc"
