#pragma once

#include <QRect>

class QWidget;

namespace quorvel {

// The work area (or the whole area) of the monitor the window is on.
QRect MonitorWorkArea(const QWidget* window, bool workArea);
// Sets the window's opacity, 0 (clear) to 255 (solid).
void SetWindowTransparency(QWidget* window, int alpha);

} // namespace quorvel
