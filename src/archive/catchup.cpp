#include "archive/catchup.h"

#include "base/foldednames.h"

#include <array>
#include <utility>

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

std::optional<CatchupMode> CatchupModeNamed(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, CatchupMode>, 8> kModes = {{
        {"default", CatchupMode::Default},
        {"append", CatchupMode::Append},
        {"shift", CatchupMode::Shift},
        {"flussonic", CatchupMode::Flussonic},
        {"flussonic-hls", CatchupMode::Flussonic},
        {"flussonic-ts", CatchupMode::Flussonic},
        {"fs", CatchupMode::Flussonic},
        {"xc", CatchupMode::Xc},
    }};
    for (const auto& [known, mode] : kModes)
        if (NamesEqual(name, known))
            return mode;
    return std::nullopt;
}

} // namespace quorvel
