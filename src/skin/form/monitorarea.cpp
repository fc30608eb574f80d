#include "skin/form/monitorarea.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quorvel {

QRect MonitorWorkArea(const QWidget* window, bool workArea)
{
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return workArea ? screen->availableGeometry() : screen->geometry();
}

} // namespace quorvel
