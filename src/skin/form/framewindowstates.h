#pragma once

#include "skin/form/framestate.h"

#include <QRect>

namespace quorvel {

class SkinForm;

// The frame's own window states: normal, maximized to the monitor's work area and back to
// the bounds it had, minimized (the application with it), and rolled up to its caption.
class FrameWindowStates {
public:
    explicit FrameWindowStates(SkinForm& frame);

    bool RolledUpMaximized = false;
    int HeightBeforeRollUp = 0;
    QRect NormalBounds; // null when not saved

    FrameState GetFrameState() const { return frameState_; }
    void SetFrameState(FrameState state);
    bool RolledUp() const { return rolledUp_; }
    void SetRollUp(bool value);
    // A double click on the caption rolls the window up or down.
    void CaptionDoubleClick();
    // The window system changed the window's state: full screen has no frame and no outline;
    // back from it, both return.
    void HandleWindowState();

private:
    SkinForm& frame_;
    FrameState frameState_ = FrameState::Normal;
    bool rolledUp_ = false;
};

} // namespace quorvel
