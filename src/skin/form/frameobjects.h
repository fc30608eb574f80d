#pragma once

#include "skin/form/activeskinobject.h"
#include "skin/form/framegeometry.h"
#include "skin/form/framestate.h"

#include <QSize>

#include <functional>
#include <memory>
#include <vector>

namespace quorvel {

class ResourceStrData;
class SkinCaptionObject;
class SkinData;
class SkinObjectOwner;
class SkinPictures;

// The frame's objects in skin order: made from the skin or as the default set, placed at every
// size, shown or hidden by the frame's border icons, stepped by the morph and animation timers.
class FrameObjects {
public:
    int Count() const { return static_cast<int>(objects_.size()); }
    bool Empty() const { return objects_.empty(); }
    // The object at the index, or none outside the list.
    ActiveSkinObject* At(int index) const;
    int IndexOf(const ActiveSkinObject* object) const;
    void Clear();

    // One object per object section of the skin; menu and menu bar sections make none.
    void CreateFromSkin(SkinObjectOwner& owner, const SkinData& data, const SkinPictures& pictures);
    // Close, maximize, minimize, roll-up, system menu and tray buttons drawn without a skin.
    void CreateDefault(SkinObjectOwner& owner);

    struct Visibility {
        bool hideCaptionButtons = false;
        BorderIcons borderIcons;
        // Decides whether an application button (command cmdefault) shows; none: hidden.
        std::function<bool(const std::string& id)> activateCustomObject;
    };
    void ApplyButtonVisibility(const Visibility& rules);
    // Hints of the caption buttons: the skin's strings when there are any, else the built-in texts.
    void AssignStandardHints(const ResourceStrData* strings);
    // Places the objects on a frame of the given geometry.
    void Place(const FrameGeometry& geometry, const FormInfo& info, int pictureWidth, int pictureHeight, bool showIcon,
               QSize smallIcon);
    void ResetHoverState();
    // One morph tick: false when no object took a step (the timer stops).
    bool MorphTick();
    // One animation tick: false when no animation plays any more (the timer stops).
    bool AnimateTick();

    // The first caption object; none when the frame has no caption.
    SkinCaptionObject* FirstCaption() const;
    // The first caption object that contains the point.
    bool PointOnCaption(int x, int y) const;

private:
    std::vector<std::unique_ptr<ActiveSkinObject>> objects_;
};

// The command of a standard button or an animation; cmdefault for any other object.
SkinCommand ObjectCommand(const ActiveSkinObject& object);
// A standard button, or an animation acting as a button: the objects that border icons govern.
bool IsCaptionButtonKind(const ActiveSkinObject& object);

} // namespace quorvel
