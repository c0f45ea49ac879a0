// The cost centre screen opened from the supplier screen's "&Incluir": what the supplier screen
// does once it closes.
#include "data/widgets/DbLookupCombo.h"
#include "registry/TFrmGerencial.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/ScreenSteps.h"

#include <QTabBar>
#include <QtTest>

using cad::RecordSet;
using cad::TFrmGerencial;
using testsupport::control;

class GerencialSupplierTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;

    void showDados(cad::TfrmFornecedor& f)
    {
        auto* bar = f.findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(f.currentTab(), QStringLiteral("Dados"));
    }

    /// Presses "&Incluir" beside the cost centre; STEPS run on the cost centre screen while it is
    /// shown modally, which is then closed. False when no cost centre screen came up.
    bool openCostCentres(cad::TfrmFornecedor& f, std::function<void(TFrmGerencial&)> steps)
    {
        testsupport::ModalAnswer<TFrmGerencial> screen(steps);
        testsupport::click(f, QStringLiteral("SpeedButton2"));
        return screen.answered();
    }

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("gersup")); }
    void cleanupTestCase() { m_fx.reset(); }

    void closedSupplierListStaysClosed()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        showDados(f);
        QString caption;
        QVERIFY(openCostCentres(f, [&](TFrmGerencial& g) {
            caption = g.windowTitle();
            QVERIFY(g.isModal());
            QVERIFY(g.tbGerencial.rowCount() > 0);
        }));
        QCOMPARE(caption, QStringLiteral("Parvix Sistemas"));
        QVERIFY(f.findChildren<TFrmGerencial*>().isEmpty()); // destroyed when closed
        QVERIFY(!f.tbFornecedor.isOpen());
        QVERIFY(!f.tbGerencial.isOpen());
        QCOMPARE(f.bars(), cad::TfrmFornecedor::Bars::Browse);
        QCOMPARE(f.currentTab(), QStringLiteral("Dados"));
        QVERIFY(m_fx->takeMessages().isEmpty());
    }

    void pendingSupplierIsSavedOrEndedAndTheNewCostCentreOffered_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::newRow("changed: saved") << true;
        QTest::newRow("unchanged: editing ended") << false;
    }
    void pendingSupplierIsSavedOrEndedAndTheNewCostCentreOffered()
    {
        QFETCH(bool, changed);
        const QString comercial =
            m_fx->local(QStringLiteral(
                            "SELECT codigogerencial FROM ContaGerencial WHERE Gerencial = 'COMERCIAL'"))
                .value(0);
        m_fx->local(
            QStringLiteral(
                "DELETE FROM ContaGerencial WHERE Gerencial = 'COMPRAS'; DELETE FROM fornecedor; "
                "INSERT INTO fornecedor (CodigoFornecedor, Nome, CodigoGerencial) VALUES (1, 'ALFA', %1)")
                .arg(comercial));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.searchByLetter(QLatin1Char('A'));
        QCOMPARE(f.tbFornecedor.rowCount(), 1);
        showDados(f);
        auto* choice = control<cad::DbLookupCombo>(f, QStringLiteral("dblkcbbGerencial"));
        QCOMPARE(choice->currentText(), QStringLiteral("COMERCIAL"));
        if (changed)
            testsupport::typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral(" ltda"));
        else
            f.tbFornecedor.edit(); // as Ctrl+A
        QVERIFY(f.tbFornecedor.isEditing());

        QVERIFY(openCostCentres(f, [](TFrmGerencial& g) {
            testsupport::click(g, QStringLiteral("btnIncluir"));
            QTest::keyClicks(control<QLineEdit>(g, QStringLiteral("dbedtGerencial")),
                             QStringLiteral("compras"));
            testsupport::click(g, QStringLiteral("btnSalvar"));
        }));
        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(
            m_fx->local(QStringLiteral("SELECT COUNT(*) FROM ContaGerencial WHERE Gerencial = 'COMPRAS'")),
            QStringList{"1"});
        QCOMPARE(f.tbFornecedor.state(), RecordSet::State::Browse);
        // Saved with the rules of every save (the cost centre's name copied), or left as stored.
        QCOMPARE(
            m_fx->local(QStringLiteral("SELECT CONCAT(Nome, '|', COALESCE(Gerencial, '-')) FROM fornecedor")),
            QStringList{changed ? QStringLiteral("ALFA LTDA|COMERCIAL") : QStringLiteral("ALFA|-")});
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")),
                 changed ? QStringLiteral("ALFA LTDA") : QStringLiteral("ALFA"));
        // The choice offers the new cost centre and still shows the supplier's own.
        QVERIFY(choice->findText(QStringLiteral("COMPRAS")) >= 0);
        QCOMPARE(choice->currentText(), QStringLiteral("COMERCIAL"));
    }
};

QTEST_MAIN(GerencialSupplierTest)
#include "tst_gerencial_supplier.moc"
