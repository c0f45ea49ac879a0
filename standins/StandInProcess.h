#pragma once
// For tests: runs one stand-in server on a free loopback port for as long as the object lives.
#include "http/CadHTTP.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <stdexcept>

namespace standins {

/// A stand-in server (standins/SCRIPT) started for a test; ready once it has printed its port.
class StandInProcess
{
public:
    explicit StandInProcess(const QString& script, const QStringList& arguments = {})
    {
        const QString source = qEnvironmentVariable("CAD_SOURCE_DIR"); // set by ctest and test.sh
        if (source.isEmpty()) throw std::runtime_error("CAD_SOURCE_DIR names no source folder");
        m_process.setProcessChannelMode(
            QProcess::ForwardedErrorChannel); // its log shows in the test's output
        m_process.start(QStringLiteral("python3"),
                        QStringList{QStringLiteral("-u"), source + "/standins/" + script,
                                    QStringLiteral("--port"), QStringLiteral("0")} +
                            arguments);
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(20000))
                throw std::runtime_error("stand-in " + script.toStdString() + " did not start");
        const QStringList ready = QString::fromLatin1(m_process.readLine()).split(u' ');
        if (ready.size() < 2 || ready.at(0) != QStringLiteral("READY"))
            throw std::runtime_error("stand-in " + script.toStdString() + " gave no READY line");
        m_hostPort = QStringLiteral("127.0.0.1:") + ready.at(1).trimmed();
        if (ready.size() > 2) m_scheme = ready.at(2).trimmed();
    }

    ~StandInProcess()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    /// "127.0.0.1:port"
    [[nodiscard]] const QString& hostPort() const { return m_hostPort; }
    [[nodiscard]] QString url(const QString& path) const
    {
        return m_scheme + QStringLiteral("://") + m_hostPort + path;
    }

    /// The requests the server received since the last call (method, path, headers, body, and
    /// "captcha" for a captcha it handed out), oldest first.
    [[nodiscard]] QJsonArray takeRequests() const
    {
        cad::TCadHTTP http;
        http.RequestGet(url(QStringLiteral("/__requests")));
        return QJsonDocument::fromJson(http.ResponseBody()).array();
    }

private:
    QProcess m_process;
    QString m_hostPort;
    QString m_scheme = QStringLiteral("http");
};

/// Value of header NAME ("Cookie") in a request taken from takeRequests(); empty when absent.
[[nodiscard]] inline QString requestHeader(const QJsonObject& request, const QString& name)
{
    for (const QJsonValue& line : request.value(QStringLiteral("headers")).toArray()) {
        const QString text = line.toString();
        if (text.startsWith(name + QStringLiteral(": "), Qt::CaseInsensitive))
            return text.mid(name.size() + 2);
    }
    return {};
}

} // namespace standins
