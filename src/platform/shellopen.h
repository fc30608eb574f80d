#pragma once

#include <QString>

#include <functional>

namespace quorvel {

// Opens a web address in the user's default browser, through the desktop's opener
// (xdg-open). When no browser can be started, the handler set below hears of it, with the
// address, on the Qt thread a moment later; without a handler the failure goes unreported.
void ShellOpen(const QString& address);

// Who tells the viewer that an address could not be opened; empty for nobody.
void SetShellOpenFailureHandler(std::function<void(const QString& address)> handler);

} // namespace quorvel
