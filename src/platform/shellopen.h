#pragma once

#include <QString>

namespace quorvel {

// Opens a web address in the user's default browser; the result is not reported.
void ShellOpen(const QString& address);

} // namespace quorvel
