#pragma once

#include "skin/render/skinpictures.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <vector>

class QKeyEvent;
class QMenu;
class QTimer;
class QWidget;

namespace quorvel {

class SkinData;
class SkinMenuItem;
class SkinPopupWindow;

// Shows the children of a menu as a stack of skinned popups, one per open level, and runs the
// chosen item's command. Tells its form (and the control that opened it) when the last popup
// has closed.
class SkinMenu : public QObject {
    Q_OBJECT
public:
    explicit SkinMenu(QWidget* ownerForm);
    ~SkinMenu() override;

    // The skin the popups are drawn from; none for the plain look.
    void SetSkin(const SkinData* data, const SkinPictures& pictures);
    const SkinData* Skin() const { return skinData_; }
    const SkinPictures& Pictures() const { return pictures_; }

    bool UseSkinFont = true;
    int DefaultItemHeight = 20;
    QFont DefaultItemFont;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 150;

    // Opens the menu's children from firstIndex at the anchor (screen coordinates).
    void ShowMenu(QObject* opener, QMenu* menu, const QRect& anchor, bool openUpwards, int firstIndex = 0);
    // Opens an item's children as a submenu of its popup.
    void OpenSubmenu(SkinPopupWindow& popup, SkinMenuItem& item);
    void CloseAllPopups();
    void ClosePopupsFrom(int level);
    // An item was chosen: the menu closes and its command runs.
    void RunCommand(SkinMenuItem& item);
    // What the hover of a popup's item means for the popups above it and for pending submenus.
    void ItemSelected(SkinPopupWindow& popup, int index, bool keyboard);
    void ItemDeselected(SkinPopupWindow& popup, int index);
    // A key while the menu is open: for the top popup.
    void KeyDown(int key, const QString& text);

    bool MenuOpen = false;
    QRect MenuWorkArea;
    std::vector<std::unique_ptr<SkinPopupWindow>> PopupStack;
    QTimer* SubmenuTimer = nullptr;
    // Set while the root popup of a new menu opens.
    bool FirstPopup = false;

private:
    void DestroyPopupsFrom(int level);
    void OpenPopup(QMenu* menu, const QRect& anchor, bool openUpwards, bool submenu, int firstIndex);
    void SubmenuTimerTick();
    void NotifyClosed(bool toForm);
    void ForgetPendingSubmenu();

    // The item whose submenu opens when SubmenuTimer fires: its popup's level and its index.
    int pendingLevel_ = -1;
    int pendingIndex_ = -1;

    QPointer<QWidget> owner_;
    QPointer<QObject> opener_;
    const SkinData* skinData_ = nullptr;
    SkinPictures pictures_;
};

} // namespace quorvel
