// central-copy: saves of an existing supplier, each followed by its central copy, against a
// central table of 2,000,000 suppliers; the central part (CentralSync::copy) is timed.
// central-drain: pending central copies retried in the background against the same table, per
// copy, against the central part of a save.
#include "app/DataModule.h"
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "registry/CentralRetry.h"
#include "registry/CentralSync.h"
#include "registry/PendingCopies.h"
#include "registry/TfrmFornecedor.h"
#include "schema/RecordSetWidths.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace cad;

namespace {

constexpr auto kBenchName = "FORNECEDOR DO BENCHMARK";

// Generated central rows are keyed 00000000000001, 00000000000002, ...: never a real CNPJ.
void fillCentral(cad::Connection& central, int rows)
{
    const QString generated = QStringLiteral("Cgccpf LIKE '0000000%' AND LENGTH(Cgccpf) = 14");
    if (central.query("SELECT COUNT(*) FROM fornecedor WHERE " + generated).rows.cell(0, 0).bytes ==
        std::to_string(rows))
        return;
    std::printf("central-copy: generating %d central suppliers...\n", rows);
    central.execute("DELETE FROM fornecedor WHERE " + generated);
    constexpr int kChunk = 250000;
    for (int from = 1; from <= rows; from += kChunk) {
        const int to = std::min(rows, from + kChunk - 1);
        central.execute(QStringLiteral("INSERT INTO fornecedor (Cgccpf, codigofilial, filial, razaosocial, "
                                       "nomefantasia, Endereco, Numero, "
                                       "Bairro, Cidade, Cep, Estado, CodigoCidade, TipoContribuinte, "
                                       "CodigoFornecedor, horauniao, dataauniao) "
                                       "SELECT LPAD(seq, 14, '0'), 1 + seq MOD 40, CONCAT('LOJA ', 1 + seq "
                                       "MOD 40), CONCAT('FORNECEDOR ', seq), "
                                       "CONCAT('FANTASIA ', seq), 'RUA DAS FLORES', seq MOD 2000, 'CENTRO', "
                                       "'SAO PAULO', '01001000', 'SP', "
                                       "3550308, 1, seq, CURTIME(), CURDATE() FROM seq_%1_to_%2")
                            .arg(from)
                            .arg(to));
    }
    central.execute(QStringLiteral("ANALYZE TABLE fornecedor"));
}

// The supplier saved again and again, with every value the central copy needs.
QVariant benchSupplier(cad::Connection& local)
{
    const QString find = QStringLiteral("SELECT CodigoFornecedor FROM fornecedor WHERE Nome = ?");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const cad::QueryResult r = local.query(find, {QString::fromLatin1(kBenchName)});
        if (r.rows.size() > 0) return QString::fromStdString(std::string(r.rows.cell(0, 0).bytes));
        local.execute(
            QStringLiteral("INSERT INTO fornecedor (Nome, nomefan, Cgccpf, Endereco, Numero, Bairro, Cidade, "
                           "Cep, Estado, CodigoCidade, CodCidade, TipoContribuinte, codigoparvix, filial) "
                           "VALUES (?, 'Bench', '11.222.333/0001-81', 'Rua das Flores', '1', 'Centro', "
                           "'SAO PAULO', '01001-000', 'SP', 3550308, 3550308, 1, '7', 'LOJA CENTRO')"),
            {QString::fromLatin1(kBenchName)});
    }
    return {};
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Both benchmarks: Admin.ini, the filled central table, the saved supplier and the screen whose
// municipality list gives the central Cidade.
struct CentralBench
{
    QTemporaryDir dir;
    cad::TDM dm;
    QVariant code;
    std::unique_ptr<cad::TfrmFornecedor> form;

    /// False (after saying why) when not run through bench/run.sh.
    bool prepare(const char* name, int rows)
    {
        const bench::BenchServer server = bench::benchServer();
        if (!server.available() || server.centralDb.isEmpty() || rows <= 0 ||
            !server.writeAdminIni(dir.path())) {
            std::printf("%s: run through bench/run.sh\n", name);
            return false;
        }
        dm.DataModuleCreate(dir.path());
        fillCentral(dm.MyOstrel, rows);
        code = benchSupplier(dm.MyConnection1);
        form = std::make_unique<cad::TfrmFornecedor>(dm, QStringLiteral("BENCH"));
        form->FormCreate();
        return true;
    }
    [[nodiscard]] cad::CentralSync::CityName cityName() const
    {
        return [f = form.get()](const QVariant& c) { return f->cityNameFor(c); };
    }

