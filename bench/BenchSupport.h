#pragma once
// Shared pieces of the database benchmarks: the private server run.sh starts, memory readings.
#include <QObject>
#include <QString>
#include <cstddef>

class QWidget;
#include "app/DataModule.h"
#include "registry/TfrmFornecedor.h"

#include <QTemporaryDir>
#include <memory>

namespace cad {
class RecordSetModel;
}

namespace bench {

/// The server bench/run.sh started, from CAD_BENCH_PORT, CAD_BENCH_PASSWORD, CAD_BENCH_LOCAL_DB
/// and CAD_BENCH_CENTRAL_DB.
struct BenchServer
{
    int port = 0;
    QString password, localDb, centralDb;
    [[nodiscard]] bool available() const { return port > 0 && !localDb.isEmpty(); }
    /// Writes Admin.ini for both databases into DIR.
    [[nodiscard]] bool writeAdminIni(const QString& dir) const;
};

[[nodiscard]] BenchServer benchServer();

/// Resident memory now and its high-water mark, in bytes (/proc/self/status).
[[nodiscard]] size_t residentBytes();
[[nodiscard]] size_t peakResidentBytes();
/// Lowers the high-water mark to the current resident size (/proc/self/clear_refs).
void resetPeak();

[[nodiscard]] double mib(size_t bytes);

/// Time since this process was started, in milliseconds (10 ms steps, from /proc).
[[nodiscard]] double processAgeMs();

/// The mariadb (or mysql) command-line client; empty when neither is installed.
[[nodiscard]] QString commandLineClient();
/// Milliseconds the command-line CLIENT takes to run SQL on the bench server's local database,
/// output into /dev/null, password through the environment; -1 when it fails.
[[nodiscard]] double clientMs(const QString& client, const BenchServer& s, const QString& sql);

/// The real supplier screen over the bench server's databases, shown offscreen at 1366 x 768.
struct BenchScreen
{
    QTemporaryDir dir;
    cad::TDM dm;
    std::unique_ptr<cad::TfrmFornecedor> form;
};
/// Opens the screen; null (after saying why) when Admin.ini cannot be written or the window not shown.
[[nodiscard]] std::unique_ptr<BenchScreen> openBenchScreen(const BenchServer& server);

/// Notes when a list's viewport paints while its model holds rows.
class RowsPainted : public QObject
{
public:
    RowsPainted(QWidget* viewport, const cad::RecordSetModel* model);
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    const cad::RecordSetModel* m_model;
};

} // namespace bench
