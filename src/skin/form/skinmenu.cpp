#include "skin/form/skinmenu.h"

#include "skin/data/skindata.h"
#include "skin/form/monitorarea.h"
#include "skin/form/skinmenuitem.h"
#include "skin/form/skinpopupwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QLoggingCategory>
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

namespace {

// The items of every menu opened, as they read: with QT_LOGGING_RULES="quorvel.menu.debug=true"
// what a drawn menu says can be checked without reading its pixels.
Q_LOGGING_CATEGORY(lcMenu, "quorvel.menu", QtInfoMsg)

} // namespace

void SkinMenu::OpenPopup(QMenu* menu, const QRect& anchor, bool openUpwards, bool submenu, int firstIndex)
{
    if (lcMenu().isDebugEnabled() && menu) {
        QStringList items;
        for (const QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        qCDebug(lcMenu).noquote() << "menu opened:" << items.join(QLatin1String(" | "));
    }
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
    if (pendingLevel_ >= level)
        ForgetPendingSubmenu();
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
        ForgetPendingSubmenu();
        if (wasOpen)
            NotifyClosed(false);
    }
}

void SkinMenu::CloseAllPopups()
{
    ClosePopupsFrom(0);
    ForgetPendingSubmenu();
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

void SkinMenu::ForgetPendingSubmenu()
{
    SubmenuTimer->stop();
    pendingLevel_ = pendingIndex_ = -1;
}

void SkinMenu::ItemSelected(SkinPopupWindow& popup, int index, bool keyboard)
{
    const int level = popup.Level;
    if (!popup.Model().Item(index).HasChildren()) {
        ClosePopupsFrom(level + 1);
        return;
    }
    if (keyboard)
        return;
    ClosePopupsFrom(level + 1);
    // Only a popup still open waits for its submenu.
    if (level >= static_cast<int>(PopupStack.size()) || PopupStack[static_cast<std::size_t>(level)].get() != &popup)
        return;
    pendingLevel_ = level;
    pendingIndex_ = index;
    SubmenuTimer->start();
}

void SkinMenu::ItemDeselected(SkinPopupWindow& popup, int index)
{
    if (pendingLevel_ == popup.Level && pendingIndex_ == index)
        ForgetPendingSubmenu();
}

void SkinMenu::SubmenuTimerTick()
{
    const int level = pendingLevel_, index = pendingIndex_;
    pendingLevel_ = pendingIndex_ = -1;
    if (level < 0 || level >= static_cast<int>(PopupStack.size()))
        return;
    PopupMenuModel& model = PopupStack[static_cast<std::size_t>(level)]->Model();
    if (index >= 0 && index < model.Count())
        model.ClickItem(index);
}

void SkinMenu::KeyDown(int key, const QString& text)
{
    if (PopupStack.empty())
        return;
    SkinPopupWindow* top = PopupStack.back().get();
    if (!top->isVisible())
        return;
    top->Model().KeyDown(key, text);
    // Escape on the root popup ends the menu: the form leaves its menu mode.
    if (PopupStack.empty() && !MenuOpen && owner_) {
        SkinMessageEvent closed(SKINMSG_MENU_CLOSED, nullptr);
        QCoreApplication::sendEvent(owner_, &closed);
        opener_ = nullptr;
    }
}

} // namespace quorvel
