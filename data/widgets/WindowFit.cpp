#include "data/widgets/WindowFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace cad {

namespace {

class WindowFit : public QObject
{
public:
    WindowFit(QWidget* window, bool maximised) : QObject(window), m_window(window), m_maximised(maximised)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::Show:
            watchScreen();
            m_shown = false;
            fit();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            fit();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The frame the window manager draws around the window (none before it frames it).
    QMargins frameMargins() const
    {
        const QRect frame = m_window->frameGeometry(), client = m_window->geometry();
        return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                frame.bottom() - client.bottom()};
    }

    void watchScreen()
    {
        QScreen* s = m_window->screen();
        if (!s || s == m_screen) return;
        if (m_screen) disconnect(m_screen, nullptr, this, nullptr);
        m_screen = s;
        connect(s, &QScreen::availableGeometryChanged, this, [this] {
            m_shown = false;
            fit();
        });
    }

    void fit()
    {
        if (m_fitting || !m_window->isVisible() || !m_window->screen()) return;
        // A maximised dialog is sized by the window manager; moving it would restore it.
        if (!m_maximised && (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) return;
        const QMargins margins = frameMargins();
        // A dialog is placed when it is shown and when it gets its frame; after that the operator
        // may move it where they like.
        if (!m_maximised && m_shown && margins == m_margins) return;
        m_fitting = true;
        m_shown = true;
        m_margins = margins;
        const QRect area = m_window->screen()->availableGeometry();
        const QSize room = area.size().shrunkBy(margins);
        if (m_maximised) {
            if (m_window->minimumSize() != room || m_window->maximumSize() != room)
                m_window->setFixedSize(room);
        } else if (m_window->width() > room.width() || m_window->height() > room.height()) {
            m_window->resize(m_window->size().boundedTo(room));
        }
        const QSize frameSize = m_window->size().grownBy(margins);
        QPoint at = m_window->frameGeometry().topLeft();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - frameSize.width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - frameSize.height())));
        if (m_maximised) at = area.topLeft();
        if (at != m_window->frameGeometry().topLeft()) m_window->move(at);
        m_fitting = false;
    }

    QWidget* m_window;
    bool m_maximised;
    bool m_fitting = false;
    bool m_shown = false;
    QMargins m_margins;
    QScreen* m_screen = nullptr;
};

} // namespace

void keepMaximised(QWidget* window)
{
    new WindowFit(window, true);
}

void keepOnScreen(QWidget* window)
{
    new WindowFit(window, false);
}

} // namespace cad
