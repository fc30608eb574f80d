#include "skin/form/framemenus.h"

#include "skin/data/skindata.h"
#include "skin/form/frameskin.h"
#include "skin/form/framewindowstates.h"
#include "skin/form/skinbuttonobject.h"
#include "skin/form/skinform.h"
#include "skin/form/skinmenu.h"
#include "skin/form/skinmenumode.h"
#include "skin/form/systemmenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace quorvel {

FrameMenus::FrameMenus(SkinForm& frame)
    : Menu(new SkinMenu(frame.Form())), DefaultSystemMenu(new QMenu(frame.Form())), frame_(frame)
{
    DefaultSystemMenu->setObjectName(QStringLiteral("DefaultSystemMenu"));
    menuMode_ = new SkinMenuMode(frame.Form(), *Menu);
}

FrameMenus::~FrameMenus()
{
    delete menuMode_;
    delete Menu;
}

QMenu* FrameMenus::GetSystemMenuItems()
{
    BuildSystemMenu();
    return DefaultSystemMenu;
}

void FrameMenus::BuildSystemMenu()
{
    SystemMenu::State state;
    state.frameState = frame_.GetFrameState();
    state.rolledUp = frame_.RolledUp();
    state.borderIcons = frame_.GetBorderIcons();
    const SkinData* data = frame_.GetSkinData();
    const auto items = SystemMenu::Items(state, data ? data->GetResourceStrData() : nullptr);
    // The standard items are made anew each time, so each gets its one connection.
    SystemMenu::Fill(*DefaultSystemMenu, items, false);
    for (QAction* action : DefaultSystemMenu->actions()) {
        const std::string name = action->objectName().toStdString();
        if (SystemMenu::IsStandardName(name))
            connect(action, &QAction::triggered, this, [this, name] { RunSystemCommand(name); });
    }
}

void FrameMenus::RunSystemCommand(const std::string& item)
{
    FrameWindowStates& states = frame_.States();
    if (item == "SF_MINITEM") {
        states.SetFrameState(FrameState::Minimized);
    } else if (item == "SF_MAXITEM") {
        states.SetFrameState(FrameState::Maximized);
    } else if (item == "SF_RESTORE") {
        if (states.RolledUpMaximized || (states.RolledUp() && states.GetFrameState() == FrameState::Normal))
            states.SetRollUp(false);
        else
            states.SetFrameState(FrameState::Normal);
    } else if (item == "SF_ROLLUP") {
        states.SetRollUp(true);
    } else if (item == "SF_CLOSE") {
        frame_.CloseForm();
    }
}

void FrameMenus::PopupSkinMenu(QMenu* menu, const QRect& anchor, bool openUpwards)
{
    // Skin menu mode first: keys go to the menu from the moment it shows.
    menuMode_->Enter();
    if (!SkinMenuOpen) {
        SkinMenuOpen = true;
        if (frame_.OnSkinMenuOpen)
            frame_.OnSkinMenuOpen();
    }
    const FrameSkin& skin = frame_.Skin();
    Menu->SetSkin(skin.Data(), skin.Pictures());
    Menu->DefaultItemFont = frame_.Settings.DefMenuItemFont;
    Menu->ShowMenu(nullptr, menu, anchor, openUpwards, 0);
    if (!Menu->MenuOpen)
        LeaveSkinMenuMode();
}

void FrameMenus::PopupSystemMenu(const QPoint& screenPoint)
{
    if (QMenu* menu = GetSystemMenuItems())
        PopupSkinMenu(menu, QRect(screenPoint, QSize(0, 0)), false);
}

void FrameMenus::TrackMenu(ActiveSkinObject& object, bool systemMenu)
{
    // Only the system menu is the frame's own; the program's buttons carry no other menu.
    if (!systemMenu)
        return;
    QMenu* menu = GetSystemMenuItems();
    if (!menu || menu->actions().isEmpty())
        return;
    const SkinRect& r = object.ObjectRect;
    const QPoint origin = frame_.Form()->mapToGlobal(QPoint(r.left, r.top));
    bool upwards = false;
    if (auto* button = dynamic_cast<SkinButtonObject*>(&object))
        upwards = button->OpenUpwards;
    PopupSkinMenu(menu, QRect(origin, QSize(r.Width(), r.Height())), upwards);
}

bool FrameMenus::InSkinMenuMode() const { return menuMode_->Active(); }

void FrameMenus::LeaveSkinMenuMode()
{
    SkinMenuOpen = false;
    // A button that opened the menu comes up again.
    const FrameObjects& objects = frame_.Skin().Objects;
    for (int i = 0; i < objects.Count(); ++i)
        if (auto* button = dynamic_cast<SkinButtonObject*>(objects.At(i)); button && button->HasMenu && button->Down) {
            button->HasMenu = false;
            button->SetDown(false);
            break;
        }
    menuMode_->Leave();
    if (frame_.OnSkinMenuClose)
        frame_.OnSkinMenuClose();
}

} // namespace quorvel
