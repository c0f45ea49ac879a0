// The letter strip: each letter lists the company names beginning with it, quietly.
#include "tests/registry/ScreenSteps.h"

#include <QTabWidget>

using namespace testsupport;

class SearchLettersTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("letters"));
        addSupplier(*m_fx, 1, QStringLiteral("QUITERIA SOUZA"));
        addSupplier(*m_fx, 2, QStringLiteral("ARMAZEM QUALIDADE"));
        addSupplier(*m_fx, 3, QStringLiteral("QUEIROZ ATACADO"));
        addSupplier(*m_fx, 4, QStringLiteral("ALFA"));
        addSupplier(*m_fx, 5, QStringLiteral("ZETA"));
    }
    void cleanupTestCase() { m_fx.reset(); }

    void letter_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("Q") << "RxLabel27"
                           << "Q" << QStringList{"3", "1"};
        QTest::newRow("A") << "RxLabel4"
                           << "A" << QStringList{"4", "2"};
        QTest::newRow("C") << "RxLabel2"
                           << "C" << QStringList();
        QTest::newRow("R") << "RxLabel18"
                           << "R" << QStringList();
        QTest::newRow("Z") << "RxLabel26"
                           << "Z" << QStringList{"5"};
    }
    void letter()
    {
        QFETCH(QString, label);
        QFETCH(QString, letter);
        QFETCH(QStringList, codes);
        cad::TfrmFornecedor& f = m_fx->openScreen();
        auto* box = control<QLineEdit>(f, QStringLiteral("edtPesquisa"));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("SILVA"));
        auto* tabs = control<QTabWidget>(f, QStringLiteral("pgcFornecedor"));
        tabs->setCurrentIndex(1);
        auto* strip = control<QAbstractButton>(f, label);
        QCOMPARE(strip->text(), letter);
        QTest::mouseClick(strip, Qt::LeftButton);
        QCOMPARE(box->text(), letter);
        QCOMPARE(listColumn(f, 0), codes);
        QCOMPARE(f.currentTab(), QStringLiteral("Listagem"));
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QVERIFY(!f.myqryNota.isOpen());
        QCOMPARE(QApplication::focusWidget(), box);
    }

    void letterDiscardsPendingSupplier()
    {
        cad::TfrmFornecedor& f = m_fx->openScreen();
        click(f, QStringLiteral("ToolButton1"));
        typeInto(f, QStringLiteral("dbedtNome"), QStringLiteral("QUINTAL"));
        QTest::mouseClick(control<QAbstractButton>(f, QStringLiteral("RxLabel27")), Qt::LeftButton);
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(listColumn(f, 0), (QStringList{"3", "1"}));
        QCOMPARE(m_fx->local(QStringLiteral("SELECT COUNT(*) FROM fornecedor")).value(0),
                 QStringLiteral("5"));
    }
};

QTEST_MAIN(SearchLettersTest)
#include "tst_search_letters.moc"
