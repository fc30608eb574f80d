#include "webhost/focuscontrol.h"

#include "webhost/webhostguards.h"

namespace quorvel {

void FocusControl::SetActive(bool active)
{
    active_ = active;
    if (active)
        owner_.StartFocusGuard();
    else
        owner_.StopFocusGuard();
}

} // namespace quorvel
