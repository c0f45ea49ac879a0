#pragma once

class QWidget;

namespace cad {

/// WINDOW, shown normally, fills the available area of its screen (the screen less panels) with
/// its frame, at a size the operator cannot change: it looks maximised and is never cut by its
/// title bar. The size follows the frame the window manager adds and the area's changes. (A window
/// manager's own maximised state is not used: some restore a window whose size is fixed, and give
/// it another frame.)
void keepMaximised(QWidget* window);

/// WINDOW's frame stays inside the available area of its screen when it is shown and when the
/// window manager frames it: moved in, and made smaller (down to its minimum) when too big.
void keepOnScreen(QWidget* window);

} // namespace cad
