#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>

class QSocketNotifier;

namespace cad {

/// Closes the main window, as the operator's close would, when the process is asked to end
/// (SIGTERM at logout or shutdown, SIGHUP, Ctrl+C in a terminal): the screen's record sets and
/// both connections are closed properly and the program exits normally.
class CloseOnSignal : public QObject
{
    Q_OBJECT
public:
    explicit CloseOnSignal(QObject* parent = nullptr);
    ~CloseOnSignal() override;
    void setWindow(QWidget* w) { m_window = w; }

private:
    QSocketNotifier* m_notifier = nullptr;
    QPointer<QWidget> m_window;
};

} // namespace cad
