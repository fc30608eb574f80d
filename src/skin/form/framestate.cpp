#include "skin/form/framestate.h"

namespace quorvel {

bool BorderIcons::Has(BorderIcon icon) const
{
    switch (icon) {
    case BorderIcon::SystemMenu:
        return systemMenu;
    case BorderIcon::Minimize:
        return minimize;
    case BorderIcon::Maximize:
        return maximize;
    case BorderIcon::RollUp:
        return rollUp;
    case BorderIcon::MinimizeToTray:
        return minimizeToTray;
    }
    return false;
}

} // namespace quorvel
