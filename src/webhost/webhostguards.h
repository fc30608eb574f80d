#pragma once

#include "webhost/focuscontrol.h"
#include "webhost/mousewheelfix.h"
#include "webhost/webhostmousehook.h"

namespace quorvel {

// The process-wide guards that keep the web panes and the rest of the program in step: the
// focus guard and the wheel guard. One per process, made before the main window and released
// after it; releasing it stops both guards.
class WebHostGuards {
public:
    // Process switches under the two guards' own.
    static inline bool WheelGuardAllowed = true;
    static inline bool FocusGuardAllowed = true;

    WebHostGuards();
    ~WebHostGuards();
    WebHostGuards(const WebHostGuards&) = delete;
    WebHostGuards& operator=(const WebHostGuards&) = delete;

    quorvel::MouseWheelFix& MouseWheelFix() { return mouseWheelFix_; }
    quorvel::FocusControl& FocusControl() { return focusControl_; }
    // Called for every turn of the wheel before the guard judges it; may set skip.
    WebHostMouseHook::WheelHandler OnMouseWheel;

    void StartWheelGuard();
    void StopWheelGuard();
    void StartFocusGuard();
    void StopFocusGuard();

private:
    quorvel::MouseWheelFix mouseWheelFix_{*this};
    quorvel::FocusControl focusControl_{*this};
    WebHostMouseHook* hook_ = nullptr;
};

} // namespace quorvel
