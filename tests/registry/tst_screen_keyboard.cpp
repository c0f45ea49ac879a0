// Keyboard on the supplier screen: the Tab key's path (header fields, search box, tab strip, then
// the fields of the active tab; "Cnpj / Cpf" only by clicking), Enter, and Alt+I.
#include "tests/registry/ScreenSteps.h"

#include <QTabWidget>

using namespace testsupport;

class ScreenKeyboardTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("keyboard"));
        addSupplier(*m_fx, 1, QStringLiteral("ALFA"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    void tabPath_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("path");
        const QStringList head{"dbedtNome", "dbedtNomefan", "edtPesquisa", "qt_tabwidget_tabbar"};
        QTest::newRow("Listagem") << 0 << head + QStringList{"grdFornecedor"};
        QTest::newRow("Dados") << 1
                               << head +
                                      QStringList{"dbedtIe",       "dbedtRg",          "QRadioButton",
                                                  "dbedtEndereco", "dbedtNumero",      "dbedtComplemento",
                                                  "dbedtBairro",   "dblkcbbufs",       "dblkcbbcodigocidade",
                                                  "dbedtCep",      "dbedtTelefone1",   "dbedtTelefone2",
                                                  "dbedtEmail",    "dbedtContato",     "dbedtTelcontato",
                                                  "dblkcbbTipo",   "dblkcbbGerencial", "dbedtValor",
                                                  "dbedtDiavenc",  "dbmmoObs"};
        QTest::newRow("Entrada") << 2 << head + QStringList{"grdNota"};
    }
    void tabPath()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, path);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(tab);
        control(f, QStringLiteral("dbedtNome"))->setFocus(Qt::MouseFocusReason);
        QStringList walked{nameOf(QApplication::focusWidget())};
        while (walked.size() < path.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << nameOf(QApplication::focusWidget());
        }
        QCOMPARE(walked, path);
    }

    // Enter moves on like Tab and skips "Cnpj / Cpf" too.
    void enterFollowsTheTabPath()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        control(f, QStringLiteral("dbedtNomefan"))->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(nameOf(QApplication::focusWidget()), QStringLiteral("edtPesquisa"));
        control(f, QStringLiteral("dbedtRg"))->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(nameOf(QApplication::focusWidget()), QStringLiteral("QRadioButton"));
    }

    // Alt+I presses "&Incluir" beside the cost centre only while "Dados" is showing.
    void altIOnDadosOnly_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("presses");
        QTest::newRow("Listagem") << 0 << 0;
        QTest::newRow("Dados") << 1 << 1;
        QTest::newRow("Entrada") << 2 << 0;
    }
    void altIOnDadosOnly()
    {
        QFETCH(int, tab);
        QFETCH(int, presses);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(tab);
        auto* incluir = control<QAbstractButton>(f, QStringLiteral("SpeedButton2"));
        QSignalSpy pressed(incluir, &QAbstractButton::clicked);
        ModalAnswer<> closer; // the button opens the cost centre screen modally: closed once up
        auto* box = control(f, QStringLiteral("edtPesquisa"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_I, Qt::AltModifier);
        // A mnemonic shows the button down at once and clicks it a moment later.
        QCOMPARE(incluir->isDown(), presses > 0);
        QTRY_COMPARE(int(pressed.size()), presses);
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
    }
};

QTEST_MAIN(ScreenKeyboardTest)
#include "tst_screen_keyboard.moc"
