#pragma once
// Reaching a window's controls by name, and answering the modal windows a step opens.
#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace testsupport {

/// PARENT's child named NAME; a missing one ends the test program with its name.
template <typename T = QWidget> T* control(const QObject& parent, const QString& name)
{
    T* w = parent.findChild<T*>(name);
    if (!w) qFatal("no control %s", qPrintable(name));
    return w;
}

/// W's object name, its class when it has none, "(none)" for no widget: for messages and focus paths.
inline QString nameOf(const QWidget* w)
{
    if (!w) return QStringLiteral("(none)");
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

/// Clicks PARENT's button named BUTTON.
inline void click(const QObject& parent, const QString& button)
{
    QTest::mouseClick(control<QAbstractButton>(parent, button), Qt::LeftButton);
}

/// While it lives, watches for the first modal window to come up: when it is a W, runs STEPS on it
/// from inside the window's own event loop; then closes the window if it is still shown. Whatever
/// opens the window (a click, a key, a reply that arrives later) happens while this object lives.
template <typename W = QWidget> class ModalAnswer
{
public:
    explicit ModalAnswer(std::function<void(W&)> steps = {}) : m_steps(std::move(steps))
    {
        QObject::connect(&m_watch, &QTimer::timeout, &m_watch, [this] { answer(); });
        m_watch.start(10);
    }
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    /// True once a W came up and STEPS ran on it.
    [[nodiscard]] bool answered() const { return m_answered; }

private:
    void answer()
    {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal) return;
        m_watch.stop();
        if (auto* w = qobject_cast<W*>(modal.data())) {
            if (m_steps) m_steps(*w);
            m_answered = true;
        }
        if (modal && modal->isVisible()) modal->close();
    }

    std::function<void(W&)> m_steps;
    QTimer m_watch;
    bool m_answered = false;
};

} // namespace testsupport
