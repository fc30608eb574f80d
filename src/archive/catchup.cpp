#include "archive/catchup.h"

namespace quorvel {

std::string_view CatchupModeName(CatchupMode mode)
{
    switch (mode) {
    case CatchupMode::Default:
        return "default";
    case CatchupMode::Append:
        return "append";
    case CatchupMode::Shift:
        return "shift";
    case CatchupMode::Flussonic:
        return "flussonic";
    case CatchupMode::Xc:
        return "xc";
    }
    return "default";
}

} // namespace quorvel
