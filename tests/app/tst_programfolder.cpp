// Files the program writes for itself: beside the executable when the operator may write there,
// else in the operator's own data folder (an installed program's folder belongs to root).
#include "app/ProgramFolder.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class ProgramFolderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void place_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<bool>("beside");
        QTest::newRow("writable folder") << true << true;
        QTest::newRow("folder that cannot be used") << false << false;
    }
    void place()
    {
        QFETCH(bool, folderExists);
        QFETCH(bool, beside);
        QTemporaryDir dir;
        const QString folder = folderExists ? dir.path() : dir.filePath(QStringLiteral("sem-pasta"));
        const QString path = cad::programWrittenFile(QStringLiteral("Mapa.html"), folder);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Mapa.html"));
        QCOMPARE(QFileInfo(path).absolutePath() == folder, beside);
        // Wherever it is, the file can be written there.
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
        file.close();
        if (!beside) {
            QVERIFY(path.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)));
            QFile::remove(path);
        }
    }
};

QTEST_GUILESS_MAIN(ProgramFolderTest)
#include "tst_programfolder.moc"
