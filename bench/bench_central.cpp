// central-copy: saves of an existing supplier, each followed by its central copy, against a
// central table of 2,000,000 suppliers; the central part (CentralSync::copy) is timed.
#include "app/DataModule.h"
#include "bench/Bench.h"
#include "bench/BenchSupport.h"
#include "registry/CentralSync.h"
#include "registry/TfrmFornecedor.h"
#include "schema/RecordSetWidths.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

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

} // namespace

int benchCentralCopy(const QStringList& args);

// Arguments: [saves, default 200] [central rows, default 2000000].
CAD_BENCH(benchCentralCopy, "central-copy")
{
    const int saves = args.value(0, QStringLiteral("200")).toInt();
    const int rows = args.value(1, QStringLiteral("2000000")).toInt();
    const bench::BenchServer server = bench::benchServer();
    QTemporaryDir dir;
    if (!server.available() || server.centralDb.isEmpty() || saves <= 0 || rows <= 0 ||
        !server.writeAdminIni(dir.path())) {
        std::printf("central-copy: run through bench/run.sh\n");
        return 2;
    }
    try {
        cad::TDM dm;
        dm.DataModuleCreate(dir.path());
        fillCentral(dm.MyOstrel, rows);
        const QVariant code = benchSupplier(dm.MyConnection1);

        // The screen provides the municipality list the central Cidade comes from.
        cad::TfrmFornecedor form(dm, QStringLiteral("BENCH"));
        form.FormCreate();
        cad::RecordSet supplier(dm.MyConnection1,
                                QStringLiteral("SELECT * FROM fornecedor WHERE CodigoFornecedor = :codigo"));
        supplier.setDeclaredWidths(schema::widths(schema::SupplierSet::Screen));
        supplier.setParam(QStringLiteral("codigo"), code);
        supplier.open();
        cad::CentralSync sync(dm);
        sync.setCityName([&](const QVariant& c) { return form.cityNameFor(c); });

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
            copies.rows.cell(0, 0).bytes != std::to_string((kWarmUp + saves - 1) % 1000)) {
            std::printf("central-copy: the central row was not kept up to date\n");
            return 1;
        }
        // For comparison: the same look-up compared as numbers reads every central row.
        QElapsedTimer numeric;
        numeric.start();
        (void)dm.MyOstrel.query(QStringLiteral("SELECT * FROM fornecedor WHERE Cgccpf = 11222333000181"));
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
