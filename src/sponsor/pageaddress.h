#pragma once

#include <QString>

#include <string>

namespace quorvel {

// The address of a page file in the given folder (which ends in "/"): a file URL that loads
// whatever the folder's name holds (spaces, "#", "?"). With no folder, the page at the root.
QString LocalPageAddress(const std::string& folder, const char* page);

// Whether an ad's address may be handed to the user's browser: only http and https addresses
// with a host; never a local path, a program, a desktop file or another scheme.
bool IsWebAddress(const QString& address);

} // namespace quorvel
