#pragma once

#include "skin/form/activeskinobject.h"

namespace quorvel {

class DataSkinAnimate;

// A frame animation: side-by-side frames of the state picture, stepped by the frame's animation
// timer; with "buttonstyle" it plays while the pointer is over it and can run a command.
class SkinAnimateObject : public ActiveSkinObject {
public:
    SkinAnimateObject(SkinObjectOwner& owner, const DataSkinAnimate& data, const SkinPictures& pictures);

    void DrawOn(QPainter& canvas, bool update) override;
    void HandleDoubleClick() override;
    void HandleMouseUp(int x, int y, Qt::MouseButton button) override;
    void HandleMouseEnter() override;
    void HandleMouseLeave() override;

    // One tick of the animation timer (25 ms).
    void AnimateStep();
    void RunCommand();

    int CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    int TimerInterval = 50;
    SkinCommand Command = SkinCommand::Default;
    int Frame = 1;
    bool Forward = true;
    int Elapsed = 25;
    bool HasMenu = false;
    bool OpenUpwards = false;
};

} // namespace quorvel
