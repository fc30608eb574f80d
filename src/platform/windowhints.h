#pragma once

class QWidget;
class QWindow;

namespace quorvel {

// Minimizing a window leaves the hint "map me as an icon" on it, and a window manager that
// restores the window does not take it away: the next time the program shows the window after
// hiding it, the manager maps it as an icon again. Sets the hint back to "normal" on a top-level
// window that is hidden, so showing it brings it on screen. Does nothing off X11.
void ClearIconicStartHint(QWidget* window);

// Asks the X server to keep what is drawn in the window where other windows cover it, so that
// it comes back by itself when they go: without it the server clears the uncovered part and
// waits for the program to draw it again. True when the server keeps it; false off X11, before
// the window exists, or where the server keeps nothing.
bool KeepContentsWhenCovered(QWindow* window);

} // namespace quorvel
