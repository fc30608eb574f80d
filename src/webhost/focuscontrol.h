#pragma once

namespace quorvel {

class WebHostGuards;

// The switch of the focus guard, part of the guard component.
class FocusControl {
public:
    explicit FocusControl(WebHostGuards& owner) : owner_(owner) {}

    bool Active() const { return active_; }
    // True starts the focus guard if the process allows it and it does not run yet; false
    // stops it.
    void SetActive(bool active);

private:
    WebHostGuards& owner_;
    bool active_ = false;
};

} // namespace quorvel
