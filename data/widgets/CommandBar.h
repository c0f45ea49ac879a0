#pragma once
#include <QStyle>
#include <QToolBar>
#include <functional>

class QToolButton;

namespace cad {

/// A bar of a screen's commands: large picture buttons with their captions under the pictures,
/// fixed in place; the buttons take no focus.
class CommandBar : public QToolBar
{
    Q_OBJECT
public:
    explicit CommandBar(const QString& name, QWidget* parent = nullptr);

    /// Adds a button that runs ACTION when clicked (none when empty); an error it raises is shown.
    QToolButton* add(const QString& name, const QString& text, QStyle::StandardPixmap icon,
                     std::function<void()> action);
};

} // namespace cad