    /// Milliseconds of the central part of each of SAVES saves of the supplier (after a warm-up);
    /// empty when the central row was not kept up to date.
    std::vector<double> timeSaves(int saves)
    {
        cad::RecordSet supplier(dm.MyConnection1,
                                QStringLiteral("SELECT * FROM fornecedor WHERE CodigoFornecedor = :codigo"));
        supplier.setDeclaredWidths(schema::widths(schema::SupplierSet::Screen));
        supplier.setParam(QStringLiteral("codigo"), code);
        supplier.open();
        cad::CentralSync sync(dm);
        sync.setCityName(cityName());
        std::vector<double> ms;
        constexpr int kWarmUp = 5;
        for (int i = 0; i < kWarmUp + saves; ++i) {
            supplier.edit();
            supplier.setValue(QStringLiteral("Numero"), QString::number(i % 1000));
            supplier.post(); // the local write, not timed
            QElapsedTimer t;
            t.start();
            sync.copy(supplier);
            if (i >= kWarmUp) ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const auto copies =
            dm.MyOstrel.query(QStringLiteral("SELECT Numero FROM fornecedor WHERE Cgccpf = ?"),
                              {QStringLiteral("11222333000181")});
        if (copies.rows.size() != 1 ||
            copies.rows.cell(0, 0).bytes != std::to_string((kWarmUp + saves - 1) % 1000))
            return {};
        return ms;
    }
};

// COUNT local suppliers with every value a copy needs, keyed like generated central rows from
// 1,000,001 on (so each copy updates an existing central row, as the saves do); their codes in key order.
std::vector<qlonglong> pendingSuppliers(cad::Connection& local, int count, const QString& numero)
{
    const QString mine = QStringLiteral("Nome LIKE 'PENDENTE DO BENCHMARK %'");
    local.execute("DELETE FROM fornecedor WHERE " + mine);
    local.execute(
        QStringLiteral("INSERT INTO fornecedor (Nome, nomefan, Cgccpf, Endereco, Numero, Bairro, Cidade, "
                       "Cep, Estado, CodigoCidade, CodCidade, TipoContribuinte, codigoparvix, filial) "
                       "SELECT CONCAT('PENDENTE DO BENCHMARK ', seq), 'Bench', LPAD(1000000 + seq, 14, '0'), "
                       "'Rua das Flores', ?, 'Centro', 'SAO PAULO', '01001-000', 'SP', 3550308, 3550308, "
                       "1, '7', 'LOJA CENTRO' FROM seq_1_to_%1")
            .arg(count),
        {numero});
    const cad::QueryResult r =
        local.query("SELECT CodigoFornecedor FROM fornecedor WHERE " + mine + " ORDER BY Cgccpf");
    std::vector<qlonglong> codes;
    for (int i = 0; i < r.rows.size(); ++i)
        codes.push_back(std::stoll(std::string(r.rows.cell(i, 0).bytes)));
    return codes;
}

} // namespace

int benchCentralCopy(const QStringList& args);

// Arguments: [saves, default 200] [central rows, default 2000000].
CAD_BENCH(benchCentralCopy, "central-copy")
{
    const int saves = args.value(0, QStringLiteral("200")).toInt();
    const int rows = args.value(1, QStringLiteral("2000000")).toInt();
    try {
        CentralBench b;
        if (saves <= 0 || !b.prepare("central-copy", rows)) return 2;
        const std::vector<double> ms = b.timeSaves(saves);
        if (ms.empty()) {
            std::printf("central-copy: the central row was not kept up to date\n");
            return 1;
        }
        // For comparison: the same look-up compared as numbers reads every central row.
        QElapsedTimer numeric;
        numeric.start();
        (void)b.dm.MyOstrel.query(QStringLiteral("SELECT * FROM fornecedor WHERE Cgccpf = 11222333000181"));
        const double numericMs = double(numeric.nsecsElapsed()) / 1e6;

        const double median = percentile(ms, 0.5);
        std::printf(
            "central-copy: %d saves of an existing supplier, %d central rows: central part median %.2f ms, "
            "p90 %.2f ms, max %.2f ms (target 10 ms) %s; numeric key comparison %.0f ms per look-up\n",
            saves, rows, median, percentile(ms, 0.9), *std::max_element(ms.begin(), ms.end()),
            median < 10 ? "OK" : "SLOW", numericMs);
        return median < 10 ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("central-copy: %s\n", e.what());
        return 1;
    }
}

int benchCentralDrain(const QStringList& args);

// Arguments: [pending copies, default 1000] [central rows, default 2000000].
CAD_BENCH(benchCentralDrain, "central-drain")
{
    const int count = args.value(0, QStringLiteral("1000")).toInt();
    const int rows = args.value(1, QStringLiteral("2000000")).toInt();
    try {
        CentralBench b;
        if (count <= 0 || !b.prepare("central-drain", rows)) return 2;
        // This run's mark on the copies, to tell them from the rows earlier runs left.
        const QString run = QStringLiteral("D%1").arg(QDateTime::currentSecsSinceEpoch() % 100000);
        const std::vector<qlonglong> codes = pendingSuppliers(b.dm.MyConnection1, 2 * count, run);
        if (int(codes.size()) != 2 * count) {
            std::printf("central-drain: could not prepare the suppliers\n");
            return 1;
        }
        // Half the suppliers are copied as a save copies them, the other half wait in the pending
        // list and are drained; in rounds that take turns, so both meet the central server alike.
        cad::CentralSync sync(b.dm);
        sync.setCityName(b.cityName());
        const QString path = b.dir.filePath(QStringLiteral("pending.txt"));
        int left = 0;
        std::vector<double> saved;
        double drainMs = 0, readMs = 0;
        constexpr int kRounds = 20;
        for (int round = 0; round < kRounds; ++round) {
            const size_t from = codes.size() * size_t(round) / kRounds,
                         to = codes.size() * size_t(round + 1) / kRounds;
            auto saveHalf = [&] {
                for (size_t i = from; i < to; i += 2) {
                    QElapsedTimer t;
                    t.start();
                    cad::RecordSet supplier(
                        b.dm.MyConnection1,
                        QStringLiteral("SELECT * FROM fornecedor WHERE CodigoFornecedor = :codigo"));
                    supplier.setDeclaredWidths(schema::widths(schema::SupplierSet::Screen));
                    supplier.setParam(QStringLiteral("codigo"), codes[i]);
                    supplier.open(); // the saved record is in memory in a save: timed apart
                    readMs += double(t.nsecsElapsed()) / 1e6;
                    t.start();
                    sync.copy(supplier);
                    saved.push_back(double(t.nsecsElapsed()) / 1e6);
                }
            };
            auto drainHalf = [&] {
                QFile file(path); // the list as a run with the link down left it
                if (!file.open(QIODevice::WriteOnly))
                    throw std::runtime_error("cannot write the pending list");
                for (size_t i = from + 1; i < to; i += 2)
                    file.write(QByteArray::number(codes[i]) + "\t\tPENDENTE\tServidor central inacessível\n");
                file.close();
                cad::PendingCopies pending(path);
                cad::CentralRetry retry(b.dm, pending, b.cityName());
                retry.setIntervalMinutes(0);
                QEventLoop loop;
                QObject::connect(&retry, &cad::CentralRetry::runningChanged, &loop, [&](bool running) {
                    if (!running) loop.quit();
                });
                QElapsedTimer t;
                t.start();
                retry.retryNow();
                if (retry.isRunning()) loop.exec();
                drainMs += double(t.nsecsElapsed()) / 1e6;
                left += pending.count() + cad::PendingCopies(path).count();
            };
            if (round % 2) {
                drainHalf();
                saveHalf();
            } else {
                saveHalf();
                drainHalf();
            }
        }

        const auto copied = b.dm.MyOstrel.query(
            QStringLiteral("SELECT COUNT(*) FROM fornecedor WHERE Cgccpf BETWEEN ? AND ? AND Numero = ?"),
            {QStringLiteral("00000001000001"),
             QStringLiteral("%1").arg(1000000 + 2 * count, 14, 10, QLatin1Char('0')), run});
        if (left != 0 || copied.rows.cell(0, 0).bytes != std::to_string(2 * count)) {
            std::printf("central-drain: %d copies still pending, %s of %d central rows copied\n", left,
                        std::string(copied.rows.cell(0, 0).bytes).c_str(), 2 * count);
            return 1;
        }
        double savedMs = 0;
        for (double ms : saved)
            savedMs += ms;
        const double perCopy = drainMs / count, perSave = savedMs / count, perRead = readMs / count;
        const double ratio = perCopy / perSave;
        std::printf(
            "central-drain: %d pending copies drained against %d central rows in %.0f ms, %.2f ms per copy; "
            "as many other suppliers copied as a save copies them: central part mean %.2f ms (median "
            "%.2f ms), reading the local row first %.2f ms; ratio to the central part %.2f (target 1.5) "
            "%s, to reading and copying %.2f\n",
            count, rows, drainMs, perCopy, perSave, percentile(saved, 0.5), perRead, ratio,
            ratio <= 1.5 ? "OK" : "SLOW", perCopy / (perSave + perRead));
        return ratio <= 1.5 ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("central-drain: %s\n", e.what());
        return 1;
    }
}
