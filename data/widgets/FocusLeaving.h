#pragma once
#include <QFocusEvent>
#include <QWidget>

namespace cad {

/// True when EVENT is FIELD's focus going to another control of its window: not another window
/// (a message box) or a popup taking over, nor the field merely being hidden with its page.
[[nodiscard]] inline bool leavesForAnotherControl(const QWidget* field, const QEvent* event)
{
    if (event->type() != QEvent::FocusOut) return false;
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && field->isVisible();
}

} // namespace cad
