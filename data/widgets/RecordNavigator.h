#pragma once
#include "data/widgets/CommandBar.h"

#include <array>

namespace cad {

class RecordSet;

/// The record-navigation bar: buttons that move a record set to its first, previous, next or
/// last row; they do nothing while the set is closed.
class RecordNavigator : public CommandBar
{
    Q_OBJECT
public:
    using Move = void (RecordSet::*)();
    /// A button's object name and caption.
    struct Button
    {
        const char* name;
        const char* text;
    };

    /// BUTTONS in the order first, previous, next, last.
    RecordNavigator(RecordSet& set, const std::array<Button, 4>& buttons, QWidget* parent = nullptr);

    /// What a button does instead of moving the open set itself: for a screen with work to do
    /// around a move (text still in a list cell, a wait pointer).
    void setMover(std::function<void(Move)> mover) { m_mover = std::move(mover); }

private:
    std::function<void(Move)> m_mover;
};

} // namespace cad
