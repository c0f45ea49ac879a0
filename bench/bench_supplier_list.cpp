// supplier-list: "Select * From Fornecedor" opened into the supplier screen's record set and grid
// (offscreen), beside the same statement through the mariadb command-line client into /dev/null.
#include "app/DataModule.h"
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "data/widgets/DbGrid.h"
#include "data/widgets/ErrorSink.h"
#include "registry/TfrmFornecedor.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

// Notes the first paint of the grid that shows rows.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget* viewport, const cad::RecordSetModel* model) : m_model(model)
    {
        viewport->installEventFilter(this);
    }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && m_model->rowCount() > 0) painted = true;
        return false;
    }

private:
    const cad::RecordSetModel* m_model;
};

quint64 bytesSent(cad::Connection& c)
{
    const cad::QueryResult r = c.query(QStringLiteral("SHOW SESSION STATUS LIKE 'Bytes_sent'"));
    return r.rows.size()
               ? QByteArray(r.rows.cell(0, 1).bytes.data(), qsizetype(r.rows.cell(0, 1).bytes.size()))
                     .toULongLong()
               : 0;
}

// The command-line client, password through the environment; -1 when it fails.
double cliMs(const QString& client, const bench::BenchServer& s)
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
                     QStringLiteral("-e"), QStringLiteral("Select * From Fornecedor")});
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return -1;
    return double(t.nsecsElapsed()) / 1e6;
}

struct Round
{
    double allRowsMs, firstRowsMs, cliMs;
    size_t peakBytes;
};

} // namespace

int benchSupplierList(const QStringList& args);

// Arguments: [rounds, default 3]. Times: best round; memory: the largest rise over the rounds.
CAD_BENCH(benchSupplierList, "supplier-list")
{
    const int rounds = args.value(0, QStringLiteral("3")).toInt();
    const bench::BenchServer server = bench::benchServer();
    QString client = QStandardPaths::findExecutable(QStringLiteral("mariadb"));
    if (client.isEmpty()) client = QStandardPaths::findExecutable(QStringLiteral("mysql"));
    if (!server.available() || client.isEmpty() || rounds <= 0) {
        std::printf(
            "supplier-list: run through bench/run.sh (needs the bench server and the mariadb client)\n");
        return 2;
    }
    int errors = 0;
    cad::setErrorSink([&](const std::exception& e) {
        ++errors;
        std::printf("error: %s\n", e.what());
    });
    QTemporaryDir dir;
    if (!server.writeAdminIni(dir.path())) return 2;
    cad::TDM dm;
    dm.DataModuleCreate(dir.path());
    cad::TfrmFornecedor form(dm, QStringLiteral("BENCH"));
    form.FormCreate();
    form.resize(1366, 768);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form) || errors) return 1;
    auto* grid = form.findChild<cad::DbGrid*>(QStringLiteral("grdFornecedor"));
    PaintWatch watch(grid->viewport(), grid->recordModel());

    std::vector<Round> results;
    quint64 wire = 0;
    for (int r = 0; r < rounds; ++r) {
        form.tbFornecedor.close();
        QCoreApplication::processEvents();
        watch.painted = false;
        bench::resetPeak();
        const size_t base = bench::residentBytes();
        const quint64 sentBefore = bytesSent(dm.MyConnection1);
        QElapsedTimer t;
        t.start();
        form.tbFornecedor.open();
        const double allRows = double(t.nsecsElapsed()) / 1e6;
        while (!watch.painted && t.elapsed() < 60000)
            QCoreApplication::processEvents();
        const double firstRows = double(t.nsecsElapsed()) / 1e6;
        const size_t peak = bench::peakResidentBytes() - base;
        wire = bytesSent(dm.MyConnection1) - sentBefore;
        const double cli = cliMs(client, server);
        if (!watch.painted || cli < 0 || errors) {
            std::printf("supplier-list: round %d failed (painted %d, client %.0f)\n", r + 1,
                        int(watch.painted), cli);
            return 1;
        }
        results.push_back({allRows, firstRows, cli, peak});
        std::printf("  round %d: first rows %.0f ms, all rows %.0f ms, client %.0f ms, peak +%.1f MiB\n",
                    r + 1, firstRows, allRows, cli, bench::mib(peak));
    }
    auto best = [&](double Round::*m) {
        double v = 1e300;
        for (const Round& x : results)
            v = std::min(v, x.*m);
        return v;
    };
    size_t peak = 0;
    for (const Round& x : results)
        peak = std::max(peak, x.peakBytes);
    const double ratio = best(&Round::allRowsMs) / best(&Round::cliMs);
    const double memRatio = double(peak) / double(wire);
    const bool ok = ratio <= 1.5 && memRatio <= 3.0;
    std::printf(
        "supplier-list: %d rows (%.1f MiB kept), best of %d\n"
        "  first rows shown %.0f ms, all rows in %.0f ms; mariadb client %.0f ms; ratio %.2f (target 1.50)\n"
        "  peak memory +%.1f MiB; result on the wire %.1f MiB; ratio %.2f (target 3.00) %s\n",
        form.tbFornecedor.rowCount(), bench::mib(form.tbFornecedor.storedBytes()), rounds,
        best(&Round::firstRowsMs), best(&Round::allRowsMs), best(&Round::cliMs), ratio, bench::mib(peak),
        bench::mib(wire), memRatio, ok ? "OK" : "MISSED");
    return ok ? 0 : 1;
}
