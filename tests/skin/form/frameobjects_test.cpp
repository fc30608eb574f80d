// The frame's objects: which exist, where they sit, which show.
#include "formfixture.h"
#include "skin/form/skincaptionobject.h"
#include "skin/form/skinstdbuttonobject.h"

#include <gtest/gtest.h>

using namespace quorvel;

TEST(FrameObjects, ProgramSkinHasCaptionAndThreeButtonsInOrder)
{
    FormFixture f;
    SkinForm& frame = f.frame();
    ASSERT_EQ(frame.Skin().Objects.Count(), 5);
    const char* order[] = {"caption", "closebutton", "maxbutton", "minbutton", "sysmenubutton"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(frame.Skin().Objects.At(i)->IDName, order[i]);
    EXPECT_NE(dynamic_cast<SkinCaptionObject*>(frame.Skin().Objects.At(0)), nullptr);
    // No system menu icon among the border icons: its button is inert and, drawn from a state
    // picture, gone.
    const auto& sys = f.Object("sysmenubutton");
    EXPECT_FALSE(sys.Enabled);
    EXPECT_FALSE(sys.Visible);
    for (const char* id : {"closebutton", "maxbutton", "minbutton"}) {
        EXPECT_TRUE(f.Object(id).Enabled) << id;
        EXPECT_TRUE(f.Object(id).Visible) << id;
    }
    // Built-in hints replace the skin's, in the program's own language.
    EXPECT_EQ(f.Object("closebutton").Hint, "关闭");
    EXPECT_EQ(f.Object("maxbutton").Hint, "最大化");
    EXPECT_EQ(f.Object("minbutton").Hint, "最小化");
}

TEST(FrameObjects, PlacedAtTheTopRightForAnyWidth)
{
    FormFixture f;
    f.ShowActive();
    for (const int W : {718, 760}) {
        f.form().resize(W, 479);
        EXPECT_EQ(f.Object("caption").ObjectRect, (SkinRect{5, 3, W - 99, 29})) << W;
        EXPECT_EQ(f.Object("closebutton").ObjectRect, (SkinRect{W - 49, 0, W - 6, 30})) << W;
        EXPECT_EQ(f.Object("maxbutton").ObjectRect, (SkinRect{W - 74, 0, W - 49, 30})) << W;
        EXPECT_EQ(f.Object("minbutton").ObjectRect, (SkinRect{W - 99, 0, W - 74, 30})) << W;
    }
}

TEST(FrameObjects, HiddenCaptionButtonsAndTheDefaultSet)
{
    FormFixture f;
    f.frame().Settings.HideCaptionButtons = true;
    f.frame().Skin().ApplyButtonVisibility();
    // All three are drawn from the state picture: all vanish.
    for (const char* id : {"closebutton", "maxbutton", "minbutton"}) {
        EXPECT_FALSE(f.Object(id).Visible) << id;
        EXPECT_FALSE(f.Object(id).Enabled) << id;
    }

    FormFixture plain(false);
    SkinForm& frame = plain.frame();
    ASSERT_EQ(frame.Skin().Objects.Count(), 6);
    const char* order[] = {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "traybutton"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(frame.Skin().Objects.At(i)->IDName, order[i]);
    // Roll-up is among the window's border icons, the system menu and the tray are not.
    EXPECT_TRUE(plain.Object("rollupbutton").Visible);
    EXPECT_FALSE(plain.Object("sysmenubutton").Visible);
    EXPECT_FALSE(plain.Object("traybutton").Visible);
    // 17-pixel squares from the right edge inwards, in command order, without gaps.
    const int W = plain.form().width();
    frame.Input().HitTest(10, 10); // lays the default frame out
    EXPECT_EQ(plain.Object("closebutton").ObjectRect, (SkinRect{W - 20, 4, W - 3, 21}));
    EXPECT_EQ(plain.Object("maxbutton").ObjectRect, (SkinRect{W - 37, 4, W - 20, 21}));
    EXPECT_EQ(plain.Object("minbutton").ObjectRect, (SkinRect{W - 54, 4, W - 37, 21}));
    EXPECT_EQ(plain.Object("rollupbutton").ObjectRect, (SkinRect{W - 71, 4, W - 54, 21}));
}

TEST(FrameObjects, ApplicationButtonsShowOnlyWhenTheApplicationSaysSo)
{
    FormFixture f(false);
    auto& tray = dynamic_cast<SkinStdButtonObject&>(f.Object("traybutton"));
    tray.Command = SkinCommand::Default;
    tray.Visible = true;
    f.frame().Skin().ApplyButtonVisibility();
    EXPECT_FALSE(tray.Visible); // nobody asked
    f.frame().OnActivateCustomObject = [](const std::string& id, bool& visible) { visible = id == "traybutton"; };
    f.frame().Skin().ApplyButtonVisibility();
    EXPECT_TRUE(tray.Visible);
}
