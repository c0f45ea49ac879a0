// search-name and search-all: a search button of the supplier screen (offscreen) pressed until the
// list has painted the rows found, beside the mariadb command-line client running the same
// statement into /dev/null.
#include "app/DataModule.h"
#include "app/ui/Dialogs.h"
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "core/ErrorSink.h"
#include "data/widgets/DbGrid.h"
#include "registry/TfrmFornecedor.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>

namespace {

int supplierCount(cad::Connection& c)
{
    const cad::QueryResult r = c.query(QStringLiteral("SELECT COUNT(*) FROM fornecedor"));
    if (r.rows.size() == 0) return 0;
    const auto cell = r.rows.cell(0, 0);
    return QByteArray(cell.bytes.data(), qsizetype(cell.bytes.size())).toInt();
}

// Puts TEXT in the search box, then times the company-name button until the rows are painted.
int searchBench(const char* name, const QString& text, const QStringList& args)
{
    const int rounds = args.value(0, QStringLiteral("5")).toInt();
    const bench::BenchServer server = bench::benchServer();
    const QString client = bench::commandLineClient();
    if (!server.available() || client.isEmpty() || rounds <= 0) {
        std::printf("%s: run through bench/run.sh (needs the bench server and the mariadb client)\n", name);
        return 2;
    }
    int errors = 0;
    cad::setErrorSink([&](const std::exception& e) {
        ++errors;
        std::printf("error: %s\n", e.what());
    });
    // The empty box's message is answered at once, as the operator's OK would be.
    cad::dialogs::setResponder([](const cad::dialogs::Request&) { return cad::dialogs::Answer::Ok; });
    const auto opened = bench::openBenchScreen(server);
    if (!opened || errors) return 1;
    cad::TDM& dm = opened->dm;
    cad::TfrmFornecedor& form = *opened->form;
    auto* grid = form.findChild<cad::DbGrid*>(QStringLiteral("grdFornecedor"));
    auto* button = form.findChild<QPushButton*>(QStringLiteral("SpeedButton1"));
    form.searchBox()->setText(text);
    bench::RowsPainted painted(grid->viewport(), grid->recordModel());
    const QString sql =
        QStringLiteral("SELECT * FROM fornecedor WHERE Nome LIKE('%1%') ORDER BY Nome").arg(text.trimmed());

    double screen = 1e300, reference = 1e300;
    for (int r = 0; r < rounds; ++r) {
        painted.seen = false;
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(button, Qt::LeftButton);
        while (!painted.seen && t.elapsed() < 60000)
            QCoreApplication::processEvents();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        const double cli = bench::clientMs(client, server, sql);
        if (!painted.seen || cli < 0 || errors) {
            std::printf("%s: round %d failed (painted %d, client %.0f)\n", name, r + 1, int(painted.seen),
                        cli);
            return 1;
        }
        std::printf("  round %d: screen %.0f ms, client %.0f ms\n", r + 1, ms, cli);
        screen = std::min(screen, ms);
        reference = std::min(reference, cli);
    }
    const double ratio = screen / reference;
    std::printf("%s: %d of %d suppliers, best of %d: button to rows shown %.0f ms; mariadb client %.0f ms; "
                "ratio %.2f (target 1.50) %s\n",
                name, form.tbFornecedor.rowCount(), supplierCount(dm.MyConnection1), rounds, screen,
                reference, ratio, ratio <= 1.5 ? "OK" : "MISSED");
    cad::dialogs::setResponder({});
    return ratio <= 1.5 ? 0 : 1;
}

} // namespace

int benchSearchName(const QStringList& args);
int benchSearchAll(const QStringList& args);

// Arguments: [rounds, default 5]. About 5 in 100 generated company names begin with SILVA.
CAD_BENCH(benchSearchName, "search-name")
{
    return searchBench("search-name", QStringLiteral("SILVA"), args);
}

// Arguments: [rounds, default 5]. The empty box lists every supplier with a company name.
CAD_BENCH(benchSearchAll, "search-all")
{
    return searchBench("search-all", QString(), args);
}
