#pragma once

#include <QByteArray>

#include <vector>

namespace quorvel {

// The application id: the installed desktop file is named after it (tv.quorvel.Quorvel.desktop,
// as the package installs it), and the desktop portal and a Wayland desktop know the program by it.
inline constexpr const char* kApplicationId = "tv.quorvel.Quorvel";

// The graphical session the program starts in, as its environment tells it.
struct DisplaySession {
    bool wayland = false;         // a Wayland compositor runs the desktop
    bool xServer = false;         // an X server is reachable (XWayland on a Wayland desktop)
    QByteArray requestedPlatform; // QT_QPA_PLATFORM as the viewer or the desktop set it

    // Read from the process environment (before the application object exists).
    static DisplaySession FromEnvironment();

    // The Qt platform the program asks for, or empty to leave the choice to Qt.
    QByteArray ChosenPlatform() const;
};

// The program's arguments with the session's chosen platform asked for ("-platform xcb") right
// after the program's name, so that one the viewer gives still wins. The environment is left
// alone: programs started from this one (a browser) make their own choice.
std::vector<char*> WithChosenPlatform(int argc, char** argv, QByteArray& platform);

} // namespace quorvel
