#include "skin/form/skinbuttonobject.h"

#include "skin/data/dataskinobjects.h"
#include "skin/form/skinobjectowner.h"

namespace quorvel {

SkinButtonObject::SkinButtonObject(SkinObjectOwner& owner, std::string idName)
    : ActiveSkinObject(owner, std::move(idName))
{
}

SkinButtonObject::SkinButtonObject(SkinObjectOwner& owner, const DataSkinButton& data, const SkinPictures& pictures)
    : ActiveSkinObject(owner, data, pictures), DownRect(data.downRect), DisabledRect(data.disableSkinRect)
{
}

bool SkinButtonObject::MorphStepPending() const
{
    // A button holding its menu open stays as it is.
    if (HasMenu && Down)
        return false;
    return ActiveSkinObject::MorphStepPending();
}

void SkinButtonObject::DrawButton(QPainter& canvas, bool update)
{
    if (!Enabled && !DisabledRect.IsEmpty())
        CopyImage(canvas, StatePicture, DisabledRect);
    else if (Down && PointerInside && !DownRect.IsEmpty())
        CopyImage(canvas, StatePicture, DownRect);
    else
        DrawActive(canvas, update);
}

void SkinButtonObject::DrawOn(QPainter& canvas, bool update) { DrawButton(canvas, update); }

void SkinButtonObject::SetDown(bool value)
{
    Down = value;
    if (Morphing && Hot)
        MorphAmount = 1;
    OwnerFrame.PaintObjectNow(*this);
    if (Morphing && !value)
        Redraw();
}

void SkinButtonObject::HandleMouseDown(int x, int y, Qt::MouseButton button)
{
    if (Enabled && button == Qt::LeftButton && !Down) {
        SetDown(true);
        OwnerFrame.TrackMenu(*this, false);
    }
    ActiveSkinObject::HandleMouseDown(x, y, button);
}

void SkinButtonObject::ButtonMouseUp(int x, int y, Qt::MouseButton button)
{
    if (Enabled && button == Qt::LeftButton && !HasMenu && Down)
        SetDown(false);
    ActiveSkinObject::HandleMouseUp(x, y, button);
}

void SkinButtonObject::HandleMouseUp(int x, int y, Qt::MouseButton button) { ButtonMouseUp(x, y, button); }

void SkinButtonObject::HandleMouseEnter()
{
    PointerInside = true;
    Hot = true;
    if (!DownRect.IsEmpty() && Down) {
        if (Morphing)
            MorphAmount = 1;
        OwnerFrame.PaintObjectNow(*this);
    } else if (!HotRect.IsEmpty()) {
        Redraw();
    }
    OwnerFrame.FireMouseEnter(IDName);
}

void SkinButtonObject::HandleMouseLeave()
{
    PointerInside = false;
    Hot = false;
    if (!HasMenu || !Down) {
        OwnerFrame.PaintObjectNow(*this);
        Redraw();
    }
    OwnerFrame.FireMouseLeave(IDName);
}

} // namespace quorvel
