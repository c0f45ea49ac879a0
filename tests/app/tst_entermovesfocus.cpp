// Enter in the search box moves the focus on, exactly as Tab does, and starts no search.
#include "tests/registry/ScreenFixture.h"

#include <QLineEdit>
#include <QtTest>

class EnterMovesFocusTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;

private Q_SLOTS:
    void initTestCase()
    {
        m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("enter"));
        m_fx->openScreen();
        QVERIFY(QTest::qWaitForWindowActive(&m_fx->screen()));
    }
    void cleanupTestCase() { m_fx.reset(); }

    void enterInSearchBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::newRow("empty box, Return") << QString() << int(Qt::Key_Return);
        QTest::newRow("name typed, Return") << QStringLiteral("SILVA") << int(Qt::Key_Return);
        QTest::newRow("name typed, keypad Enter") << QStringLiteral("SILVA") << int(Qt::Key_Enter);
        QTest::newRow("code typed, Return") << QStringLiteral("1") << int(Qt::Key_Return);
    }
    void enterInSearchBox()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        cad::TfrmFornecedor& f = m_fx->screen();
        QLineEdit* search = f.searchBox();

        // Where Tab goes from the search box.
        search->setFocus();
        QTest::keyClick(search, Qt::Key_Tab);
        QWidget* afterTab = QApplication::focusWidget();
        QVERIFY(afterTab && afterTab != search);

        search->setFocus();
        search->clear();
        QTest::keyClicks(search, typed);
        QTest::keyClick(search, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), afterTab);
        QCOMPARE(search->text(), typed);
        QVERIFY(!f.tbFornecedor.isOpen()); // no search ran
        QVERIFY(m_fx->takeMessages().isEmpty());
    }
};

QTEST_MAIN(EnterMovesFocusTest)
#include "tst_entermovesfocus.moc"
