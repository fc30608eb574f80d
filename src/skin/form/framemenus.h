#pragma once

#include <QObject>
#include <QRect>

#include <string>

class QMenu;

namespace quorvel {

class ActiveSkinObject;
class SkinForm;
class SkinMenu;
class SkinMenuMode;

// The frame's menus: the system menu with the items the window's state allows, drawn from the
// skin as skinned popups, and the menu mode that holds the form's keys and presses while one is
// open.
class FrameMenus : public QObject {
    Q_OBJECT
public:
    explicit FrameMenus(SkinForm& frame);
    ~FrameMenus() override;

    SkinMenu* const Menu;
    QMenu* const DefaultSystemMenu;
    bool SkinMenuOpen = false;

    // The system menu for the frame's present state.
    QMenu* GetSystemMenuItems();
    void BuildSystemMenu();
    // Shows the menu's items as skinned popups at the anchor (screen coordinates).
    void PopupSkinMenu(QMenu* menu, const QRect& anchor, bool openUpwards);
    // The system menu at a screen point, as a right press on the caption opens it.
    void PopupSystemMenu(const QPoint& screenPoint);
    // The system menu below (or above) the object that opens it.
    void TrackMenu(ActiveSkinObject& object, bool systemMenu);
    bool InSkinMenuMode() const;
    // The last popup closed.
    void LeaveSkinMenuMode();
    // A standard item of the system menu was chosen.
    void RunSystemCommand(const std::string& item);

private:
    SkinForm& frame_;
    SkinMenuMode* menuMode_ = nullptr;
};

} // namespace quorvel
