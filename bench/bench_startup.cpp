// startup: from the data module to a shown supplier screen with all municipalities loaded,
// as the program starts (Admin.ini, both connections, FormCreate, window shown; offscreen).
#include "app/DataModule.h"
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "core/ErrorSink.h"
#include "registry/TfrmFornecedor.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int benchStartup(const QStringList& args);

// Arguments: [rounds, default 5]. The first round is the cold one (first window of the process).
CAD_BENCH(benchStartup, "startup")
{
    const int rounds = args.value(0, QStringLiteral("5")).toInt();
    const bench::BenchServer server = bench::benchServer();
    QTemporaryDir dir;
    if (!server.available() || rounds <= 0 || !server.writeAdminIni(dir.path())) {
        std::printf("startup: run through bench/run.sh\n");
        return 2;
    }
    int errors = 0;
    cad::setErrorSink([&](const std::exception& e) {
        ++errors;
        std::printf("error: %s\n", e.what());
    });
    double cold = 0, best = 1e300, sinceProcessStart = 0;
    int municipalities = 0;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        cad::TDM dm;
        cad::guarded([&] { dm.DataModuleCreate(dir.path()); });
        cad::TfrmFornecedor form(dm, QStringLiteral("BENCH"));
        form.FormCreate();
        form.showMaximized();
        if (!QTest::qWaitForWindowExposed(&form) || errors) return 1;
        const double ms = double(t.nsecsElapsed()) / 1e6;
        municipalities = form.myqryMyMunicipios.rowCount();
        if (r == 0) {
            cold = ms;
            sinceProcessStart = bench::processAgeMs();
        }
        best = std::min(best, ms);
        std::printf("  round %d: %.0f ms\n", r + 1, ms);
    }
    const bool ok = std::max(cold, sinceProcessStart) < 1000 && municipalities > 5000;
    std::printf(
        "startup: usable window with %d municipalities: first %.0f ms (%.0f ms since the process started), "
        "best of %d %.0f ms (target 1000) %s\n",
        municipalities, cold, sinceProcessStart, rounds, best, ok ? "OK" : "MISSED");
    return ok ? 0 : 1;
}
