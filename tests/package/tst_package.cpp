// The Debian package as a store's technician gets it: what it declares and holds, unpacked into a
// scratch root (dpkg -x), and its installed program started through the launcher against the test
// servers: it must connect to both and end normally when asked to.
#include "tests/support/TestDb.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::Role;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The sessions on one test database besides the watcher's own, seen through one lasting session
// (short ones of its own would linger in the list while the server closes them).
class SessionWatch
{
public:
    explicit SessionWatch(const testsupport::TestDatabase& database) : m_database(database.name())
    {
        m_connection.setSettings(database.settings());
    }
    int others()
    {
        return int(m_connection
                       .query(QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST "
                                             "WHERE DB = ? AND ID <> CONNECTION_ID()"),
                              {m_database})
                       .rows.size());
    }

private:
    cad::Connection m_connection{QStringLiteral("watch")};
    QString m_database;
};

} // namespace

class PackageTest : public QObject
{
    Q_OBJECT
    QString m_deb;
    QTemporaryDir m_root;

    QString installed(const QString& path) const { return m_root.filePath(path); }

private Q_SLOTS:
    void initTestCase()
    {
        const QStringList debs =
            QDir(QStringLiteral(CAD_PACKAGE_DIR)).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = QDir(QStringLiteral(CAD_PACKAGE_DIR)).filePath(debs.first());
        run(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_deb, m_root.path()});
    }

    // The libraries the program links and the window system's plugins are declared; the
    // package's own set-up makes Admin.ini, so upgrades never replace the store's file.
    void declarations()
    {
        const QString depends =
            run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, QStringLiteral("Depends")});
        for (const char* name :
             {"libmariadb3", "libqt6widgets6", "libqt6webenginewidgets6", "libssl3", "qt6-qpa-plugins"})
            QVERIFY2(depends.contains(QLatin1String(name)), qPrintable(name + (": " + depends)));
        const QString contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
        QVERIFY(!contents.contains(QRegularExpression(QStringLiteral("\\s\\./etc/"))));
        QVERIFY(contents.contains(QStringLiteral("./opt/cadastro-fornecedor/exemplos/Admin.ini")));
        const QString control = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--info"), m_deb});
        QVERIFY(control.contains(QStringLiteral("postinst")));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("linkTarget"); // empty for a plain file
        QTest::newRow("program") << "opt/cadastro-fornecedor/cadastro-fornecedor"
                                 << "";
        QTest::newRow("launcher") << "usr/bin/cadastro-fornecedor"
                                  << "";
        QTest::newRow("Admin.ini") << "opt/cadastro-fornecedor/Admin.ini"
                                   << "../../etc/cadastro-fornecedor/Admin.ini";
        QTest::newRow("CNPJ addresses") << "opt/cadastro-fornecedor/CadConsultaCNPJServicos.ini"
                                        << "../../etc/cadastro-fornecedor/CadConsultaCNPJServicos.ini";
        QTest::newRow("menu entry") << "usr/share/applications/cadastro-fornecedor.desktop"
                                    << "";
        QTest::newRow("icon") << "usr/share/icons/hicolor/scalable/apps/cadastro-fornecedor.svg"
                              << "";
    }
    void layout()
    {
        QFETCH(QString, path);
        QFETCH(QString, linkTarget);
        const QFileInfo info(installed(path));
        if (linkTarget.isEmpty()) {
            QVERIFY2(info.isFile(), qPrintable(path));
        } else {
            QVERIFY(info.isSymLink());
            QCOMPARE(QFile(info.filePath()).symLinkTarget(),
                     QDir::cleanPath(info.absolutePath() + QLatin1Char('/') + linkTarget));
        }
    }

    void startsAndEndsNormally()
    {
        const testsupport::TestDatabase localDb(Role::Local, QStringLiteral("pacote"), true);
        const testsupport::TestDatabase centralDb(Role::Central, QStringLiteral("pacotec"));
        const QString etc = installed(QStringLiteral("etc/cadastro-fornecedor"));
        QVERIFY(QDir().mkpath(etc));
        testsupport::writeAdminIni(etc, localDb.name(), centralDb.name());

        SessionWatch local(localDb), central(centralDb);
        QTRY_VERIFY(local.others() == 0 && central.others() == 0); // the set-up's own have gone

        // A private temporary folder: the single-instance name never meets another copy's.
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), home.path());
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(installed(QStringLiteral("usr/bin/cadastro-fornecedor")), {QStringLiteral("OPERADOR")});
        QVERIFY(program.waitForStarted());

        QTRY_VERIFY_WITH_TIMEOUT(local.others() > 0 && central.others() > 0, 60000);
        // Its event loop answers: a second start through the launcher brings it forward and ends.
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program.program(), {QStringLiteral("OUTRO")});
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(program.state(), QProcess::Running);
        program.terminate(); // as at logout: the screen closes and the program ends by itself
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QTRY_COMPARE(local.others(), 0);
        QTRY_COMPARE(central.others(), 0);
    }
};

QTEST_GUILESS_MAIN(PackageTest)
#include "tst_package.moc"
