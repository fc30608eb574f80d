#pragma once

#include "skin/definition/skinvalues.h"
#include "skin/form/framestate.h"

#include <QImage>
#include <QString>
#include <Qt>

#include <string>

namespace quorvel {

class ActiveSkinObject;
struct FormInfo;

// What a frame object asks of the frame that owns it.
class SkinObjectOwner {
public:
    virtual ~SkinObjectOwner() = default;

    // Draws that one object on the window at once, with the update flag on.
    virtual void PaintObjectNow(ActiveSkinObject& object) = 0;
    virtual bool IsActiveForDrawing() const = 0;
    virtual FrameState GetFrameState() const = 0;
    virtual void SetFrameState(FrameState state) = 0;
    virtual bool RolledUp() const = 0;
    virtual void SetRollUp(bool value) = 0;
    virtual bool AlwaysMinimizeToTray() const = 0;
    virtual void MinimizeToTray() = 0;
    virtual bool ShowIcon() const = 0;
    virtual void CloseForm() = 0;
    virtual void StartMorphTimer() = 0;
    virtual void StartAnimateTimer() = 0;
    // The form's caption text.
    virtual QString FormCaption() const = 0;
    // The form's icon at the small-icon size.
    virtual QImage SmallIcon() = 0;
    // The frame geometry of the skin in use; none without a skin.
    virtual const FormInfo* SkinFormInfo() const = 0;
    // Opens the object's menu below (or above) it; systemMenu: the frame's own system menu.
    virtual void TrackMenu(ActiveSkinObject& object, bool systemMenu) = 0;

    // The pointer events of objects, fired only when the frame's handler is set.
    virtual void FireMouseDown(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button) = 0;
    virtual void FireMouseUp(const std::string& id, int x, int y, const SkinRect& rect, Qt::MouseButton button) = 0;
    virtual void FireMouseMove(const std::string& id, int x, int y, const SkinRect& rect) = 0;
    virtual void FireMouseEnter(const std::string& id) = 0;
    virtual void FireMouseLeave(const std::string& id) = 0;
    virtual void FirePaint(const std::string& id, class QPainter& canvas, const SkinRect& rect) = 0;
};

} // namespace quorvel
