// The cost centre screen over the real local server: commands by state, in-place editing,
// deleting, and the re-read of the list while idle.
#include "data/widgets/DbGrid.h"
#include "data/widgets/DbLineEdit.h"
#include "registry/TFrmGerencial.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/ScreenSteps.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QLabel>
#include <QtTest>

using cad::RecordSet;
using cad::TFrmGerencial;
using testsupport::click;
using testsupport::control;

class GerencialTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;
    std::unique_ptr<TFrmGerencial> m_screen;

    TFrmGerencial& screen() { return *m_screen; }
    cad::DbGrid* list() { return control<cad::DbGrid>(*m_screen, "grdGerencial"); }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 0; r < list()->model()->rowCount(); ++r)
            out << list()->model()->index(r, c).data().toString();
        return out;
    }
    /// Types TEXT over what the description field shows.
    void typeDescription(const QString& text)
    {
        auto* e = control<QLineEdit>(*m_screen, "dbedtGerencial");
        e->setFocus();
        e->selectAll();
        testsupport::typeText(e, text);
    }
    void clickRow(int row)
    {
        const QRect r = list()->visualRect(list()->model()->index(row, 1));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }
    /// Opens the description cell of the current row with the first letter and types the rest.
    void typeInCell(const QString& text)
    {
        list()->setFocus();
        QTest::keyClick(list(), text.at(0).toLatin1());
        QWidget* cell = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(cell));
        QTest::keyClicks(cell, text.mid(1));
    }
    QStringList stored()
    {
        return m_fx->local(QStringLiteral("SELECT Gerencial FROM ContaGerencial ORDER BY codigogerencial"));
    }
    QList<cad::dialogs::Request> messages() { return m_fx->takeMessages(); }

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("gerencial"));
        m_fx->openScreen();
    }
    void cleanupTestCase() { m_fx.reset(); }

    void init()
    {
        m_fx->local(QStringLiteral(
            "DELETE FROM ContaGerencial; INSERT INTO ContaGerencial (codigogerencial, Gerencial) "
            "VALUES (1, 'LOGISTICA'), (2, 'ADMINISTRATIVO'), (3, 'COMERCIAL')"));
        m_screen = std::make_unique<TFrmGerencial>(m_fx->dm());
        m_screen->show();
        QApplication::setActiveWindow(m_screen.get());
        QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
        messages();
    }
    void cleanup()
    {
        m_screen.reset();
        QVERIFY2(messages().isEmpty(), "a message was left unchecked");
    }

    void opensSortedInBrowseStateWithRowColours()
    {
        QCOMPARE(screen().windowTitle(), QStringLiteral("Parvix Sistemas"));
        QCOMPARE(control<QLabel>(*m_screen, "lblTitulo")->text(), QStringLiteral("Centro de Custo"));
        QAbstractItemModel* m = list()->model();
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Descrição do Centro de Custo"));
        QCOMPARE(column(1), (QStringList{"ADMINISTRATIVO", "COMERCIAL", "LOGISTICA"}));
        QCOMPARE(column(0), (QStringList{"2", "3", "1"}));
        QCOMPARE(control<QLabel>(*m_screen, "dbtxtCodigo")->text(), QStringLiteral("2"));
        QCOMPARE(control<QLineEdit>(*m_screen, "dbedtGerencial")->text(), QStringLiteral("ADMINISTRATIVO"));

        const QColor odd(220, 230, 220), even(244, 243, 236), current(240, 240, 255);
        auto background = [&](int row) { return m->index(row, 0).data(Qt::BackgroundRole).value<QColor>(); };
        QCOMPARE(background(0), current);
        QCOMPARE(background(1), even);
        QCOMPARE(background(2), odd);
        click(*m_screen, "btnUltimo");
        QCOMPARE(background(0), odd);
        QCOMPARE(background(2), current);

        // Button groups by state.
        auto shown = [&](const char* b) { return control<QAbstractButton>(*m_screen, b)->isVisible(); };
        for (const char* b : {"btnIncluir", "btnExcluir", "btnFechar", "btnPrimeiro", "btnAnterior",
                              "btnProximo", "btnUltimo"})
            QVERIFY2(shown(b), b);
        QVERIFY(!shown("btnSalvar") && !shown("btnCancelar"));
        click(*m_screen, "btnIncluir");
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Editing);
        QVERIFY(shown("btnSalvar") && shown("btnCancelar"));
        for (const char* b : {"btnIncluir", "btnExcluir", "btnFechar", "btnPrimeiro", "btnProximo"})
            QVERIFY2(!shown(b), b);
        click(*m_screen, "btnCancelar");
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Browse);
        QVERIFY(shown("btnIncluir") && !shown("btnSalvar"));
        QCOMPARE(screen().tbGerencial.rowCount(), 3);
    }

    void incluirTypeSalvarStoresInSortedPlace_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("place");
        QTest::newRow("lower case, between") << "compras"
                                             << "COMPRAS" << 2;
        QTest::newRow("sorts first") << "abastecimento"
                                     << "ABASTECIMENTO" << 0;
        QTest::newRow("accented letters") << "ação social"
                                          << "AÇÃO SOCIAL" << 1;
        QTest::newRow("longer than 50")
            << QString(55, QLatin1Char('z')) << QString(50, QLatin1Char('Z')) << 3;
    }
    void incluirTypeSalvarStoresInSortedPlace()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(int, place);
        click(*m_screen, "btnIncluir");
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Insert);
        QCOMPARE(QApplication::focusWidget(), control(*m_screen, "dbedtGerencial"));
        typeDescription(typed);
        click(*m_screen, "btnSalvar");

        const QStringList row =
            m_fx->local(QStringLiteral("SELECT CONCAT(codigogerencial, '|', Gerencial) FROM ContaGerencial "
                                       "WHERE codigogerencial > 3"));
        QCOMPARE(row.size(), 1);
        const QString code = row[0].section(QLatin1Char('|'), 0, 0);
        QCOMPARE(row[0].section(QLatin1Char('|'), 1), stored);
        QCOMPARE(column(0).value(place), code);
        QCOMPARE(column(1).value(place), stored);
        QCOMPARE(screen().tbGerencial.currentRow(), place);
        QCOMPARE(control<QLabel>(*m_screen, "dbtxtCodigo")->text(), code);
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Browse);
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Browse);
    }

    void excluirDeletesAtOnceAndSuppliersKeepTheCode()
    {
        m_fx->local(QStringLiteral(
            "DELETE FROM fornecedor; INSERT INTO fornecedor (Nome, CodigoGerencial) VALUES ('A', 3)"));
        clickRow(1); // COMERCIAL, code 3
        click(*m_screen, "btnExcluir");
        QCOMPARE(stored(), (QStringList{"LOGISTICA", "ADMINISTRATIVO"}));
        QCOMPARE(column(1), (QStringList{"ADMINISTRATIVO", "LOGISTICA"}));
        clickRow(1);
        click(*m_screen, "btnExcluir");
        QCOMPARE(m_fx->local(QStringLiteral("SELECT CodigoGerencial FROM fornecedor")), QStringList{"3"});
        QVERIFY(messages().isEmpty()); // never asked

        // With the list empty, the data layer's error is shown and nothing changes.
        click(*m_screen, "btnExcluir");
        QVERIFY(messages().isEmpty());
        QVERIFY(screen().tbGerencial.isEmpty());
        click(*m_screen, "btnExcluir");
        const auto shown = messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, cad::dialogs::Icon::Error);
        QVERIFY(screen().tbGerencial.isOpen());
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Browse);
    }

    void renamingInTheFieldThenProximoSaves()
    {
        typeDescription(QStringLiteral("adm geral"));
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Edit);
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Browse); // no command started it
        click(*m_screen, "btnProximo");
        QCOMPARE(stored(), (QStringList{"LOGISTICA", "ADM GERAL", "COMERCIAL"}));
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Browse);
        QCOMPARE(screen().tbGerencial.currentRow(), 1);
    }

    void typingInTheListCell_data()
    {
        QTest::addColumn<bool>("closeFirst");
        QTest::newRow("another row chosen: saved") << false;
        QTest::newRow("screen closed first: lost") << true;
    }
    void typingInTheListCell()
    {
        QFETCH(bool, closeFirst);
        QAbstractItemModelTester tester(list()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        clickRow(2); // LOGISTICA, code 3
        typeInCell(QStringLiteral("transporte"));
        QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), QStringLiteral("TRANSPORTE"));
        if (closeFirst) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
            QVERIFY(!screen().isVisible());
            QVERIFY(!screen().tbGerencial.isOpen());
            QCOMPARE(stored(), (QStringList{"LOGISTICA", "ADMINISTRATIVO", "COMERCIAL"}));
            return;
        }
        clickRow(0);
        QCOMPARE(stored(), (QStringList{"TRANSPORTE", "ADMINISTRATIVO", "COMERCIAL"}));
        QCOMPARE(screen().tbGerencial.currentRow(), 0);
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Browse);
    }

    void ctrlDeleteInTheListAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("No") << int(cad::dialogs::Answer::No)
                            << QStringList{"LOGISTICA", "ADMINISTRATIVO", "COMERCIAL"};
        QTest::newRow("Yes") << int(cad::dialogs::Answer::Yes) << QStringList{"LOGISTICA", "ADMINISTRATIVO"};
    }
    void ctrlDeleteInTheListAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        clickRow(1); // COMERCIAL
        m_fx->answerNext(cad::dialogs::Answer(answer));
        QTest::keyClick(list(), Qt::Key_Delete, Qt::ControlModifier);
        const auto asked = messages();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].buttons, cad::dialogs::Buttons::YesNo);
        QCOMPARE(asked[0].defaultAnswer, cad::dialogs::Answer::No);
        QCOMPARE(stored(), left);
        QVERIFY(screen().isRereading());
    }

    void enterMovesTheFocusAndCtrlFCloses()
    {
        QWidget* field = control(*m_screen, "dbedtGerencial");
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(list()));
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), field);
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Browse); // Enter changed nothing
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(screen().isVisible());
        QTest::keyClick(field, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(!screen().isVisible());
        QVERIFY(!screen().tbGerencial.isOpen());
        QVERIFY(!screen().isRereading());
    }

    void failedSaveKeepsEditing()
    {
        click(*m_screen, "btnIncluir");
        typeDescription(QStringLiteral("compras"));
        m_fx->local(QStringLiteral("RENAME TABLE ContaGerencial TO ContaGerencialFora"));
        click(*m_screen, "btnSalvar");
        m_fx->local(QStringLiteral("RENAME TABLE ContaGerencialFora TO ContaGerencial"));
        QCOMPARE(messages().size(), 1);
        QCOMPARE(screen().tbGerencial.state(), RecordSet::State::Insert);
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Editing);
        click(*m_screen, "btnSalvar");
        QCOMPARE(stored().value(3), QStringLiteral("COMPRAS"));
        QCOMPARE(screen().bars(), TFrmGerencial::Bars::Browse);
    }

    void rowAddedElsewhereIsListedWhileIdle()
    {
        QVERIFY(screen().isRereading());
        clickRow(1);
        m_fx->local(QStringLiteral("INSERT INTO ContaGerencial (Gerencial) VALUES ('BANCOS')"));
        QTRY_COMPARE_WITH_TIMEOUT(column(1),
                                  (QStringList{"ADMINISTRATIVO", "BANCOS", "COMERCIAL", "LOGISTICA"}),
                                  TFrmGerencial::kRereadIntervalMs + 3000);
        QCOMPARE(screen().tbGerencial.text(QStringLiteral("Gerencial")), QStringLiteral("COMERCIAL")); // kept
    }

    void listCellStillTypedAfterAReread()
    {
        clickRow(1);
        screen().tmrAtualizarTimer(); // as the timer does
        typeInCell(QStringLiteral("vendas"));
        clickRow(0);
        QCOMPARE(stored(), (QStringList{"LOGISTICA", "ADMINISTRATIVO", "VENDAS"}));
    }

    void noRereadWhileARowIsChanged_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("new row") << "Incluir";
        QTest::newRow("renamed in the field") << "field";
        QTest::newRow("cell open in the list") << "cell";
    }
    void noRereadWhileARowIsChanged()
    {
        QFETCH(QString, how);
        if (how == QLatin1String("Incluir")) {
            click(*m_screen, "btnIncluir");
            typeDescription(QStringLiteral("parcial"));
        } else if (how == QLatin1String("field")) {
            typeDescription(QStringLiteral("parcial"));
        } else {
            typeInCell(QStringLiteral("parcial"));
        }
        m_fx->local(QStringLiteral("INSERT INTO ContaGerencial (Gerencial) VALUES ('BANCOS')"));
        screen().tmrAtualizarTimer(); // as the timer does
        QCOMPARE(screen().tbGerencial.rowCount(), how == QLatin1String("Incluir") ? 4 : 3);
        QCOMPARE(stored(),
                 (QStringList{"LOGISTICA", "ADMINISTRATIVO", "COMERCIAL", "BANCOS"})); // nothing saved
        QVERIFY(screen().isRereading());
    }

    void failedRereadIsShownOnceAndStopsRereading()
    {
        m_fx->local(QStringLiteral("RENAME TABLE ContaGerencial TO ContaGerencialFora"));
        QTRY_VERIFY_WITH_TIMEOUT(!screen().isRereading(), TFrmGerencial::kRereadIntervalMs + 3000);
        m_fx->local(QStringLiteral("RENAME TABLE ContaGerencialFora TO ContaGerencial"));
        const auto shown = messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, cad::dialogs::Icon::Error);
        QCOMPARE(column(1), (QStringList{"ADMINISTRATIVO", "COMERCIAL", "LOGISTICA"})); // kept what it had
        // Commands still work; the re-reading stays off.
        click(*m_screen, "btnProximo");
        QCOMPARE(screen().tbGerencial.currentRow(), 1);
        QVERIFY(!screen().isRereading());
    }
};

QTEST_MAIN(GerencialTest)
#include "tst_gerencial.moc"
