#include "data/widgets/CommandBar.h"

#include "core/ErrorSink.h"

#include <QToolButton>

namespace cad {

CommandBar::CommandBar(const QString& name, QWidget* parent) : QToolBar(parent)
{
    setObjectName(name);
    setMovable(false);
    setIconSize(QSize(24, 24));
}

QToolButton* CommandBar::add(const QString& name, const QString& text, QStyle::StandardPixmap icon,
                             std::function<void()> action)
{
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(56);
    addWidget(b);
    if (action) connect(b, &QToolButton::clicked, this, [action = std::move(action)] { guarded(action); });
    return b;
}

} // namespace cad
