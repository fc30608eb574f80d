#include "skin/form/skinmenu.h"

#include "skin/form/monitorarea.h"
#include "skin/data/skindata.h"
#include "skin/form/skinmenuitem.h"
#include "skin/form/skinpopupwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace quorvel {

SkinMenu::SkinMenu(QWidget* ownerForm) : QObject(ownerForm), owner_(ownerForm)
{
    SubmenuTimer = new QTimer(this);
    SubmenuTimer->setInterval(500);
    SubmenuTimer->setSingleShot(true);
    connect(SubmenuTimer, &QTimer::timeout, this, &SkinMenu::SubmenuTimerTick);
}

SkinMenu::~SkinMenu()
{
    for (auto& popup : PopupStack)
        popup->hide();
}

void SkinMenu::SetSkin(const SkinData* data, const SkinPictures& pictures)
{
    skinData_ = data && !data->Empty ? data : nullptr;
    pictures_ = skinData_ ? pictures : SkinPictures();
}

void SkinMenu::ShowMenu(QObject* opener, QMenu* menu, const QRect& anchor, bool openUpwards, int firstIndex)
{
    FirstPopup = !MenuOpen;
    // Whatever was open goes without a word: this menu takes its place.
    DestroyPopupsFrom(0);
    MenuOpen = false;
    opener_ = opener;
    MenuWorkArea = MonitorWorkArea(owner_, true);
    if (!menu || firstIndex >= menu->actions().size())
        return;
    bool anyVisible = false;
    for (qsizetype i = firstIndex; i < menu->actions().size(); ++i)
        anyVisible = anyVisible || menu->actions()[i]->isVisible();
    if (!anyVisible)
        return;
    MenuOpen = true;
    OpenPopup(menu, anchor, openUpwards, false, firstIndex);
    FirstPopup = false;
}

void SkinMenu::OpenPopup(QMenu* menu, const QRect& anchor, bool openUpwards, bool submenu, int firstIndex)
{
    PopupStack.push_back(std::make_unique<SkinPopupWindow>(*this, static_cast<int>(PopupStack.size())));
    PopupStack.back()->Open(menu, anchor, openUpwards, submenu, firstIndex);
}

void SkinMenu::OpenSubmenu(SkinPopupWindow& popup, SkinMenuItem& item)
{
    if (!item.HasChildren())
        return;
    ClosePopupsFrom(popup.Level + 1);
    const QPoint origin = popup.pos();
    const QRect anchor(origin.x() + item.Rect.left, origin.y() + item.Rect.top, item.Rect.Width(), item.Rect.Height());
    OpenPopup(item.Action->menu(), anchor, false, true, 0);
}

void SkinMenu::DestroyPopupsFrom(int level)
{
    level = std::max(level, 0);
    if (PendingSubmenuItem && PendingSubmenuItem->Popup.Level >= level) {
        SubmenuTimer->stop();
        PendingSubmenuItem = nullptr;
    }
    while (static_cast<int>(PopupStack.size()) > level) {
        // Hidden at once, destroyed once the event that closed it has been handled.
        SkinPopupWindow* popup = PopupStack.back().release();
        PopupStack.pop_back();
        popup->hide();
        popup->deleteLater();
    }
}

void SkinMenu::ClosePopupsFrom(int level)
{
    DestroyPopupsFrom(level);
    if (level <= 0) {
        const bool wasOpen = MenuOpen;
        MenuOpen = false;
        SubmenuTimer->stop();
        PendingSubmenuItem = nullptr;
        if (wasOpen)
            NotifyClosed(false);
    }
}

void SkinMenu::CloseAllPopups()
{
    ClosePopupsFrom(0);
    SubmenuTimer->stop();
    PendingSubmenuItem = nullptr;
    NotifyClosed(true);
    opener_ = nullptr;
}

void SkinMenu::NotifyClosed(bool toForm)
{
    if (toForm && owner_) {
        SkinMessageEvent closed(SKINMSG_MENU_CLOSED, nullptr);
        QCoreApplication::sendEvent(owner_, &closed);
    }
    if (opener_ && opener_ != owner_) {
        SkinMessageEvent closed(SKINMSG_MENU_CLOSED, nullptr);
        QCoreApplication::sendEvent(opener_, &closed);
    }
}

void SkinMenu::RunCommand(SkinMenuItem& item)
{
    QPointer<QAction> action = item.Action;
    QPointer<QObject> opener = opener_;
    SubmenuTimer->stop();
    CloseAllPopups();
    // The item's popup is gone from the stack now; only the action is used from here.
    if (action)
        action->trigger();
    if (opener) {
        SkinMessageEvent command(SKINMSG_MENU_COMMAND, nullptr);
        QCoreApplication::sendEvent(opener, &command);
    }
}

void SkinMenu::ItemSelected(SkinPopupWindow& popup, SkinMenuItem& item, bool keyboard)
{
    if (!item.HasChildren()) {
        ClosePopupsFrom(popup.Level + 1);
        return;
    }
    if (keyboard)
        return;
    ClosePopupsFrom(popup.Level + 1);
    PendingSubmenuItem = &item;
    SubmenuTimer->start();
}

void SkinMenu::ItemDeselected(SkinMenuItem& item)
{
    if (PendingSubmenuItem == &item) {
        SubmenuTimer->stop();
        PendingSubmenuItem = nullptr;
    }
}

void SkinMenu::SubmenuTimerTick()
{
    SkinMenuItem* item = PendingSubmenuItem;
    PendingSubmenuItem = nullptr;
    if (!item)
        return;
    SkinPopupWindow& popup = item->Popup;
    for (std::size_t i = 0; i < popup.Items.size(); ++i)
        if (popup.Items[i].get() == item)
            popup.ClickItem(static_cast<int>(i));
}

void SkinMenu::KeyDown(int key, const QString& text)
{
    if (PopupStack.empty())
        return;
    SkinPopupWindow* top = PopupStack.back().get();
    if (!top->isVisible())
        return;
    top->KeyDown(key, text);
    // Escape on the root popup ends the menu: the form leaves its menu mode.
    if (PopupStack.empty() && !MenuOpen && owner_) {
        SkinMessageEvent closed(SKINMSG_MENU_CLOSED, nullptr);
        QCoreApplication::sendEvent(owner_, &closed);
        opener_ = nullptr;
    }
}

} // namespace quorvel
