#include "registry/CentralRetry.h"

#include "app/DataModule.h"
#include "registry/PendingCopies.h"
#include "schema/RecordSetWidths.h"

#include <QElapsedTimer>
#include <QTcpSocket>

namespace cad {

namespace {

// Errors of the client library itself (2000-2999): the server could not be reached or the
// session was lost. The next supplier would only fail the same way.
bool serverOutOfReach(unsigned code)
{
    return code >= 2000 && code < 3000;
}

} // namespace

CentralRetry::CentralRetry(TDM& dm, PendingCopies& pending, CentralSync::CityName cityName, QObject* parent)
    : QObject(parent), m_dm(dm), m_pending(pending), m_sync(dm)
{
    m_sync.setCityName(std::move(cityName));
    connect(&m_timer, &QTimer::timeout, this, &CentralRetry::retryNow);
    connect(&m_pending, &PendingCopies::changed, this, [this] {
        if (m_pending.writeError().isEmpty()) m_toldNotWritten = false;
    });
    setIntervalMinutes(dm.ini().retryMinutes);
}

CentralRetry::~CentralRetry()
{
    if (m_running) m_pending.endBatch();
}

void CentralRetry::watch(CentralSync& sync)
{
    sync.setOutcome([this](const RecordSet& local, const QString& error) {
        const qlonglong code = local.value(QStringLiteral("CodigoFornecedor")).toLongLong();
        if (!error.isEmpty()) {
            if (!m_pending.keep(code, local.text(QStringLiteral("Nome")), error) && !m_toldNotWritten) {
                m_toldNotWritten = true;
                Q_EMIT listNotWritten(m_pending.writeError());
            }
            return;
        }
        m_pending.forget(code);
        // The central server answers again: the others may go through now.
        if (!m_running) QTimer::singleShot(0, this, &CentralRetry::retryNow);
    });
}

void CentralRetry::setIntervalMinutes(int minutes)
{
    m_intervalMinutes = std::max(0, minutes);
    if (m_intervalMinutes == 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(m_intervalMinutes * 60 * 1000);
}

void CentralRetry::startUp()
{
    if (m_dm.MyConnection1.isOpen() && m_dm.MyOstrel.isOpen())
        QTimer::singleShot(0, this, &CentralRetry::retryNow);
}

void CentralRetry::setRunning(bool running)
{
    if (m_running == running) return;
    m_running = running;
    Q_EMIT runningChanged(running);
}

void CentralRetry::retryNow()
{
    if (m_running || m_pending.count() == 0) return;
    setRunning(true);
    if (m_dm.MyOstrel.isOpen())
        drain();
    else
        probe();
}

// Opening a connection blocks until the server answers or the connect time-out ends; with the
// link down that would freeze the screen. A socket connected in the background says first
// whether anyone listens.
void CentralRetry::probe()
{
    const ConnectionSettings& s = m_dm.MyOstrel.settings();
    if (s.host.isEmpty() || s.host == QStringLiteral("localhost")) { // the client library's local socket
        drain();
        return;
    }
    auto* socket = new QTcpSocket(this);
    m_probe = socket;
    // Whichever answer comes first ends the probe; the others find it over.
    auto settle = [this, socket](const QString& failure) {
        if (m_probe != socket) return;
        m_probe = nullptr;
        socket->abort();
        socket->deleteLater();
        if (failure.isEmpty()) {
            drain();
            return;
        }
        m_unreachable = QStringLiteral("Servidor central inacessível: ") + failure;
        setRunning(false);
    };
    connect(socket, &QTcpSocket::connected, this, [settle] { settle({}); });
    connect(socket, &QTcpSocket::errorOccurred, this, [settle, socket] { settle(socket->errorString()); });
    QTimer::singleShot(kProbeSeconds * 1000, socket, [settle] {
        settle(QStringLiteral("sem resposta em %1 segundos").arg(kProbeSeconds));
    });
    socket->connectToHost(s.host, quint16(s.port > 0 ? s.port : 3306));
}

void CentralRetry::drain()
{
    m_unreachable.clear();
    m_queue.clear();
    for (auto it = m_pending.entries().rbegin(); it != m_pending.entries().rend(); ++it)
        m_queue.push_back(it->code); // taken from the back: oldest first
    m_pending.beginBatch();
    drainNext();
}

void CentralRetry::drainNext()
{
    // Copies for a short slice of time, then the event loop's turn: the screen keeps answering.
    QElapsedTimer slice;
    slice.start();
    do {
        while (!m_queue.empty() && !m_pending.contains(m_queue.back())) // saved meanwhile
            m_queue.pop_back();
        if (m_queue.empty()) {
            m_pending.endBatch();
            setRunning(false);
            return;
        }
        const qlonglong code = m_queue.back();
        m_queue.pop_back();
        retryOne(code);
    } while (slice.elapsed() < kSliceMs);
    QTimer::singleShot(0, this, &CentralRetry::drainNext);
}

void CentralRetry::retryOne(qlonglong code)
{
    try {
        // The row as it is now: another workstation of the store may have changed it since.
        RecordSet row(m_dm.MyConnection1,
                      QStringLiteral("SELECT * FROM fornecedor WHERE CodigoFornecedor = :codigo"));
        row.setDeclaredWidths(schema::widths(schema::SupplierSet::Screen));
        row.setReadOnly(true);
        row.setParam(QStringLiteral("codigo"), code);
        row.open();
        if (!row.isEmpty()) m_sync.copy(row); // silent when the row lacks what a copy needs
        m_pending.forget(code);
    } catch (const std::exception& e) {
        const auto* entry = m_pending.find(code);
        m_pending.keep(code, entry ? entry->name : QString(), QString::fromUtf8(e.what()));
        if (const auto* db = dynamic_cast<const DbError*>(&e); db && serverOutOfReach(db->code())) {
            m_queue.clear();
            m_unreachable = db->message();
        }
    }
}

} // namespace cad
