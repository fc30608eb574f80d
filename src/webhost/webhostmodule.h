#pragma once

#include <cfenv>
#include <memory>

namespace quorvel {

class WebHostFocusControl;
class WebHostMouseHook;

// The web host's share of the program's life: made after the application object and before
// the main window, released after the main window. It keeps the floating-point environment the
// program started with (and puts it back at the end) and runs the focus and wheel guards.
class WebHostModule {
public:
    WebHostModule();
    ~WebHostModule();
    WebHostModule(const WebHostModule&) = delete;
    WebHostModule& operator=(const WebHostModule&) = delete;

    WebHostFocusControl& FocusGuard() { return *focusGuard_; }
    // The environment saved at the module's start; none while no module runs.
    static const std::fenv_t* SavedFloatingPointEnvironment();

private:
    std::fenv_t saved_{};
    std::unique_ptr<WebHostFocusControl> focusGuard_;
    std::unique_ptr<WebHostMouseHook> wheelGuard_;
};

} // namespace quorvel
