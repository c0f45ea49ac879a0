#include "bench/BenchSupport.h"

#include "data/widgets/RecordSetModel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <unistd.h>

namespace bench {

BenchServer benchServer()
{
    BenchServer s;
    s.port = qEnvironmentVariableIntValue("CAD_BENCH_PORT");
    s.password = qEnvironmentVariable("CAD_BENCH_PASSWORD");
    s.localDb = qEnvironmentVariable("CAD_BENCH_LOCAL_DB");
    s.centralDb = qEnvironmentVariable("CAD_BENCH_CENTRAL_DB");
    return s;
}

bool BenchServer::writeAdminIni(const QString& dir) const
{
    QFile f(QDir(dir).filePath(QStringLiteral("Admin.ini")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    // Both accounts on the one private server share its generated password.
    const QString section = QStringLiteral("[%1]\nPORTA=%2\nSERVIDOR=127.0.0.1\nBANCO=%3\nSENHA=%4\n");
    f.write((section.arg(QStringLiteral("LOCAL")).arg(port).arg(localDb, password) +
             section.arg(QStringLiteral("GERENCIA")).arg(port).arg(centralDb, password))
                .toUtf8());
    return true;
}

namespace {

size_t statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toULongLong();
    return 0;
}

} // namespace

size_t residentBytes()
{
    return statusKb("VmRSS:") * 1024;
}

size_t peakResidentBytes()
{
    return statusKb("VmHWM:") * 1024;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

double mib(size_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

double processAgeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat")), uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) return -1;
    // Field 22 is the start time in clock ticks since boot; the command name before it may hold blanks.
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startSeconds = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    const double upSeconds = uptime.readAll().split(' ').value(0).toDouble();
    return (upSeconds - startSeconds) * 1000.0;
}

QString commandLineClient()
{
    const QString client = QStandardPaths::findExecutable(QStringLiteral("mariadb"));
    return client.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("mysql")) : client;
}

double clientMs(const QString& client, const BenchServer& s, const QString& sql)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MYSQL_PWD"), s.password);
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(client, {QStringLiteral("--no-defaults"), QStringLiteral("-h127.0.0.1"),
                     QStringLiteral("-P%1").arg(s.port), QStringLiteral("-uroot"), s.localDb,
                     QStringLiteral("-e"), sql});
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return -1;
    return double(t.nsecsElapsed()) / 1e6;
}

std::unique_ptr<BenchScreen> openBenchScreen(const BenchServer& server)
{
    auto b = std::make_unique<BenchScreen>();
    if (!server.writeAdminIni(b->dir.path())) return nullptr;
    b->dm.DataModuleCreate(b->dir.path());
    b->form = std::make_unique<cad::TfrmFornecedor>(b->dm, QStringLiteral("BENCH"));
    b->form->FormCreate();
    b->form->resize(1366, 768);
    b->form->show();
    if (!QTest::qWaitForWindowExposed(b->form.get())) return nullptr;
    return b;
}

RowsPainted::RowsPainted(QWidget* viewport, const cad::RecordSetModel* model) : m_model(model)
{
    viewport->installEventFilter(this);
}

bool RowsPainted::eventFilter(QObject*, QEvent* e)
{
    if (e->type() == QEvent::Paint && m_model->rowCount() > 0) seen = true;
    return false;
}

} // namespace bench
