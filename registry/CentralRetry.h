#pragma once
#include "registry/CentralSync.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

class QTcpSocket;

namespace cad {

class PendingCopies;
class TDM;

/// Retries the pending central copies in the background of the event loop, a short slice of
/// copies per turn so the screen keeps answering: at start-up, every few minutes, on demand and after any
/// successful copy. Each retry reads the supplier's current local row by its code and copies it
/// with the same rules as a save; a supplier deleted locally, or no longer complete enough to be
/// copied, leaves the list. Failures are recorded on the entry and never shown in a box.
class CentralRetry : public QObject
{
    Q_OBJECT
public:
    CentralRetry(TDM& dm, PendingCopies& pending, CentralSync::CityName cityName, QObject* parent = nullptr);
    ~CentralRetry() override;

    /// Failed copies of SYNC join the list; successful ones leave it and start a retry. When the
    /// list's file cannot be written, listNotWritten() tells it once, until the file is written again.
    void watch(CentralSync& sync);
    /// Minutes between retries; 0 turns the periodic retries off.
    void setIntervalMinutes(int minutes);
    [[nodiscard]] int intervalMinutes() const { return m_intervalMinutes; }
    /// The first retry after start-up: soon, when both connections are open.
    void startUp();
    /// Retries every pending copy, unless a retry is already running or nothing is pending.
    void retryNow();
    [[nodiscard]] bool isRunning() const { return m_running; }
    /// Why the last retry could not reach the central server (empty when it could).
    [[nodiscard]] const QString& unreachable() const { return m_unreachable; }

    /// Seconds a retry waits for the central server to accept a connection.
    static constexpr int kProbeSeconds = 5;
    /// Milliseconds of copies between two turns of the event loop.
    static constexpr int kSliceMs = 20;

Q_SIGNALS:
    void runningChanged(bool running);
    /// A failed copy of a watched save is kept in memory only: WHY the list's file was not written.
    void listNotWritten(const QString& why);

private:
    void setRunning(bool running);
    void probe();
    void drain();
    void drainNext();
    void retryOne(qlonglong code);

    TDM& m_dm;
    PendingCopies& m_pending;
    CentralSync m_sync;
    QTimer m_timer;
    int m_intervalMinutes = 0;
    bool m_running = false;
    std::vector<qlonglong> m_queue;
    QPointer<QTcpSocket> m_probe;
    QString m_unreachable;
    bool m_toldNotWritten = false;
};

} // namespace cad
