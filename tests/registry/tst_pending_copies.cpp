// Central copies that failed inside a save: kept on disk, retried in the background, shown on
// the supplier screen. The central server is made unreachable by pointing the program at a
// closed port; it comes back when the program is pointed at the real one again.
#include "registry/CentralRetry.h"
#include "registry/PendingCopies.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/SupplierEntry.h"
#include "tests/support/LoopbackPort.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QTableWidget>
#include <QToolBar>
#include <QtTest>

using cad::TfrmFornecedor;
using namespace testsupport;

class PendingCopiesTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenFixture> m_fx;
    TfrmFornecedor* m_f = nullptr;
    int m_closedPort = 0;

    void pointCentralAt(int port)
    {
        cad::Connection& central = m_fx->dm().MyOstrel;
        cad::ConnectionSettings s = central.settings();
        s.port = port;
        central.close();
        central.setSettings(s);
    }
    QString central(const QString& key, const QString& column)
    {
        return m_fx->central(QStringLiteral("SELECT %1 FROM fornecedor WHERE Cgccpf='%2'").arg(column, key))
            .value(0);
    }
    cad::PendingCopies& pending() { return m_f->pendingCopies(); }
    void retryAndWait()
    {
        QTRY_VERIFY(!m_f->centralRetry().isRunning()); // the button is off while a retry runs
        click(*m_f, QStringLiteral("btnTentarAgora"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_f->centralRetry().isRunning(), 15000);
    }

    /// Saves a new supplier while the central server is unreachable; returns its code. The boxes
    /// shown before the save's error are left in m_before.
    qlonglong savePending(const QString& nome, const QString& document)
    {
        if (m_f->bars() == TfrmFornecedor::Bars::Editing) click(*m_f, "ToolButton7"); // after a failed copy
        pointCentralAt(m_closedPort);
        SupplierInput in;
        in.nome = nome;
        in.document = document;
        enterNew(*m_f, in);
        click(*m_f, "ToolButton7");
        m_before = m_fx->takeMessages();
        pointCentralAt(server(Role::Central).port);
        if (m_before.isEmpty() || m_before.takeLast().icon != cad::dialogs::Icon::Error)
            qFatal("the save showed no error");
        return m_f->tbFornecedor.value(QStringLiteral("CodigoFornecedor")).toLongLong();
    }
    QList<cad::dialogs::Request> m_before;

private Q_SLOTS:
    void initTestCase()
    {
        m_closedPort = unusedLoopbackPort();
        QVERIFY(m_closedPort > 0);
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("pending"));
        m_f = &m_fx->openScreen();
    }
    void cleanupTestCase() { m_fx.reset(); }

    void failedCopyIsKeptOnDiskAndShown()
    {
        auto* note = m_f->findChild<QWidget*>(QStringLiteral("pnlCopiasPendentes"));
        QVERIFY(note && note->isHidden());
        const qlonglong code =
            savePending(QStringLiteral("PENDENTE UM"), QStringLiteral("11.222.333/0001-81"));

        // The save behaves as without the list: the local row saved, the editing bars kept.
        QCOMPARE(m_f->bars(), TfrmFornecedor::Bars::Editing);
        QCOMPARE(m_f->currentTab(), QStringLiteral("Dados"));
        QVERIFY(code > 0);
        // Already on disk when the error was shown.
        QFile file(pending().path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(QByteArray::number(code) + '\t'));
        QCOMPARE(pending().count(), 1);
        QVERIFY(!pending().entries()[0].error.isEmpty());

        QVERIFY(note->isVisible());
        QCOMPARE(m_f->findChild<QLabel*>(QStringLiteral("lblCopiasPendentes"))->text(),
                 QStringLiteral("1 cópia pendente para a central"));
        for (auto* bar : m_f->findChildren<QToolBar*>())
            QVERIFY(!bar->isVisible() || !bar->geometry().intersects(note->geometry()));
        click(*m_f, QStringLiteral("btnCopiasPendentes"));
        auto* list = m_f->findChild<QDialog*>(QStringLiteral("dlgCopiasPendentes"));
        QVERIFY(list && list->isVisible());
        auto* table = list->findChild<QTableWidget*>();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 0)->text(), QString::number(code));
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("PENDENTE UM"));
        QCOMPARE(table->item(0, 2)->text(), pending().entries()[0].error);
        list->reject();

        // Still unreachable: "Tentar agora" leaves the entry as it was, says why, shows no box.
        pointCentralAt(m_closedPort);
        retryAndWait();
        pointCentralAt(server(Role::Central).port);
        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(pending().count(), 1);
        QVERIFY(m_f->centralRetry().unreachable().startsWith(QStringLiteral("Servidor central inacessível")));
        QCOMPARE(m_f->findChild<QLabel*>(QStringLiteral("lblCopiasPendentes"))->toolTip(),
                 m_f->centralRetry().unreachable());
    }

    void restartedProgramRetriesWithTheMapping()
    {
        QCOMPARE(pending().count(), 1);
        m_f = &m_fx->openScreen(); // as after a crash: only the file tells what is owed
        QTRY_VERIFY_WITH_TIMEOUT(pending().count() == 0 && !m_f->centralRetry().isRunning(), 15000);
        QVERIFY(m_fx->takeMessages().isEmpty());
        const QString key = QStringLiteral("11222333000181");
        QCOMPARE(central(key, QStringLiteral("razaosocial")), QStringLiteral("PENDENTE UM"));
        QCOMPARE(central(key, QStringLiteral("Cep")), QStringLiteral("30130010"));
        QCOMPARE(central(key, QStringLiteral("Cidade")), QStringLiteral("BELO HORIZONTE"));
        QVERIFY(m_f->findChild<QWidget*>(QStringLiteral("pnlCopiasPendentes"))->isHidden());
    }

    void retryOutcome_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("staysPending");
        QTest::addColumn<int>("centralRows");
        QTest::newRow("copied with the current local row") << "changed" << false << 1;
        QTest::newRow("deleted locally meanwhile") << "deleted" << false << 0;
        QTest::newRow("row refused by the central server") << "refused" << true << 0;
    }
    void retryOutcome()
    {
        QFETCH(QString, before);
        QFETCH(bool, staysPending);
        QFETCH(int, centralRows);
        static int n = 0;
        const QString cpf = QStringList{"529.982.247-25", "111.444.777-35", "123.456.789-09"}.value(n++);
        const QString key = QString(cpf).remove(QLatin1Char('.')).remove(QLatin1Char('-'));
        const qlonglong code = savePending(QStringLiteral("RETRY ") + before, cpf);
        if (before == QStringLiteral("changed"))
            m_fx->local(
                QStringLiteral("UPDATE fornecedor SET Numero='999' WHERE CodigoFornecedor=%1").arg(code));
        if (before == QStringLiteral("deleted"))
            m_fx->local(QStringLiteral("DELETE FROM fornecedor WHERE CodigoFornecedor=%1").arg(code));
        if (before == QStringLiteral("refused"))
            m_fx->central(
                QStringLiteral("CREATE TRIGGER recusa BEFORE INSERT ON fornecedor FOR EACH ROW "
                               "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Linha recusada pela central'"));

        retryAndWait();
        m_fx->central(QStringLiteral("DROP TRIGGER IF EXISTS recusa"));

        QVERIFY(m_fx->takeMessages().isEmpty()); // retries never show a box
        QCOMPARE(pending().contains(code), staysPending);
        QCOMPARE(m_fx->central(QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Cgccpf='%1'").arg(key))
                     .value(0)
                     .toInt(),
                 centralRows);
        if (before == QStringLiteral("changed"))
            QCOMPARE(central(key, QStringLiteral("Numero")), QStringLiteral("999"));
        if (staysPending) {
            QCOMPARE(pending().entries()[0].error, QStringLiteral("Linha recusada pela central"));
            QVERIFY(cad::PendingCopies(pending().path()).contains(code));
        }
    }

    void laterSaveOfAPendingSupplierClearsIt()
    {
        QCOMPARE(pending().count(), 1); // the refused one
        const qlonglong refused = pending().entries()[0].code;
        const qlonglong code =
            savePending(QStringLiteral("SALVO DE NOVO"), QStringLiteral("22.333.444/0001-81"));
        QCOMPARE(pending().count(), 2);
        type(*m_f, "dbedtNumero", QStringLiteral("55"));
        click(*m_f, "ToolButton7");
        QVERIFY(m_fx->takeMessages().isEmpty());
        QVERIFY(!pending().contains(code));
        QCOMPARE(central(QStringLiteral("22333444000181"), QStringLiteral("Numero")), QStringLiteral("55"));
        // The successful copy also retried the others: the refused row now goes through.
        QTRY_VERIFY_WITH_TIMEOUT(!pending().contains(refused) && !m_f->centralRetry().isRunning(), 15000);
        QCOMPARE(cad::PendingCopies(pending().path()).count(), 0);
        QVERIFY(m_before.isEmpty());
    }

    void listThatCannotBeWrittenIsToldOnceAndShown()
    {
        // A folder where the list's file should be: nobody, root included, can write it.
        const QString file = pending().path();
        QVERIFY(QDir().mkpath(file));
        auto* note = m_f->findChild<QLabel*>(QStringLiteral("lblListaNaoGravada"));
        const qlonglong first =
            savePending(QStringLiteral("SEM LISTA UM"), QStringLiteral("12.345.678/0001-95"));
        QCOMPARE(m_before.size(), 1);
        QCOMPARE(m_before[0].title, QStringLiteral("Atenção"));
        QVERIFY(m_before[0].text.contains(pending().writeError()));
        QVERIFY(note->isVisible());
        QVERIFY(pending().contains(first));

        // Told once: neither the next failed save nor a retry shows it again.
        const qlonglong second =
            savePending(QStringLiteral("SEM LISTA DOIS"), QStringLiteral("987.654.321-00"));
        QVERIFY(m_before.isEmpty());
        pointCentralAt(m_closedPort);
        retryAndWait();
        pointCentralAt(server(Role::Central).port);
        QVERIFY(m_fx->takeMessages().isEmpty());
        QCOMPARE(pending().count(), 2);
        QVERIFY(note->isVisible());

        // Writable again: the retry copies both, the list is written (empty: no file), the note goes.
        QVERIFY(QDir().rmdir(file));
        retryAndWait();
        QVERIFY(!pending().contains(first) && !pending().contains(second));
        QVERIFY(pending().writeError().isEmpty());
        QVERIFY(!QFile::exists(file));
        QVERIFY(note->isHidden());
    }
};

QTEST_MAIN(PendingCopiesTest)
#include "tst_pending_copies.moc"
