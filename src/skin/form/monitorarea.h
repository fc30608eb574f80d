#pragma once

#include <QRect>

class QWidget;

namespace quorvel {

// The work area (or the whole area) of the monitor the window is on.
QRect MonitorWorkArea(const QWidget* window, bool workArea);

} // namespace quorvel
