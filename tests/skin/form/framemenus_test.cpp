// The frame's system menu: its items for the window's state and what they do.
#include "formfixture.h"
#include "skin/form/skinmenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::vector<std::string> ItemNames(QMenu& menu)
{
    std::vector<std::string> names;
    for (QAction* a : menu.actions())
        names.push_back(a->objectName().toStdString());
    return names;
}

QAction* Item(QMenu& menu, const char* name)
{
    for (QAction* a : menu.actions())
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

} // namespace

TEST(FrameMenus, ItemsFollowTheWindowStateAndRunTheirCommandOnce)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    FrameMenus& menus = frame.Menus();
    QMenu* menu = menus.GetSystemMenuItems();
    ASSERT_EQ(menu, menus.DefaultSystemMenu);
    EXPECT_EQ(ItemNames(*menu), (std::vector<std::string>{"SF_MINITEM", "SF_MAXITEM", "SF_ROLLUP", "-", "SF_CLOSE"}));

    // Each build makes the items anew: a chosen item runs its command once.
    int rollUps = 0;
    frame.OnChangeRollUpState = [&] { ++rollUps; };
    menus.GetSystemMenuItems();
    Item(*menu, "SF_ROLLUP")->trigger();
    EXPECT_TRUE(frame.RolledUp());
    EXPECT_EQ(rollUps, 1);
    menus.GetSystemMenuItems();
    EXPECT_EQ(ItemNames(*menu), (std::vector<std::string>{"SF_MINITEM", "SF_MAXITEM", "SF_RESTORE", "-", "SF_CLOSE"}));
    // Restore unrolls a rolled-up window before it restores anything else.
    Item(*menu, "SF_RESTORE")->trigger();
    EXPECT_FALSE(frame.RolledUp());
    EXPECT_EQ(rollUps, 2);

    menus.GetSystemMenuItems();
    Item(*menu, "SF_MAXITEM")->trigger();
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
    menus.GetSystemMenuItems();
    EXPECT_EQ(ItemNames(*menu), (std::vector<std::string>{"SF_MINITEM", "SF_RESTORE", "SF_ROLLUP", "-", "SF_CLOSE"}));
    // Rolled up while maximized, restore unrolls first, then restores the size.
    Item(*menu, "SF_ROLLUP")->trigger();
    EXPECT_TRUE(frame.RolledUp());
    menus.GetSystemMenuItems();
    Item(*menu, "SF_RESTORE")->trigger();
    EXPECT_FALSE(frame.RolledUp());
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
    menus.GetSystemMenuItems();
    Item(*menu, "SF_RESTORE")->trigger();
    EXPECT_EQ(frame.GetFrameState(), FrameState::Normal);

    menus.GetSystemMenuItems();
    Item(*menu, "SF_CLOSE")->trigger();
    EXPECT_FALSE(f.form().isVisible());
}

TEST(FrameMenus, SystemMenuButtonOpensTheMenuAndComesUpWhenItCloses)
{
    // The program's skin has a system menu button; with the icon among the border icons it
    // shows and opens the system menu under itself.
    FormFixture f;
    SkinForm& frame = f.frame();
    frame.SetBorderIcons(BorderIcons{true, true, true, true, false});
    frame.Skin().ApplyButtonVisibility();
    f.ShowActive();
    int opened = 0, closed = 0;
    frame.OnSkinMenuOpen = [&] { ++opened; };
    frame.OnSkinMenuClose = [&] { ++closed; };
    ActiveSkinObject& button = f.Object("sysmenubutton");
    ASSERT_TRUE(button.Visible);
    frame.TrackMenu(button, true);
    EXPECT_TRUE(frame.InSkinMenuMode());
    EXPECT_TRUE(frame.SkinMenuOpen);
    frame.Menu->CloseAllPopups();
    EXPECT_FALSE(frame.InSkinMenuMode());
    EXPECT_FALSE(frame.SkinMenuOpen);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
    // Any other menu of an object is none of the frame's.
    frame.TrackMenu(button, false);
    EXPECT_FALSE(frame.InSkinMenuMode());
}
