// Typing into the supplier's fields: letter case, how much a field takes, what the record keeps.
#include "tests/registry/ScreenSteps.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>

using namespace testsupport;

class ScreenFieldsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("fields"));
        addSupplier(*m_fx, 1, QStringLiteral("ALFA"), QStringLiteral("A"), QStringLiteral("11144477735"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    void typedAndStored_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        const QString sixty(60, QLatin1Char('b'));
        QTest::newRow("company name: upper case, 50")
            << "dbedtNome"
            << "Nome" << sixty << QString(50, 'B') << QString(50, 'B');
        QTest::newRow("trade name: upper case, ç too") << "dbedtNomefan"
                                                       << "nomefan"
                                                       << "açúcar"
                                                       << "AÇÚCAR"
                                                       << "AÇÚCAR";
        QTest::newRow("state registration: lower case, 18 typed, 15 kept") << "dbedtIe"
                                                                           << "ie"
                                                                           << "ABC123456789012345678"
                                                                           << "abc123456789012345"
                                                                           << "abc123456789012";
        QTest::newRow("RG: upper case") << "dbedtRg"
                                        << "rg"
                                        << "mg12"
                                        << "MG12"
                                        << "MG12";
        QTest::newRow("telephone: as typed") << "dbedtTelefone1"
                                             << "Telefone1"
                                             << "(11) ramal"
                                             << "(11) ramal"
                                             << "(11) ramal";
        QTest::newRow("e-mail: as typed") << "dbedtEmail"
                                          << "email"
                                          << "Ana@Loja.com"
                                          << "Ana@Loja.com"
                                          << "Ana@Loja.com";
        QTest::newRow("contact: upper case, 25")
            << "dbedtContato"
            << "contato" << QString(30, 'c') << QString(25, 'C') << QString(25, 'C');
        QTest::newRow("due day: 2") << "dbedtDiavenc"
                                    << "diavenc"
                                    << "123"
                                    << "12"
                                    << "12";
        QTest::newRow("CPF/CNPJ: upper case, 18") << "dbedtCgccpf"
                                                  << "Cgccpf"
                                                  << "11.144.477/7350-00x"
                                                  << "11.144.477/7350-00"
                                                  << "11.144.477/7350-00";
    }
    void typedAndStored()
    {
        QFETCH(QString, field);
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        auto* edit = control<QLineEdit>(f, field);
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, typed);
        QCOMPARE(edit->text(), shown);
        QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier); // saved with the record-level rules only
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(
            m_fx->local(QStringLiteral("SELECT %1 FROM fornecedor WHERE CodigoFornecedor = 1").arg(column)),
            QStringList{stored});
        QCOMPARE(messageTexts(*m_fx), QStringList());
    }

    // A choice changes the record like typing does: editing layout at once, and the choice (with
    // the text the save copies from its list) is what the record keeps.
    void choosingStartsEditing_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("textColumn");
        QTest::addColumn<QString>("text");
        QTest::newRow("taxpayer type") << "2 - ISENTO"
                                       << "TipoContribuinte"
                                       << "2"
                                       << "CodigoFornecedor"
                                       << "1";
        QTest::newRow("expense type, first by name") << "dblkcbbTipo"
                                                     << "CodigoTipo"
                                                     << "4"
                                                     << "Tipos"
                                                     << "ALUGUEL";
        QTest::newRow("cost centre, first by name") << "dblkcbbGerencial"
                                                    << "CodigoGerencial"
                                                    << "1"
                                                    << "Gerencial"
                                                    << "ADMINISTRATIVO";
    }
    void choosingStartsEditing()
    {
        QFETCH(QString, choice);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QString, textColumn);
        QFETCH(QString, text);
        m_fx->local(QStringLiteral("UPDATE fornecedor SET TipoContribuinte = 1, CodigoTipo = NULL, "
                                   "CodigoGerencial = NULL WHERE CodigoFornecedor = 1"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        QWidget* chosen = nullptr;
        if (auto* combo = f.findChild<QComboBox*>(choice)) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Down); // the first entry of the list
            chosen = combo;
        } else {
            for (auto* b : f.findChildren<QRadioButton*>())
                if (b->text() == choice) chosen = b;
            QVERIFY(chosen);
            QTest::mouseClick(chosen, Qt::LeftButton);
        }
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Edit);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Editing);
        QTest::keyClick(chosen, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_fx->local(
                     QStringLiteral("SELECT CONCAT(%1, '|', %2) FROM fornecedor WHERE CodigoFornecedor = 1")
                         .arg(column, textColumn)),
                 QStringList{stored + QLatin1Char('|') + text});
    }

    void shownOnlyFieldsTakeNoTyping_data()
    {
        QTest::addColumn<QString>("field");
        for (const char* f : {"dbedtCnaePrincipal", "dbedtSituacao", "dbedtTipoEmpresa", "dbedtKilometragem"})
            QTest::newRow(f) << QString::fromLatin1(f);
    }
    void shownOnlyFieldsTakeNoTyping()
    {
        QFETCH(QString, field);
        m_fx->local(
            QStringLiteral("UPDATE fornecedor SET cnaeprincipal = 'C', situacao = 'S', tipoempresa = 'T', "
                           "kilometragem = 'K' WHERE CodigoFornecedor = 1"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        search(f, QStringLiteral("SpeedButton4"), QStringLiteral("1"));
        control<QTabWidget>(f, QStringLiteral("pgcFornecedor"))->setCurrentIndex(1);
        auto* edit = control<QLineEdit>(f, field);
        const QString before = edit->text();
        QVERIFY(!before.isEmpty());
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("X"));
        QCOMPARE(edit->text(), before);
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
    }

    void closedListTakesNoTyping()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral("NOVO"));
        QCOMPARE(control<QLineEdit>(f, QStringLiteral("dbedtNome"))->text(), QString());
        QVERIFY(!f.tbFornecedor.isOpen());
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
        QCOMPARE(messageTexts(*m_fx), QStringList());
    }
};

QTEST_MAIN(ScreenFieldsTest)
#include "tst_screen_fields.moc"
