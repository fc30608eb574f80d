#include "skin/form/monitorarea.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace quorvel {

QRect MonitorWorkArea(const QWidget* window, bool workArea)
{
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return workArea ? screen->availableGeometry() : screen->geometry();
}

void SetWindowTransparency(QWidget* window, int alpha)
{
    if (window)
        window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

} // namespace quorvel
