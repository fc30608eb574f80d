#pragma once

// Whether a separate X client may grab plain Home on the root window right now (it cannot
// while another client holds it). The probe releases what it got.
bool OtherClientCanGrabHome();

// Another X client holding plain Home for as long as the object lives.
class HomeHolder {
public:
    HomeHolder();
    ~HomeHolder();
    HomeHolder(const HomeHolder&) = delete;
    HomeHolder& operator=(const HomeHolder&) = delete;
    bool Holds() const { return holds_; }

private:
    void* display_ = nullptr;
    bool holds_ = false;
};
