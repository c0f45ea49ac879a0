// duplicate-check: the check "Salvar" runs before a new supplier is written, over the bench server's
// suppliers, for a CNPJ with letters (compared as text by its letters and digits) beside a number
// (compared as a number, the check every store ran before letters were issued). Neither document is
// stored, so both read the whole table.
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "data/RecordSet.h"
#include "registry/DocumentAlreadyStored.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

// Best time of ROUNDS checks of D, in milliseconds; negative when a check found D.
double bestCheckMs(cad::RecordSet& lookup, const QString& d, int rounds)
{
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        if (cad::DocumentAlreadyStored(lookup, d)) return -1;
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int benchDuplicateCheck(const QStringList& args);

// Arguments: [rounds, default 10].
CAD_BENCH(benchDuplicateCheck, "duplicate-check")
{
    const int rounds = args.value(0, QStringLiteral("10")).toInt();
    const bench::BenchServer server = bench::benchServer();
    if (!server.available() || rounds <= 0) {
        std::printf("duplicate-check: run through bench/run.sh (needs the bench server)\n");
        return 2;
    }
    const auto opened = bench::openBenchScreen(server);
    if (!opened) return 1;
    cad::RecordSet lookup(opened->dm.MyConnection1);
    const double letters = bestCheckMs(lookup, QStringLiteral("12ABC34501DE35"), rounds);
    const double number = bestCheckMs(lookup, QStringLiteral("99888777000166"), rounds);
    if (letters < 0 || number < 0) {
        std::printf("duplicate-check: a benchmark document is stored; use another data set\n");
        return 1;
    }
    const double ratio = letters / number;
    std::printf("duplicate-check: best of %d: CNPJ with letters %.1f ms, number %.1f ms, ratio %.2f "
                "(target 1.50) %s\n",
                rounds, letters, number, ratio, ratio <= 1.5 ? "OK" : "MISSED");
    return ratio <= 1.5 ? 0 : 1;
}
