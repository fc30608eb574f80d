#pragma once

#include <QLoggingCategory>

namespace quorvel {

// Logo fetches that fail are common and harmless: they are told at debug level, by host only.
Q_DECLARE_LOGGING_CATEGORY(logosLog)

} // namespace quorvel
