#pragma once

#include "skin/form/activeskinobject.h"

namespace quorvel {

class DataSkinButton;

// A button on the frame: pressed and disabled images, and a menu it may open.
class SkinButtonObject : public ActiveSkinObject {
public:
    SkinButtonObject(SkinObjectOwner& owner, std::string idName);
    SkinButtonObject(SkinObjectOwner& owner, const DataSkinButton& data, const SkinPictures& pictures);

    bool MorphStepPending() const override;
    void DrawOn(QPainter& canvas, bool update) override;
    void HandleMouseDown(int x, int y, Qt::MouseButton button) override;
    void HandleMouseUp(int x, int y, Qt::MouseButton button) override;
    void HandleMouseEnter() override;
    void HandleMouseLeave() override;

    void SetDown(bool value);

    bool Down = false;
    SkinRect DownRect;
    SkinRect DisabledRect;
    // Set while the button has opened a menu that is still open.
    bool HasMenu = false;
    bool OpenUpwards = false;

protected:
    // The button's own rules, for the derived kinds that fall back to them.
    void DrawButton(QPainter& canvas, bool update);
    void ButtonMouseUp(int x, int y, Qt::MouseButton button);
};

} // namespace quorvel
