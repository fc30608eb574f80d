#include "webhost/webhostguards.h"

#include "webhost/webhostfocuscontrol.h"

namespace quorvel {

WebHostGuards::WebHostGuards() = default;

WebHostGuards::~WebHostGuards()
{
    StopWheelGuard();
    StopFocusGuard();
}

void WebHostGuards::StartWheelGuard()
{
    if (hook_)
        return;
    hook_ = WebHostMouseHook::Create();
    // The handler is read when the wheel turns, so one assigned later counts too.
    hook_->SetOnMouseWheel([this](QPoint point, QWidget* target, bool& skip, QWheelEvent* event) {
        if (OnMouseWheel)
            OnMouseWheel(point, target, skip, event);
    });
    hook_->SetActiveFormOnly(mouseWheelFix_.ActiveFormOnly());
    if (!hook_->Hooked() && WheelGuardAllowed)
        hook_->Hook();
}

void WebHostGuards::StopWheelGuard()
{
    if (!hook_)
        return;
    hook_->SetOnMouseWheel(nullptr);
    hook_->Release();
    hook_ = nullptr;
}

void WebHostGuards::StartFocusGuard()
{
    if (FocusGuardAllowed)
        WebHostFocusControl::Create();
}

void WebHostGuards::StopFocusGuard() { WebHostFocusControl::Destroy(); }

} // namespace quorvel
