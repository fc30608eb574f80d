#pragma once

namespace quorvel {

class WebHostGuards;

// The switch of the wheel guard, part of the guard component.
class MouseWheelFix {
public:
    explicit MouseWheelFix(WebHostGuards& owner) : owner_(owner) {}

    bool Active() const { return active_; }
    // True starts the wheel guard if it does not run yet, false stops it.
    void SetActive(bool active);
    bool ActiveFormOnly() const { return activeFormOnly_; }
    void SetActiveFormOnly(bool activeFormOnly);

private:
    WebHostGuards& owner_;
    bool active_ = false;
    bool activeFormOnly_ = false;
};

} // namespace quorvel
