#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
#include <QWidget>

namespace cad {

/// One running copy per executable file name and user logon. A second copy asks the first
/// to bring its window forward and then ends without a message.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    /// Registers the name made from EXECUTABLEPATH's file name (letters a-z in upper case).
    explicit SingleInstance(const QString& executablePath, QObject* parent = nullptr);
    /// True when another copy had registered the name first (it has been asked to come forward).
    [[nodiscard]] bool alreadyRunning() const { return m_alreadyRunning; }
    /// The window raised when another copy starts.
    void setWindow(QWidget* w) { m_window = w; }
    [[nodiscard]] const QString& name() const { return m_name; }

    [[nodiscard]] static QString nameFor(const QString& executablePath);

private:
    void raiseWindow();

    QString m_name;
    bool m_alreadyRunning = false;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_window;
};

} // namespace cad
