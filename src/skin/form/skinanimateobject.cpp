#include "skin/form/skinanimateobject.h"

#include "skin/data/dataskinobjects.h"
#include "skin/form/framecommand.h"
#include "skin/form/skinobjectowner.h"

#include <QPainter>

#include <algorithm>

namespace quorvel {

SkinAnimateObject::SkinAnimateObject(SkinObjectOwner& owner, const DataSkinAnimate& data, const SkinPictures& pictures)
    : ActiveSkinObject(owner, data, pictures), CountFrames(std::max(1, data.countFrames)), Cycle(data.cycle),
      ButtonStyle(data.buttonStyle), TimerInterval(std::max(25, data.timerInterval)), Command(data.command)
{
}

void SkinAnimateObject::DrawOn(QPainter& canvas, bool)
{
    const int w = NormalRect.Width(), h = NormalRect.Height();
    const SkinRect from{HotRect.left + w * (Frame - 1), HotRect.top, HotRect.left + w * Frame, HotRect.top + h};
    CopyImage(canvas, StatePicture, from);
}

void SkinAnimateObject::HandleMouseEnter()
{
    PointerInside = true;
    if (ButtonStyle) {
        Hot = true;
        Forward = true;
        OwnerFrame.StartAnimateTimer();
    }
    OwnerFrame.FireMouseEnter(IDName);
}

void SkinAnimateObject::HandleMouseLeave()
{
    if (!PointerInside)
        return;
    PointerInside = false;
    if (ButtonStyle) {
        // Hot while it plays back to its first frame.
        Hot = true;
        Forward = false;
        OwnerFrame.StartAnimateTimer();
    }
    OwnerFrame.FireMouseLeave(IDName);
}

void SkinAnimateObject::AnimateStep()
{
    if (Elapsed < TimerInterval) {
        Elapsed += 25;
        return;
    }
    if (Forward)
        Frame = Frame >= CountFrames ? 1 : Frame + 1;
    else
        Frame = Frame <= 1 ? CountFrames : Frame - 1;
    OwnerFrame.PaintObjectNow(*this);
    if (Forward && !Cycle && Frame == CountFrames)
        Hot = false;
    else if (!Forward && Frame == 1)
        Hot = false;
    Elapsed = 25;
}

void SkinAnimateObject::HandleMouseUp(int x, int y, Qt::MouseButton button)
{
    ActiveSkinObject::HandleMouseUp(x, y, button);
    if (PointerInside && ButtonStyle && button == Qt::LeftButton)
        RunCommand();
}

void SkinAnimateObject::HandleDoubleClick()
{
    if (Command == SkinCommand::SysMenu)
        OwnerFrame.CloseForm();
}

void SkinAnimateObject::RunCommand()
{
    if (RunFrameCommand(OwnerFrame, Command))
        return;
    if (Command == SkinCommand::SysMenu) {
        HasMenu = true;
        OwnerFrame.TrackMenu(*this, true);
    } else if (HasMenu) {
        OwnerFrame.TrackMenu(*this, false);
    }
}

} // namespace quorvel
