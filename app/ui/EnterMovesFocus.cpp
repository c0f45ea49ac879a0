#include "app/ui/EnterMovesFocus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace cad {

EnterMovesFocus::EnterMovesFocus(QWidget* form) : QObject(form), m_form(form)
{
    qApp->installEventFilter(this);
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != m_form || !m_form->isActiveWindow()) return false;
    if (event->type() == QEvent::KeyPress) {
        // An open drop-down list takes Enter as its choice.
        if (w->inherits("QAbstractItemView") && w->window() != w->topLevelWidget()) return false;
        // The next control that Tab would reach: visible, enabled and taking Tab focus.
        for (QWidget* next = w->nextInFocusChain(); next && next != w; next = next->nextInFocusChain()) {
            if (next->window() == m_form && next->isVisible() && next->isEnabled() &&
                (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
                next->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    event->accept();
    return true;
}

} // namespace cad
