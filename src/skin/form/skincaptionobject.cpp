#include "skin/form/skincaptionobject.h"

#include "skin/data/dataskinobjects.h"
#include "skin/data/skinwindowdata.h"
#include "skin/form/skinobjectowner.h"
#include "skin/render/effectbmp.h"
#include "skin/render/skinfont.h"
#include "skin/render/skinutils.h"

#include <QFontMetrics>
#include <QPainter>

namespace quorvel {

SkinCaptionObject::SkinCaptionObject(SkinObjectOwner& owner, const DataSkinCaption& data, const SkinPictures& pictures)
    : ActiveSkinObject(owner, data, pictures), SkinTextRect(data.textRect),
      Font(SkinFont(data.fontName, data.fontHeight, data.fontStyle)), FontColor(data.fontColor),
      ActiveFontColor(data.activeFontColor), Alignment(data.alignment), Shadow(data.shadow),
      ShadowColor(data.shadowColor), ActiveShadowColor(data.activeShadowColor), FrameRect(data.frameRect),
      ActiveFrameRect(data.activeFrameRect), FrameTextRect(data.frameTextRect), FrameLeftOffset(data.frameLeftOffset),
      FrameRightOffset(data.frameRightOffset)
{
}

SkinRect SkinCaptionObject::TextRect() const
{
    SkinRect t = SkinTextRect;
    // The text area grows with the caption.
    if (!SkinTextRect.IsEmpty())
        t.right = ObjectRect.Width() + SkinTextRect.right - NormalRect.Width();
    if (!FrameRect.IsEmpty()) {
        t.left += FrameTextRect.left;
        t.top += FrameTextRect.top;
        t.right += FrameTextRect.right - FrameRect.Width();
    }
    return t;
}

QImage SkinCaptionObject::CaptionBackground(const QImage& picture, const SkinRect& s) const
{
    const int W = ObjectRect.Width(), H = ObjectRect.Height();
    if (W < 1 || H < 1)
        return {};
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::black);
    const FormInfo* info = OwnerFrame.SkinFormInfo();
    if (picture.isNull() || s.IsEmpty() || !info)
        return image;
    const int l = std::max(0, info->lefttoppoint.x - NormalRect.left);
    const int r = std::max(0, NormalRect.right - info->righttoppoint.x);
    QPainter p(&image);
    const SkinRect middle{s.left + l, s.top, s.right - r, s.bottom};
    const SkinRect whole{0, 0, W, H};
    if (l == 0 && r == 0)
        CopyPart(p, picture, middle, whole);
    else
        TileX(p, picture, middle, 0, W, 0, H);
    if (l > 0)
        CopyPart(p, picture, SkinRect{s.left, s.top, s.left + l, s.bottom}, SkinRect{0, 0, l, H});
    if (r > 0)
        CopyPart(p, picture, SkinRect{s.right - r, s.top, s.right, s.bottom}, SkinRect{W - r, 0, W, H});
    return image;
}

void SkinCaptionObject::DrawCaptionText(QPainter& canvas, int offsetX, int offsetY, bool active) const
{
    const QString text = OwnerFrame.FormCaption();
    if (text.isEmpty() || SkinTextRect.IsEmpty())
        return;
    const SkinRect t = TextRect();
    canvas.save();
    canvas.setFont(Font);
    const QFontMetrics metrics(Font, canvas.device());
    const QString shown = ShortenCaption(text, metrics, t.Width());
    const int textWidth = metrics.horizontalAdvance(shown);
    const int textHeight = metrics.height();
    int x = t.left;
    if (Alignment == TextAlignment::Right)
        x = t.right - textWidth;
    else if (Alignment == TextAlignment::Center)
        x = t.left + t.Width() / 2 - textWidth / 2;
    const int y = t.top + t.Height() / 2 - textHeight / 2 + offsetY;
    x += offsetX;
    if (!FrameRect.IsEmpty()) {
        const SkinRect& source = active && !ActiveFrameRect.IsEmpty() ? ActiveFrameRect : FrameRect;
        QImage strip;
        BuildHStrip(StatePicture, source, FrameLeftOffset, FrameRightOffset,
                    FrameRect.Width() + textWidth - FrameTextRect.Width(), strip);
        if (!strip.isNull())
            canvas.drawImage(x - FrameTextRect.left, y - FrameTextRect.top, strip);
    }
    const int baseline = y + metrics.ascent();
    if (Shadow) {
        canvas.setPen(SkinColorToQColor(active ? ActiveShadowColor : ShadowColor));
        canvas.drawText(x + 1, baseline + 1, shown);
    }
    canvas.setPen(SkinColorToQColor(active ? ActiveFontColor : FontColor));
    canvas.drawText(x, baseline, shown);
    canvas.restore();
}

void SkinCaptionObject::ApplyInactiveLook(QImage& image) const
{
    const FormInfo* info = OwnerFrame.SkinFormInfo();
    if (!info || !info->autorenderinginactiveimage || Hot || image.isNull())
        return;
    EffectBmp effect(image);
    effect.ApplyInactiveEffect(info->inactiveeffect);
    image = effect.Image().convertToFormat(QImage::Format_RGB32);
}

QImage SkinCaptionObject::Composed(bool active) const
{
    QImage image = active ? CaptionBackground(StatePicture, HotRect) : CaptionBackground(FramePicture, NormalRect);
    if (!image.isNull()) {
        QPainter p(&image);
        DrawCaptionText(p, 0, 0, active);
    }
    return image;
}

void SkinCaptionObject::DrawOn(QPainter& canvas, bool)
{
    if (MorphUnderWay()) {
        const QImage a = Composed(false), b = Composed(true);
        if (a.isNull() || b.isNull())
            return;
        EffectBmp blend(a);
        blend.Morph(Kind, EffectBmp(b), MorphAmount);
        QImage result = blend.Image().convertToFormat(QImage::Format_RGB32);
        ApplyInactiveLook(result);
        canvas.drawImage(ObjectRect.left, ObjectRect.top, result);
    } else if (HotRect.IsEmpty() || (!Hot && !Morphing)) {
        DrawCaptionText(canvas, ObjectRect.left, ObjectRect.top, Hot);
    } else if (Hot) {
        const QImage b = Composed(true);
        if (!b.isNull())
            canvas.drawImage(ObjectRect.left, ObjectRect.top, b);
    } else {
        QImage a = Composed(false);
        ApplyInactiveLook(a);
        if (!a.isNull())
            canvas.drawImage(ObjectRect.left, ObjectRect.top, a);
    }
}

void SkinCaptionObject::HandleMouseDown(int x, int y, Qt::MouseButton button)
{
    OwnerFrame.FireMouseDown(IDName, x, y, ObjectRect, button);
}

void SkinCaptionObject::HandleMouseUp(int x, int y, Qt::MouseButton button)
{
    // Also when the pointer has left the caption.
    OwnerFrame.FireMouseUp(IDName, x, y, ObjectRect, button);
}

void SkinCaptionObject::HandleMouseEnter()
{
    PointerInside = true;
    OwnerFrame.FireMouseEnter(IDName);
}

void SkinCaptionObject::HandleMouseLeave()
{
    PointerInside = false;
    OwnerFrame.FireMouseLeave(IDName);
}

} // namespace quorvel
