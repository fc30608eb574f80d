#pragma once

class QWidget;

namespace quorvel {

// Minimizing a window leaves the hint "map me as an icon" on it, and a window manager that
// restores the window does not take it away: the next time the program shows the window after
// hiding it, the manager maps it as an icon again. Sets the hint back to "normal" on a top-level
// window that is hidden, so showing it brings it on screen. Does nothing off X11.
void ClearIconicStartHint(QWidget* window);

} // namespace quorvel
