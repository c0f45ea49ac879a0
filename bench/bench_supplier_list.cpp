// supplier-list: "Select * From Fornecedor" opened into the supplier screen's record set and grid
// (offscreen), beside the same statement through the mariadb command-line client into /dev/null.
#include "app/DataModule.h"
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "core/ErrorSink.h"
#include "data/widgets/DbGrid.h"
#include "registry/TfrmFornecedor.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>

namespace {

quint64 bytesSent(cad::Connection& c)
{
    const cad::QueryResult r = c.query(QStringLiteral("SHOW SESSION STATUS LIKE 'Bytes_sent'"));
    return r.rows.size()
               ? QByteArray(r.rows.cell(0, 1).bytes.data(), qsizetype(r.rows.cell(0, 1).bytes.size()))
                     .toULongLong()
               : 0;
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
    const QString client = bench::commandLineClient();
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
    const auto opened = bench::openBenchScreen(server);
    if (!opened || errors) return 1;
    cad::TDM& dm = opened->dm;
    cad::TfrmFornecedor& form = *opened->form;
    auto* grid = form.findChild<cad::DbGrid*>(QStringLiteral("grdFornecedor"));
    bench::RowsPainted watch(grid->viewport(), grid->recordModel());

    std::vector<Round> results;
    quint64 wire = 0;
    for (int r = 0; r < rounds; ++r) {
        form.tbFornecedor.close();
        QCoreApplication::processEvents();
        watch.seen = false;
        bench::resetPeak();
        const size_t base = bench::residentBytes();
        const quint64 sentBefore = bytesSent(dm.MyConnection1);
        QElapsedTimer t;
        t.start();
        form.tbFornecedor.open();
        const double allRows = double(t.nsecsElapsed()) / 1e6;
        while (!watch.seen && t.elapsed() < 60000)
            QCoreApplication::processEvents();
        const double firstRows = double(t.nsecsElapsed()) / 1e6;
        const size_t peak = bench::peakResidentBytes() - base;
        wire = bytesSent(dm.MyConnection1) - sentBefore;
        const double cli = bench::clientMs(client, server, QStringLiteral("Select * From Fornecedor"));
        if (!watch.seen || cli < 0 || errors) {
            std::printf("supplier-list: round %d failed (painted %d, client %.0f)\n", r + 1, int(watch.seen),
                        cli);
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
