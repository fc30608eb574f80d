#pragma once

#include "skin/form/skinbuttonobject.h"

namespace quorvel {

class DataSkinStdButton;

// A caption button with a command (close, maximize, minimize, system menu, roll-up, to tray or
// the application's own), and images for its restore state.
class SkinStdButtonObject : public SkinButtonObject {
public:
    // A button of the default set, drawn without a skin.
    SkinStdButtonObject(SkinObjectOwner& owner, std::string idName, SkinCommand command);
    SkinStdButtonObject(SkinObjectOwner& owner, const DataSkinStdButton& data, const SkinPictures& pictures);

    bool MorphStepPending() const override;
    void DrawOn(QPainter& canvas, bool update) override;
    void HandleDoubleClick() override;
    void HandleMouseDown(int x, int y, Qt::MouseButton button) override;
    void HandleMouseUp(int x, int y, Qt::MouseButton button) override;

    void RunCommand();
    // The state whose images the button shows instead of its ordinary ones is reached: maximize
    // while maximized, minimize while minimized, roll-up while rolled up.
    bool RestoreStateReached() const;
    // The plain look of the default set.
    void DrawDefaultButton(QPainter& canvas);

    bool HasSkinData = false;
    SkinCommand Command = SkinCommand::Default;
    SkinRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInactiveRect;

private:
    bool ShowsFormIcon() const;
};

} // namespace quorvel
