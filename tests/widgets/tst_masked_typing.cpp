// Typing into a masked field starts at its first empty position, however the field got the focus.
#include "data/widgets/MaskedTyping.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

class MaskedTypingTest : public QObject
{
    Q_OBJECT
    QWidget m_window;
    QLineEdit* m_before = nullptr;
    QLineEdit* m_field = nullptr;

    // A fresh masked field after another one, in an active window, without the focus.
    void makeField(const QString& mask)
    {
        delete m_field;
        m_field = new QLineEdit(&m_window);
        m_window.layout()->addWidget(m_field);
        m_field->setInputMask(mask);
        m_field->setText(QString()); // the cursor now stands after the mask's last position
        cad::typeFromFirstBlank(m_field);
        m_field->show();
        m_before->setFocus();
        QTRY_VERIFY(m_before->hasFocus());
    }

private Q_SLOTS:
    void initTestCase()
    {
        new QVBoxLayout(&m_window);
        m_before = new QLineEdit(&m_window);
        m_window.layout()->addWidget(m_before);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        QVERIFY(QTest::qWaitForWindowActive(&m_window));
    }

    void typingReachesTheField_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("first");  // typed first, focus then leaves
        QTest::addColumn<int>("how");        // 0 by program, 1 by Tab, 2 by a click past the text
        QTest::addColumn<QString>("second"); // typed after the focus came back
        QTest::addColumn<QString>("shown");
        const QString cnpj = QStringLiteral("00.000.000/0000-00");
        QTest::newRow("CNPJ, empty, by program")
            << cnpj << QString() << 0 << "11222333000181" << QStringLiteral("11.222.333/0001-81");
        QTest::newRow("CNPJ, empty, by Tab")
            << cnpj << QString() << 1 << "11222333000181" << QStringLiteral("11.222.333/0001-81");
        QTest::newRow("CNPJ, empty, by a click")
            << cnpj << QString() << 2 << "11222333000181" << QStringLiteral("11.222.333/0001-81");
        QTest::newRow("CNPJ, partly typed, by program")
            << cnpj << "11222" << 0 << "333000181" << QStringLiteral("11.222.333/0001-81");
        QTest::newRow("CNPJ, partly typed, by Tab")
            << cnpj << "11222" << 1 << "333000181" << QStringLiteral("11.222.333/0001-81");
        QTest::newRow("CNPJ, partly typed, by a click past the text")
            << cnpj << "11222" << 2 << "333000181" << QStringLiteral("11.222.333/0001-81");
        QTest::newRow("birth date with blank character, by program")
            << QStringLiteral("99/99/0000; ") << QString() << 0 << "01021980" << QStringLiteral("01/02/1980");
        QTest::newRow("letters or digits raised, escaped literal")
            << QStringLiteral(">NN.NNN\\.NNN/NNNN-00;_") << "ab" << 1 << "1cd34ef5678"
            << QStringLiteral("AB.1CD.34E/F567-8_");
    }
    void typingReachesTheField()
    {
        QFETCH(QString, mask);
        QFETCH(QString, first);
        QFETCH(int, how);
        QFETCH(QString, second);
        QFETCH(QString, shown);
        makeField(mask);
        if (!first.isEmpty()) {
            m_field->setFocus();
            QTest::keyClicks(m_field, first);
            m_before->setFocus();
            QTRY_VERIFY(m_before->hasFocus());
        }
        if (how == 0) {
            m_field->setFocus();
        } else if (how == 1) {
            QTest::keyClick(m_before, Qt::Key_Tab);
        } else {
            const QPoint end(m_field->width() - 4, m_field->height() / 2);
            QTest::mouseClick(m_field, Qt::LeftButton, {}, end);
        }
        QTRY_VERIFY(m_field->hasFocus());
        QCOMPARE(m_field->cursorPosition(), cad::firstBlankPosition(m_field));
        QTest::keyClicks(m_field, second);
        QCOMPARE(m_field->displayText(), shown);
    }

    // A click within the typed text keeps its place (to correct a character); a full field keeps
    // the cursor where the field put it.
    void clickWithinTheTextKeepsItsPlace()
    {
        makeField(QStringLiteral("99/99/0000; "));
        m_field->setFocus();
        QTest::keyClicks(m_field, QStringLiteral("0102"));
        QCOMPARE(cad::firstBlankPosition(m_field), 6);
        QTest::mouseClick(m_field, Qt::LeftButton, {},
                          QPoint(m_field->fontMetrics().horizontalAdvance(u'/'), m_field->height() / 2));
        QVERIFY(m_field->cursorPosition() < 5);
        m_field->setText(QStringLiteral("01021980"));
        QCOMPARE(cad::firstBlankPosition(m_field), -1);
        m_before->setFocus();
        m_field->setFocus();
        QTRY_VERIFY(m_field->hasFocus());
        QCOMPARE(m_field->cursorPosition(), 10);
    }
};

QTEST_MAIN(MaskedTypingTest)
#include "tst_masked_typing.moc"
