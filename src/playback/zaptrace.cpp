#include "playback/zaptrace.h"

#include <QDeadlineTimer>

namespace quorvel {

Q_LOGGING_CATEGORY(zapTrace, "quorvel.zap", QtWarningMsg)

double ZapTraceMs() { return static_cast<double>(QDeadlineTimer::current().deadlineNSecs()) / 1e6; }

} // namespace quorvel
