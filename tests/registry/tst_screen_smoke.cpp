// The supplier screen starts over the real servers: caption, empty closed list, browse layout.
#include "data/widgets/DbLookupCombo.h"
#include "data/widgets/DbRadioGroup.h"
#include "tests/registry/ScreenFixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTabBar>
#include <QtTest>

class ScreenSmokeTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("smoke")); }
    void cleanupTestCase() { m_fx.reset(); }

    void startsWithCaptionAndClosedList()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen(QStringLiteral("MARIA"));
        QCOMPARE(f.windowTitle(),
                 QStringLiteral("Atualizado 24-08-2023 / 19:30 - Nome do Usuário : MARIA - LOJA CENTRO"));
        QVERIFY(!f.tbFornecedor.isOpen());
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QVERIFY(m_fx->takeMessages().isEmpty());
        // Navigation and "Atualizar" do nothing while the list is closed.
        f.AtualizarClick();
        QVERIFY(!f.tbFornecedor.isOpen());
    }

    // A visible screen may go while a field holds typed text: the field loses the focus after
    // the screen's record sets are gone and must leave them alone.
    void destroyedWhileAFieldIsTyped()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.ToolButton1Click();
        auto* valor = f.findChild<QLineEdit*>(QStringLiteral("dbedtValor"));
        valor->setFocus();
        QTest::keyClicks(valor, QStringLiteral("12X"));
        QVERIFY(valor->hasFocus() && f.isVisible());
        m_fx->openScreen();
        QCOMPARE(m_fx->takeMessages().size(), 0);
    }

    void leavingTheDocumentFieldAdjustsTaxpayerFields()
    {
        m_fx->local(
            QStringLiteral("DELETE FROM fornecedor; INSERT INTO fornecedor (Nome, Cgccpf, TipoContribuinte) "
                           "VALUES ('PESSOA', '11144477735', 1), ('EMPRESA', '11222333000181', 1)"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.searchByLetter(QLatin1Char('E'));
        auto* doc = f.findChild<QLineEdit*>(QStringLiteral("dbedtCgccpf"));
        auto* rgCaption = f.findChild<QWidget*>(QStringLiteral("lbl_dbedtRg"));
        auto* ieCaption = f.findChild<QWidget*>(QStringLiteral("lbl_dbedtIe"));
        QTest::mouseClick(f.findChild<QTabBar*>(), Qt::LeftButton, {},
                          f.findChild<QTabBar*>()->tabRect(1).center());
        doc->setFocus(Qt::MouseFocusReason);
        f.findChild<QWidget*>(QStringLiteral("dbedtNumero"))->setFocus(Qt::TabFocusReason);
        QVERIFY(rgCaption->isHidden()); // a company's document
        QVERIFY(!ieCaption->isHidden());
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);

        f.searchByLetter(QLatin1Char('P'));
        QTest::mouseClick(f.findChild<QTabBar*>(), Qt::LeftButton, {},
                          f.findChild<QTabBar*>()->tabRect(1).center());
        doc->setFocus(Qt::MouseFocusReason);
        f.findChild<QWidget*>(QStringLiteral("dbedtNumero"))->setFocus(Qt::TabFocusReason);
        QVERIFY(ieCaption->isHidden()); // a person's: non-contributor, which starts editing
        QCOMPARE(f.tbFornecedor.value(QStringLiteral("TipoContribuinte")).toInt(), 9);
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Edit);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Editing);

        // Saving turns to "Listagem", which hides the focused field: that is no leaving it.
        f.findChild<cad::DbRadioGroup*>()->buttons()->button(0)->click(); // back to a contributor
        doc->setFocus(Qt::MouseFocusReason);
        f.ToolButton7Click();
        QCOMPARE(m_fx->local(QStringLiteral("SELECT TipoContribuinte FROM fornecedor WHERE Nome='PESSOA'")),
                 QStringList{QStringLiteral("1")});
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
    }

    void savingKeepsAMunicipalityTheNarrowedListDoesNotHold()
    {
        m_fx->local(QStringLiteral(
            "DELETE FROM fornecedor; INSERT INTO fornecedor (Nome, Estado, CodigoCidade, CodCidade) "
            "VALUES ('MINEIRO', 'MG', 3106200, 3106200)"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.searchByLetter(QLatin1Char('M'));
        f.stateList()->setKey(QStringLiteral("SP")); // the list narrowed to another state
        f.dblkcbbufsClick();
        QCOMPARE(f.municipalityList()->shownText(), QString());
        f.tbFornecedor.edit();
        f.tbFornecedor.setValue(QStringLiteral("Nome"), QStringLiteral("MINEIRO E FILHOS"));
        f.tbFornecedor.post();
        QCOMPARE(m_fx->local(QStringLiteral("SELECT CONCAT(CodigoCidade, '/', CodCidade) FROM fornecedor")),
                 QStringList{QStringLiteral("3106200/3106200")});
    }
};

QTEST_MAIN(ScreenSmokeTest)
#include "tst_screen_smoke.moc"
