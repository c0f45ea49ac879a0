// Supplier search by the four buttons: the rows found, their order, the messages, where the focus
// goes, and what a search leaves untouched.
#include "tests/registry/ScreenSteps.h"

#include <QTabWidget>

using namespace testsupport;

class SearchTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

    QString tableDigest()
    {
        return m_fx
            ->local(QStringLiteral(
                "SELECT CONCAT(COUNT(*), ':', MD5(GROUP_CONCAT(CONCAT_WS('|', CodigoFornecedor, "
                "Nome, nomefan, Cgccpf) ORDER BY CodigoFornecedor))) FROM fornecedor"))
            .value(0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("search"));
        addSupplier(*m_fx, 1, QStringLiteral("SILVA E FILHOS LTDA"), QStringLiteral("SILVA"),
                    QStringLiteral("12345678000199"));
        addSupplier(*m_fx, 2, QStringLiteral("JOSE SILVA"), QStringLiteral("ZE"),
                    QStringLiteral("12.345.678/0001-99"));
        addSupplier(*m_fx, 3, QStringLiteral("D'AVILA COMERCIO"), QStringLiteral("DAVILA"),
                    QStringLiteral("98765432000110"));
        addSupplier(*m_fx, 4, QStringLiteral("DAVILA MOVEIS"), QStringLiteral("MOVEIS"),
                    QStringLiteral("11144477735"));
        addSupplier(*m_fx, 13, QStringLiteral("QUITERIA SOUZA"), QStringLiteral("QUITERIA"));
        addSupplier(*m_fx, 103, QStringLiteral("ALFA"), QStringLiteral("ALFA"));
        addSupplier(*m_fx, 113, QStringLiteral("BETA"), QStringLiteral("BETA"));
        addSupplier(*m_fx, 1234, QStringLiteral("QUEIROZ ATACADO"), QStringLiteral("QUEIROZ"));
        addSupplier(*m_fx, 1400, QStringLiteral("ARMAZEM QUALIDADE"), QStringLiteral("QUALIDADE"));
        m_fx->local(
            QStringLiteral("INSERT INTO fornecedor (CodigoFornecedor, nomefan) VALUES (2103, 'SEM NOME')"));
        m_fx->local(QStringLiteral(
            "INSERT INTO Nota (Codigonota, Notafiscal, Codigofornecedor) VALUES (1, '77', 1)"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    void buttons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("message");
        const QString name = QStringLiteral("SpeedButton1"), code = QStringLiteral("SpeedButton4"),
                      trade = QStringLiteral("TSpeedButton"), cnpj = QStringLiteral("TSpeedButton11");
        const QStringList byName{"103", "1400", "113", "3", "4", "2", "1234", "13", "1"};
        QTest::newRow("name prefix: SILVA, not JOSE SILVA")
            << name << "SILVA" << QStringList{"1"} << QString();
        QTest::newRow("name with a quote") << name << "D'AVILA" << QStringList{"3"} << QString();
        QTest::newRow("name typed in lower case") << name << "d'avila" << QStringList{"3"} << QString();
        QTest::newRow("name, blanks around") << name << "  DAVILA " << QStringList{"4"} << QString();
        QTest::newRow("name, blanks only: every name, no message") << name << "   " << byName << QString();
        QTest::newRow("name, empty box: every name and a message")
            << name << "" << byName << QStringLiteral("Razão Social do Fornecedor em Branco !!!");
        QTest::newRow("code 1_3: 103, 113, 1234")
            << code << "1_3" << QStringList{"103", "113", "1234"} << QString();
        QTest::newRow("code 1 as text, ordered as numbers")
            << code << "1" << QStringList{"1", "13", "103", "113", "1234", "1400"} << QString();
        QTest::newRow("code, empty box")
            << code << "" << QStringList{"1", "2", "3", "4", "13", "103", "113", "1234", "1400", "2103"}
            << QStringLiteral("Codigo do Fornecedor em Branco !!!");
        QTest::newRow("CNPJ compared as stored") << cnpj << "123" << QStringList{"1"} << QString();
        QTest::newRow("CNPJ with punctuation as stored") << cnpj << "12.3" << QStringList{"2"} << QString();
        QTest::newRow("trade name") << trade << "QU" << QStringList{"1400", "1234", "13"} << QString();
        QTest::newRow("wildcard % typed") << name << "%FILHOS" << QStringList{"1"} << QString();
        QTest::newRow("quote and backslash stay text")
            << name << "\\' OR 1=1 #" << QStringList()
            << QStringLiteral("Razão Social do Fornecedor não Encontrado!!!");
        QTest::newRow("name not found") << name << "XYZ" << QStringList()
                                        << QStringLiteral("Razão Social do Fornecedor não Encontrado!!!");
        QTest::newRow("code not found")
            << code << "9" << QStringList() << QStringLiteral("Codigo do Fornecedor não Encontrado!!!");
        QTest::newRow("trade name not found")
            << trade << "XYZ" << QStringList() << QStringLiteral("Nome do Fantasia não Encontrado!!!");
        QTest::newRow("CNPJ not found")
            << cnpj << "5" << QStringList() << QStringLiteral("Cnpf do Fornecedor não Encontrado!!!");
    }
    void buttons()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(QStringList, codes);
        QFETCH(QString, message);
        const QString before = tableDigest();
        cad::TfrmFornecedor& f = m_fx->openScreen();
        auto* box = control<QLineEdit>(f, QStringLiteral("edtPesquisa"));
        box->setFocus();
        QTest::keyClicks(box, text);
        // The operator was in "Dados", in the company-name field, when pressing the button.
        QTabBar* tabs = control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QWidget* nome = control(f, QStringLiteral("dbedtNome"));
        QTest::mouseClick(nome, Qt::LeftButton);
        nome->setFocus(Qt::MouseFocusReason);
        click(f, button);

        QCOMPARE(messageTexts(*m_fx), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(listColumn(f, 0), codes);
        QVERIFY(f.tbFornecedor.isOpen());
        QCOMPARE(f.tbFornecedor.currentRow(), codes.isEmpty() ? -1 : 0);
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(QApplication::focusWidget(), message.isEmpty() ? nome : box);
        QCOMPARE(box->text(), text.toUpper());
        // Only a search that found rows without a message opens the purchase history.
        QCOMPARE(f.myqryNota.isOpen(), message.isEmpty());
        QCOMPARE(tableDigest(), before);
    }

    void purchaseHistoryOpensOnLastInvoice()
    {
        m_fx->local(QStringLiteral(
            "INSERT INTO Nota (Codigonota, Notafiscal, Codigofornecedor) VALUES (2, '78', 1)"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("SILVA"));
        QVERIFY(f.tbEntrada.isOpen());
        QCOMPARE(f.myqryNota.rowCount(), 2);
        QCOMPARE(f.myqryNota.text(QStringLiteral("Notafiscal")), QStringLiteral("78"));
        m_fx->local(QStringLiteral("DELETE FROM Nota WHERE Codigonota = 2"));
    }

    void altKeysPressTheButtons_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("Alt+C code") << int(Qt::Key_C) << "1_3" << QStringList{"103", "113", "1234"};
        QTest::newRow("Alt+R company name") << int(Qt::Key_R) << "SILVA" << QStringList{"1"};
        QTest::newRow("Alt+N trade name") << int(Qt::Key_N) << "QU" << QStringList{"1400", "1234", "13"};
        QTest::newRow("Alt+J CPF/CNPJ") << int(Qt::Key_J) << "123" << QStringList{"1"};
    }
    void altKeysPressTheButtons()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QStringList, codes);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        auto* box = control<QLineEdit>(f, QStringLiteral("edtPesquisa"));
        box->setFocus();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key(key), Qt::AltModifier);
        QTRY_COMPARE(listColumn(f, 0), codes); // a mnemonic clicks its button a moment later
        QCOMPARE(box->text(), text);
        QCOMPARE(messageTexts(*m_fx), QStringList());
    }

    void enterInSearchBoxRunsNoSearch()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        auto* box = control<QLineEdit>(f, QStringLiteral("edtPesquisa"));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("SILVA"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!f.tbFornecedor.isOpen());
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QVERIFY(QApplication::focusWidget() != box);
    }

    // A search drops a pending supplier without a question and leaves the bars as they were.
    void searchDiscardsPendingRow_data()
    {
        QTest::addColumn<bool>("newSupplier");
        QTest::newRow("new supplier") << true;
        QTest::newRow("edited supplier") << false;
    }
    void searchDiscardsPendingRow()
    {
        QFETCH(bool, newSupplier);
        const QString before = tableDigest();
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton1"), QStringLiteral("SILVA"));
        if (newSupplier) click(f, QStringLiteral("ToolButton1"));
        typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral("PENDENTE"));
        QVERIFY(f.tbFornecedor.isEditing());
        click(f, QStringLiteral("SpeedButton1"));
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(listColumn(f, 1), QStringList{QStringLiteral("SILVA E FILHOS LTDA")});
        QCOMPARE(tableDigest(), before);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Editing);
    }

    // A pasted character the single-byte columns cannot hold is looked for as stored texts
    // hold it ("?"), never sent as it is (the server refuses to compare it).
    void charactersOutsideTheCodePage_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("zero-width space, name")
            << "SpeedButton1" << QString::fromUtf8("SIL\u200bVA") << QStringList();
        QTest::newRow("O with double acute, trade name")
            << "TSpeedButton" << QString::fromUtf8("Ő") << QStringList();
        QTest::newRow("stored in its place")
            << "SpeedButton1" << QString::fromUtf8("CAFŐ") << QStringList{"9001"};
    }
    void charactersOutsideTheCodePage()
    {
        QFETCH(QString, button);
        QFETCH(QString, pasted);
        QFETCH(QStringList, codes);
        addSupplier(*m_fx, 9001, QStringLiteral("CAF? EXPRESSO"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        control<QLineEdit>(f, QStringLiteral("edtPesquisa"))->setText(pasted);
        click(f, button);
        const auto shown = m_fx->takeMessages();
        m_fx->local(QStringLiteral("DELETE FROM fornecedor WHERE CodigoFornecedor = 9001"));
        QCOMPARE(shown.size(), codes.isEmpty() ? 1 : 0);
        if (!shown.isEmpty()) QCOMPARE(shown.at(0).title, QStringLiteral("Atenção"));
        QVERIFY(f.tbFornecedor.isOpen());
        QCOMPARE(listColumn(f, 0), codes);
    }
};

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
