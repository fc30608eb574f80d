#pragma once

#include <QLoggingCategory>

namespace quorvel {

// The steps of a zap, each with the time it was taken, for finding where a zap's time goes:
// QT_LOGGING_RULES="quorvel.zap.debug=true" turns it on. QUORVEL_MPV_LOG=<path> has every core
// write mpv's own log, at its most detailed and with its times, to <path>.<n>.
Q_DECLARE_LOGGING_CATEGORY(zapTrace)

// Milliseconds on QDeadlineTimer's clock, the one the player's own times are taken on.
double ZapTraceMs();

} // namespace quorvel
