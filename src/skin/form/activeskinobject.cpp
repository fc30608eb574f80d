#include "skin/form/activeskinobject.h"

#include "skin/data/dataskinobjects.h"
#include "skin/form/skinobjectowner.h"
#include "skin/render/effectbmp.h"
#include "skin/render/skinpictures.h"

#include <QPainter>

#include <algorithm>

namespace quorvel {

QImage ObjectImage(const QImage& picture, const SkinRect& from, int width, int height)
{
    if (picture.isNull() || from.IsEmpty() || width < 1 || height < 1)
        return {};
    QImage part = picture.copy(from.left, from.top, from.Width(), from.Height());
    if (part.width() != width || part.height() != height)
        part = part.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return part;
}

ActiveSkinObject::ActiveSkinObject(SkinObjectOwner& owner, std::string idName)
    : OwnerFrame(owner), IDName(std::move(idName))
{
}

ActiveSkinObject::ActiveSkinObject(SkinObjectOwner& owner, const DataSkinObject& data, const SkinPictures& pictures)
    : OwnerFrame(owner), IDName(data.IDName), Hint(data.hint), ImagesInStatePicture(data.skinRectInAPicture),
      FramePicture(pictures.Picture()), StatePicture(pictures.Numbered(data.activePictureIndex)),
      NormalRect(data.skinRect), HotRect(data.activeSkinRect), InactiveRect(data.inactiveSkinRect),
      ObjectRect(data.skinRect), Morphing(data.morphing), Kind(data.morphKind)
{
    // Without a state picture there is no hot image, and nothing to morph to.
    if (StatePicture.isNull())
        HotRect = SkinRect{};
    if (HotRect.IsEmpty())
        Morphing = false;
}

ActiveSkinObject::~ActiveSkinObject() = default;

bool ActiveSkinObject::MorphStepPending() const { return (Hot && MorphAmount < 1) || (!Hot && MorphAmount > 0); }

bool ActiveSkinObject::MorphUnderWay() const
{
    return Morphing && ((Hot && MorphAmount != 1) || (!Hot && MorphAmount != 0));
}

void ActiveSkinObject::MorphStep()
{
    MorphAmount = std::clamp(MorphAmount + (Hot ? 0.2 : -0.2), 0.0, 1.0);
    // Five steps of 0.2 add up to a little less or more than 1 in binary: land on the end exactly.
    if (MorphAmount > 0.999)
        MorphAmount = 1;
    else if (MorphAmount < 0.001)
        MorphAmount = 0;
    OwnerFrame.PaintObjectNow(*this);
}

void ActiveSkinObject::Redraw()
{
    if (Morphing)
        OwnerFrame.StartMorphTimer();
    else
        OwnerFrame.PaintObjectNow(*this);
}

const QImage& ActiveSkinObject::NormalPicture() const { return ImagesInStatePicture ? StatePicture : FramePicture; }

void ActiveSkinObject::CopyImage(QPainter& canvas, const QImage& picture, const SkinRect& from) const
{
    if (picture.isNull() || from.IsEmpty() || ObjectRect.IsEmpty())
        return;
    // Straight from the picture, resampled only when the sizes differ.
    canvas.drawImage(QRect(ObjectRect.left, ObjectRect.top, ObjectRect.Width(), ObjectRect.Height()), picture,
                     QRect(from.left, from.top, from.Width(), from.Height()));
}

void ActiveSkinObject::DrawBlend(QPainter& canvas, const QImage& a, const SkinRect& fromA, const QImage& b,
                                 const SkinRect& fromB) const
{
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    const QImage imageA = ObjectImage(a, fromA, w, h);
    const QImage imageB = ObjectImage(b, fromB, w, h);
    if (imageA.isNull() || imageB.isNull()) {
        // Only one end exists: show the one the morph is heading for, if it is there.
        const QImage& shown = MorphAmount >= 0.5 && !imageB.isNull() ? imageB : imageA;
        if (!shown.isNull())
            canvas.drawImage(ObjectRect.left, ObjectRect.top, shown);
        return;
    }
    EffectBmp blend(imageA);
    blend.Morph(Kind, EffectBmp(imageB), MorphAmount);
    blend.Draw(canvas, ObjectRect.left, ObjectRect.top);
}

void ActiveSkinObject::DrawActive(QPainter& canvas, bool update)
{
    if (Enabled && !OwnerFrame.IsActiveForDrawing() && !InactiveRect.IsEmpty())
        CopyImage(canvas, StatePicture, InactiveRect);
    else if (MorphUnderWay())
        DrawBlend(canvas, NormalPicture(), NormalRect, StatePicture, HotRect);
    else if (Hot && !HotRect.IsEmpty())
        CopyImage(canvas, StatePicture, HotRect);
    else if (!update && !ImagesInStatePicture)
        return; // a freshly composed frame already shows it
    else
        CopyImage(canvas, NormalPicture(), NormalRect);
}

void ActiveSkinObject::DrawOn(QPainter& canvas, bool update) { DrawActive(canvas, update); }

void ActiveSkinObject::HandleDoubleClick() { }

void ActiveSkinObject::HandleMouseDown(int x, int y, Qt::MouseButton button)
{
    OwnerFrame.FireMouseDown(IDName, x, y, ObjectRect, button);
}

void ActiveSkinObject::HandleMouseUp(int x, int y, Qt::MouseButton button)
{
    if (PointerInside)
        OwnerFrame.FireMouseUp(IDName, x, y, ObjectRect, button);
}

void ActiveSkinObject::HandleMouseMove(int x, int y) { OwnerFrame.FireMouseMove(IDName, x, y, ObjectRect); }

void ActiveSkinObject::HandleMouseEnter()
{
    PointerInside = true;
    Hot = true;
    if (!HotRect.IsEmpty())
        Redraw();
    OwnerFrame.FireMouseEnter(IDName);
}

void ActiveSkinObject::HandleMouseLeave()
{
    PointerInside = false;
    Hot = false;
    if (!HotRect.IsEmpty())
        Redraw();
    OwnerFrame.FireMouseLeave(IDName);
}

} // namespace quorvel
