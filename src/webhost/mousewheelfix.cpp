#include "webhost/mousewheelfix.h"

#include "webhost/webhostguards.h"
#include "webhost/webhostmousehook.h"

namespace quorvel {

void MouseWheelFix::SetActive(bool active)
{
    active_ = active;
    if (active)
        owner_.StartWheelGuard();
    else
        owner_.StopWheelGuard();
}

void MouseWheelFix::SetActiveFormOnly(bool activeFormOnly)
{
    activeFormOnly_ = activeFormOnly;
    if (WebHostMouseHook* hook = WebHostMouseHook::Instance())
        hook->SetActiveFormOnly(activeFormOnly);
}

} // namespace quorvel
