// The general error display: a failure that reaches the event loop is shown in one modal box
// titled with the application's title, with the full-stop rule; a silent abort shows nothing.
#include "app/ui/CadApplication.h"

#include "app/ui/Dialogs.h"
#include "app/ui/ErrorDisplay.h"
#include "data/DbError.h"
#include <QBuffer>
#include <QImageReader>

#include <QtTest>

namespace {

// Throws from inside the event loop, as a failing command does.
class FailingCommand : public QObject
{
public:
    std::function<void()> action;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            action();
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

class ErrorDisplayTest : public QObject
{
    Q_OBJECT
    QList<cad::dialogs::Request> m_shown;

private Q_SLOTS:
    void init()
    {
        m_shown.clear();
        cad::dialogs::setResponder([this](const cad::dialogs::Request& r) {
            m_shown << r;
            return cad::dialogs::Answer::Ok;
        });
    }
    void cleanup() { cad::dialogs::setResponder({}); }

    void fullStop_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        // Added after a last character that sorts after ".".
        QTest::newRow("letter") << QStringLiteral("x") << QStringLiteral("x.");
        QTest::newRow("digit") << QStringLiteral("Erro 1045") << QStringLiteral("Erro 1045.");
        QTest::newRow("slash") << QStringLiteral("x/") << QStringLiteral("x/.");
        QTest::newRow("colon") << QStringLiteral("x:") << QStringLiteral("x:.");
        QTest::newRow("question mark") << QStringLiteral("x?") << QStringLiteral("x?.");
        QTest::newRow("closing bracket") << QStringLiteral("(x]") << QStringLiteral("(x].");
        QTest::newRow("accented letter") << QStringLiteral("Não") << QStringLiteral("Não.");
        // Nothing added after ".", or anything that sorts before it.
        QTest::newRow("exclamation") << QStringLiteral("x!") << QStringLiteral("x!");
        QTest::newRow("blank") << QStringLiteral("x ") << QStringLiteral("x ");
        QTest::newRow("comma") << QStringLiteral("x,") << QStringLiteral("x,");
        QTest::newRow("hyphen") << QStringLiteral("x-") << QStringLiteral("x-");
        QTest::newRow("full stop") << QStringLiteral("x.") << QStringLiteral("x.");
        QTest::newRow("closing parenthesis") << QStringLiteral("(x)") << QStringLiteral("(x)");
        QTest::newRow("quote") << QStringLiteral("'x'") << QStringLiteral("'x'");
        QTest::newRow("line break") << QStringLiteral("x\n") << QStringLiteral("x\n");
        QTest::newRow("empty") << QString() << QString();
    }
    void fullStop()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(cad::errordisplay::withFullStop(message), shown);
        cad::errordisplay::show(cad::DbError(message));
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(m_shown[0].text, shown);
    }

    // Through the event loop, as the program meets a failure: one error box, and the loop goes on.
    void failureInEventLoopIsShownAndLoopGoesOn()
    {
        FailingCommand command;
        command.action = [] { throw cad::DbError(QStringLiteral("Tabela 'nota' não existe")); };
        QCoreApplication::postEvent(&command, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&command, QEvent::User);
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(m_shown[0].title, QStringLiteral("Cadastro de Fornecedor"));
        QCOMPARE(m_shown[0].text, QStringLiteral("Tabela 'nota' não existe."));
        QCOMPARE(m_shown[0].icon, cad::dialogs::Icon::Error);
        QCOMPARE(m_shown[0].buttons, cad::dialogs::Buttons::Ok);

        bool ranAfter = false;
        command.action = [&] { ranAfter = true; };
        QCoreApplication::postEvent(&command, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&command, QEvent::User);
        QVERIFY(ranAfter);
        QCOMPARE(m_shown.size(), 1);
    }

    void silentAbortShowsNothing()
    {
        FailingCommand command;
        command.action = [] { throw cad::SilentAbort(); };
        QCoreApplication::postEvent(&command, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&command, QEvent::User);
        QVERIFY(m_shown.isEmpty());
    }

    // A command that fails under the wait pointer leaves the normal pointer for the box.
    void waitPointerRemoved()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::optional<bool> pointerDuringBox;
        cad::dialogs::setResponder([&](const cad::dialogs::Request&) {
            pointerDuringBox = QApplication::overrideCursor() != nullptr;
            return cad::dialogs::Answer::Ok;
        });
        cad::errordisplay::show(cad::DbError(QStringLiteral("falhou")));
        QCOMPARE(pointerDuringBox, std::optional<bool>(false));
    }

    // Qt's own texts reach the operator in Portuguese: the print dialog, the image decoder.
    void qtTextsInPortuguese()
    {
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Imprimir"));
        QBuffer notAnImage;
        notAnImage.setData("<html>não é uma imagem</html>");
        QImageReader reader(&notAnImage, "png");
        QVERIFY(reader.read().isNull());
        QVERIFY2(!reader.errorString().contains(QStringLiteral("Unable")), qPrintable(reader.errorString()));
        QVERIFY(!reader.errorString().isEmpty());
    }
};

// The program's own application object, so failures take the same road as in the program.
int main(int argc, char** argv)
{
    cad::CadApplication app(argc, argv);
    ErrorDisplayTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errordisplay.moc"
