#include "xkbrepeat.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

bool SetDetectableAutoRepeat(bool on)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return false;
    Bool supported = False;
    const Bool now = XkbSetDetectableAutoRepeat(x11->display(), on ? True : False, &supported);
    return supported && (now == True) == on;
}
