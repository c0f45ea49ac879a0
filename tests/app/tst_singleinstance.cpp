// The single-instance rule with real processes: one copy per executable file name (letters a-z
// upper-cased) and logon, whatever the directory. A second copy brings the first forward and
// ends silently with code 0.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 30000;

// Waits for the next line the process prints; empty when it ends or prints nothing in time.
QByteArray nextLine(QProcess& p)
{
    while (!p.canReadLine())
        if (!p.waitForReadyRead(kWaitMs)) return {};
    return p.readLine().trimmed();
}

struct Copy
{
    QProcess process;
    explicit Copy(const QString& path)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")); // headless
        process.setProcessEnvironment(env);
        process.start(path, {});
    }
    ~Copy()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(kWaitMs);
        }
    }
};

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    // A name of this test process alone, so parallel runs never meet.
    QString m_name = QStringLiteral("sondagem-%1").arg(QCoreApplication::applicationPid());

    QString place(const QString& subdir, const QString& fileName)
    {
        const QString dir = m_dir.filePath(subdir);
        QDir().mkpath(dir);
        const QString path = QDir(dir).filePath(fileName);
        if (!QFile::exists(path) && !QFile::copy(QStringLiteral(CAD_PROBE_PATH), path))
            qFatal("cannot copy the probe to %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void secondCopy_data()
    {
        QTest::addColumn<QString>("subdir");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("sameProgram");
        QTest::newRow("same file") << "a" << m_name << true;
        QTest::newRow("same name, other directory") << "b" << m_name << true;
        QTest::newRow("same name in capitals") << "c" << m_name.toUpper() << true;
        QTest::newRow("other name") << "a" << (m_name + QStringLiteral("-outro")) << false;
    }
    void secondCopy()
    {
        QFETCH(QString, subdir);
        QFETCH(QString, fileName);
        QFETCH(bool, sameProgram);
        Copy first(place(QStringLiteral("a"), m_name));
        QCOMPARE(nextLine(first.process), QByteArray("ready"));

        Copy second(place(subdir, fileName));
        if (sameProgram) {
            QVERIFY(second.process.waitForFinished(kWaitMs));
            QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.process.exitCode(), 0);
            QCOMPARE(second.process.readAllStandardOutput(), QByteArray()); // no window of its own
            QCOMPARE(nextLine(first.process), QByteArray("restored"));      // the first came forward
        } else {
            QCOMPARE(nextLine(second.process), QByteArray("ready"));
            QCOMPARE(second.process.state(), QProcess::Running);
        }
        QCOMPARE(first.process.state(), QProcess::Running);
    }

    // A copy that crashed leaves its name behind; the next copy takes it over and runs.
    void nameLeftByCrashedCopy()
    {
        const QString path = place(QStringLiteral("a"), m_name);
        {
            Copy crashed(path);
            QCOMPARE(nextLine(crashed.process), QByteArray("ready"));
            crashed.process.kill();
            QVERIFY(crashed.process.waitForFinished(kWaitMs));
        }
        Copy next(path);
        QCOMPARE(nextLine(next.process), QByteArray("ready"));
        Copy third(path);
        QVERIFY(third.process.waitForFinished(kWaitMs));
        QCOMPARE(third.process.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
