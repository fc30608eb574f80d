#include "logos/logolog.h"

namespace quorvel {

Q_LOGGING_CATEGORY(logosLog, "quorvel.logos", QtWarningMsg)

} // namespace quorvel
