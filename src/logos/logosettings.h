#pragma once

#include "logos/logolimits.h"

#include <QString>
#include <QtGlobal>

#include <functional>

namespace quorvel {

// How logos are fetched and kept. Every field has a default the program uses; tests inject a
// folder, smaller bounds and a clock of their own.
struct LogoSettings {
    QString folder;                  // the disk cache; empty: DefaultLogoFolder()
    qint64 diskBytes = 64LL << 20;   // the cache folder's bound; the least recently used go first
    qint64 memoryBytes = 32LL << 20; // scaled images kept in memory, enough for 20,000 tree icons
    LogoLimits limits;
    int timeoutMs = 10000; // a fetch that has not ended by then is given up
    int concurrentFetches = 4;
    qint64 refreshAfterMs = 24LL * 3600 * 1000; // a cached logo this old is shown and fetched again
    qint64 retryAfterMs = 3600LL * 1000;        // a failed fetch is not tried again before this
    // Milliseconds since the epoch; called from worker threads too. Empty: the system clock.
    std::function<qint64()> clock;
};

// $XDG_CACHE_HOME/quorvel/logos when $XDG_CACHE_HOME is an absolute path, else
// ~/.cache/quorvel/logos.
QString DefaultLogoFolder();

} // namespace quorvel
