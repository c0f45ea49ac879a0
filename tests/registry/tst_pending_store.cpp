// The list of central copies still owed, on its own: what reaches the file and when.
#include "registry/PendingCopies.h"

#include <QTemporaryDir>
#include <QtTest>

using cad::PendingCopies;

class PendingStoreTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    static QList<qlonglong> codesIn(const QString& file)
    {
        QList<qlonglong> out;
        const PendingCopies list(file);
        for (const auto& e : list.entries())
            out << e.code;
        return out;
    }

private Q_SLOTS:
    void everyChangeIsReadBackByANewInstance()
    {
        const QString file = path("list.txt");
        PendingCopies list(file);
        QVERIFY(list.keep(7, QStringLiteral("ACME\tLTDA"), QStringLiteral("Linha recusada\npela central")));
        QVERIFY(list.keep(9, QStringLiteral("BETA"), QStringLiteral("sem rede")));
        QVERIFY(
            list.keep(7, QStringLiteral("ACME LTDA"), QStringLiteral("de novo"))); // one entry per supplier

        PendingCopies reread(file);
        QCOMPARE(reread.count(), 2);
        QCOMPARE(reread.entries()[0].code, 7);
        QCOMPARE(reread.entries()[0].name, QStringLiteral("ACME LTDA"));
        QCOMPARE(reread.entries()[0].error, QStringLiteral("de novo"));
        QVERIFY(reread.entries()[0].when.isValid());
        QVERIFY(!QFile::exists(file + QStringLiteral(".tmp")));

        QVERIFY(list.forget(7));
        QCOMPARE(codesIn(file), QList<qlonglong>{9});
        QVERIFY(list.forget(9));
        QVERIFY(!QFile::exists(file)); // an empty list is no file
    }

    void removalsInABatchReachTheFileAtItsEnd()
    {
        const QString file = path("batch.txt");
        PendingCopies list(file);
        list.keep(1, QStringLiteral("A"), QStringLiteral("x"));
        list.keep(2, QStringLiteral("B"), QStringLiteral("x"));
        list.beginBatch();
        list.forget(1);
        QCOMPARE(codesIn(file), (QList<qlonglong>{1, 2}));      // a lost removal only repeats a copy
        list.keep(3, QStringLiteral("C"), QStringLiteral("x")); // an addition is never deferred
        QCOMPARE(codesIn(file), (QList<qlonglong>{2, 3}));
        list.forget(2);
        QVERIFY(list.endBatch());
        QCOMPARE(codesIn(file), QList<qlonglong>{3});
    }

    void damagedLinesAreSkipped()
    {
        const QString file = path("damaged.txt");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "12\t2026-03-04T10:11:12\tACME\terro\nlixo\n\t\t\t\n13\tsem campos\n14\t\tB\t\n12\t\tdup\t\n");
        f.close();
        QCOMPARE(codesIn(file), (QList<qlonglong>{12, 14}));
    }

    void aFileThatCannotBeWrittenIsReported()
    {
        QFile blocker(path("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        PendingCopies list(path("not-a-folder/list.txt"));
        QVERIFY(!list.keep(5, QStringLiteral("A"), QStringLiteral("x")));
        QVERIFY(!list.writeError().isEmpty());
        QCOMPARE(list.count(), 1); // still retried while the program runs
    }
};

QTEST_GUILESS_MAIN(PendingStoreTest)
#include "tst_pending_store.moc"
