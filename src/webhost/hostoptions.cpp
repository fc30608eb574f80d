#include "webhost/hostoptions.h"

#include <array>

namespace quorvel {
namespace {

// In element order. The user-interface flags skip 0x8000, which the browser uses for something
// a host cannot ask for.
constexpr std::array<std::uint32_t, UserInterfaceOptionCount> kUserInterfaceFlags{
    0x1,      0x2,      0x4,       0x8,       0x10,      0x20,      0x40,      0x80,
    0x100,    0x200,    0x400,     0x800,     0x1000,    0x2000,    0x4000,    0x10000,
    0x20000,  0x40000,  0x80000,   0x100000,  0x200000,  0x400000,  0x800000,  0x1000000,
    0x2000000, 0x4000000, 0x8000000, 0x10000000, 0x20000000,
};

constexpr std::array<std::uint32_t, DownloadOptionCount> kDownloadFlags{
    0x10,    0x20,    0x40,    0x80,    0x100,   0x200,      0x400,      0x800,      0x1000,     0x2000,
    0x4000,  0x8000,  0x10000, 0x20000, 0x40000, 0x10000000, 0x20000000, 0x40000000, 0x80000000,
};

constexpr std::array<unsigned, PopupMenuItemCount> kMenuCommands{
    2282, 2283, 2263, 2264, 2265, 2278, 31, 26, 2266, 2261, 2292, 2300, 2139, 28, 27, 2137, 2136,
};

} // namespace

std::uint32_t UserInterfaceFlag(UserInterfaceOption option)
{
    return kUserInterfaceFlags.at(static_cast<unsigned>(option));
}

std::uint32_t HostUIFlagsOf(UserInterfaceOptionSet options)
{
    std::uint32_t flags = 0;
    for (unsigned i = 0; i < UserInterfaceOptionCount; ++i)
        if (options.Contains(static_cast<UserInterfaceOption>(i)))
            flags |= kUserInterfaceFlags[i];
    return flags;
}

std::uint32_t DownloadControlFlag(DownloadOption option) { return kDownloadFlags.at(static_cast<unsigned>(option)); }

std::uint32_t DownloadControlFlagsOf(DownloadOptionSet options)
{
    std::uint32_t flags = 0;
    for (unsigned i = 0; i < DownloadOptionCount; ++i)
        if (options.Contains(static_cast<DownloadOption>(i)))
            flags |= kDownloadFlags[i];
    return flags;
}

unsigned PopupMenuCommand(PopupMenuItem item) { return kMenuCommands.at(static_cast<unsigned>(item)); }

} // namespace quorvel
