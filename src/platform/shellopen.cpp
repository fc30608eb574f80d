#include "shellopen.h"

#include <QDesktopServices>
#include <QUrl>

namespace quorvel {

void ShellOpen(const QString& address) { QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode)); }

} // namespace quorvel
