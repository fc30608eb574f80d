#pragma once

#include <QString>
#include <QUrl>

namespace quorvel {

// The address as a URL when it is a valid http or https address; an invalid URL for anything
// else (a file, another scheme, a malformed text), which callers then read as a local path.
QUrl WebAddress(const QString& location);

} // namespace quorvel
