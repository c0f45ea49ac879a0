#include "app/ui/SingleInstance.h"

#include "core/TextRoutines.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>
#include <unistd.h>

namespace cad {

QString SingleInstance::nameFor(const QString& executablePath)
{
    const QString name = UpperAZ(QFileInfo(executablePath).fileName());
    // Valid within the operator's logon: other users' copies do not see it.
    return name + QStringLiteral("-%1").arg(::getuid());
}

SingleInstance::SingleInstance(const QString& executablePath, QObject* parent)
    : QObject(parent), m_name(nameFor(executablePath))
{
    // Copies starting at the same moment take turns: look for a running copy and register
    // as one atomically, so exactly one of them keeps the name.
    QLockFile turn(QDir::temp().filePath(m_name + QStringLiteral(".lock")));
    turn.lock();
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(1000)) {
        m_alreadyRunning = true;
        probe.write("raise\n");
        probe.waitForBytesWritten(1000);
        probe.disconnectFromServer();
        return;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A name left behind by a copy that crashed: nobody answered, so take it over.
        QLocalServer::removeServer(m_name);
        m_server->listen(m_name);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            raiseWindow();
        }
    });
}

void SingleInstance::raiseWindow()
{
    if (!m_window) return;
    if (m_window->isMinimized())
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace cad
