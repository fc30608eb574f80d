#pragma once

#include "skin/definition/skinvalues.h"

#include <QImage>
#include <Qt>

#include <string>

class QPainter;

namespace quorvel {

class DataSkinObject;
class SkinObjectOwner;
class SkinPictures;

// A piece of the frame that follows the pointer or shows a state: it has a normal image, a hot
// image it morphs to while the pointer is over it, and an image for an inactive window.
class ActiveSkinObject {
public:
    // An object of the default set, without a skin section.
    ActiveSkinObject(SkinObjectOwner& owner, std::string idName);
    // An object made from its skin section.
    ActiveSkinObject(SkinObjectOwner& owner, const DataSkinObject& data, const SkinPictures& pictures);
    virtual ~ActiveSkinObject();
    ActiveSkinObject(const ActiveSkinObject&) = delete;
    ActiveSkinObject& operator=(const ActiveSkinObject&) = delete;

    virtual bool MorphStepPending() const;
    virtual void DrawOn(QPainter& canvas, bool update);
    virtual void HandleDoubleClick();
    virtual void HandleMouseDown(int x, int y, Qt::MouseButton button);
    virtual void HandleMouseUp(int x, int y, Qt::MouseButton button);
    virtual void HandleMouseMove(int x, int y);
    virtual void HandleMouseEnter();
    virtual void HandleMouseLeave();

    // Morphing objects draw themselves on the next morph ticks; others at once.
    void Redraw();
    // A morph drawing is under way: the amount has not reached the end the hot flag asks for.
    bool MorphUnderWay() const;
    // One step of 0.2 towards the hot (or normal) image, then the object is drawn.
    void MorphStep();

    SkinObjectOwner& OwnerFrame;
    std::string IDName;
    std::string Hint;
    bool ImagesInStatePicture = false;
    QImage FramePicture;
    QImage StatePicture; // null when the section names no picture
    SkinRect NormalRect;
    SkinRect HotRect;
    SkinRect InactiveRect;
    SkinRect ObjectRect;
    bool Morphing = false;
    MorphKind Kind = MorphKind::Default;
    double MorphAmount = 0;
    bool Hot = false;
    bool PointerInside = false;
    bool Enabled = true;
    bool Visible = true;

protected:
    // The picture that holds the normal image.
    const QImage& NormalPicture() const;
    // Copies a part of a picture onto ObjectRect, resampled when the sizes differ.
    void CopyImage(QPainter& canvas, const QImage& picture, const SkinRect& from) const;
    // Blends image a towards image b by MorphAmount in the object's morph kind, onto ObjectRect.
    void DrawBlend(QPainter& canvas, const QImage& a, const SkinRect& fromA, const QImage& b,
                   const SkinRect& fromB) const;
    // The base rules, for the derived kinds that fall back to them.
    void DrawActive(QPainter& canvas, bool update);
};

// The part of the picture, at the size of target (resampled when it differs); null when the
// picture or the part is empty.
QImage ObjectImage(const QImage& picture, const SkinRect& from, int width, int height);

} // namespace quorvel
