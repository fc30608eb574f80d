// The skin the frame is drawn from, and how its changes reach the frame and the form's controls.
#include "formfixture.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skinpanel.h"
#include "skin/data/resourcestrdata.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(FrameSkin, ReloadLetsGoOfTheOldObjectsAndTakesTheNewSkin)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    SkinData* data = frame.GetSkinData();
    ASSERT_TRUE(data);
    // What the frame holds while the old skin goes, seen by a later listener.
    std::vector<std::string> seen;
    QObject::connect(data, &SkinData::skinChanged, &frame, [&](SkinMessage kind) {
        seen.push_back(std::to_string(kind) + (frame.Skin().SkinInUse ? " in use " : " none ") +
                       std::to_string(frame.Skin().Objects.Count()));
    });
    data->SetCompressedStoredSkin(&f.stored());
    EXPECT_EQ(seen, (std::vector<std::string>{"1225 none 0", "1226 in use 5", "1227 in use 5"}));
    EXPECT_EQ(frame.ClientArea()->geometry(), QRect(3, 30, 712, 446));
    EXPECT_TRUE(frame.Layout().HasFrameRegion());
}

TEST(FrameSkin, WithoutSkinThePlainFrame)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    SkinData* data = frame.GetSkinData();
    // Without a skin: the plain frame, its objects made when it is first drawn, no outline.
    frame.SetSkinData(nullptr);
    EXPECT_FALSE(frame.Skin().SkinInUse);
    EXPECT_FALSE(frame.Layout().HasFrameRegion());
    EXPECT_TRUE(f.form().mask().isEmpty());
    EXPECT_EQ(frame.ClientArea()->geometry().topLeft(), QPoint(3, 22));
    // The skin data it left changes without it.
    data->SetCompressedStoredSkin(&f.stored());
    EXPECT_FALSE(frame.Skin().SkinInUse);
    frame.SetSkinData(data);
    EXPECT_TRUE(frame.Skin().SkinInUse);
    EXPECT_EQ(frame.Skin().Objects.Count(), 5);
}

TEST(FrameSkin, SkinChangesReachTheSkinnedControlsOfTheForm)
{
    FormFixture f;
    SkinForm& frame = f.frame();
    SkinData* data = frame.GetSkinData();
    // A panel nested in another, one drawn from a skin of its own, one in no skinned form.
    auto* outer = new SkinPanel(frame.ClientArea());
    auto* inner = new SkinPanel(outer);
    auto* foreign = new SkinPanel(frame.ClientArea());
    SkinPanel loose;
    SkinData other;
    outer->SetSkinData(data);
    inner->SetSkinData(data);
    foreign->SetSkinData(&other);
    loose.SetSkinData(data);
    ASSERT_GE(outer->SkinIndex(), 0);
    ASSERT_GE(inner->SkinIndex(), 0);

    std::vector<int> during;
    QObject::connect(data, &SkinData::skinChanged, &frame, [&](SkinMessage kind) {
        if (kind == SKINMSG_BEFORE_CHANGE)
            during = {outer->SkinIndex(), inner->SkinIndex(), loose.SkinIndex()};
    });
    data->SetCompressedStoredSkin(&f.stored());
    // Before the change they let go of their sections, after it they take them again.
    EXPECT_EQ(during, (std::vector<int>{-1, -1, -1}));
    EXPECT_GE(outer->SkinIndex(), 0);
    EXPECT_GE(inner->SkinIndex(), 0);
    EXPECT_GE(loose.SkinIndex(), 0);
    // The other skin's controls are left alone.
    EXPECT_EQ(foreign->SkinIndex(), -1);
}

TEST(FrameSkin, PageControlTakesItsSkinWhenItsSkinDataLoads)
{
    FormFixture f;
    SkinData later;
    auto* pages = new SkinPageControl(f.frame().ClientArea());
    pages->SetSkinData(&later);
    EXPECT_EQ(pages->SkinIndex(), -1);
    later.SetCompressedStoredSkin(&f.stored());
    EXPECT_GE(pages->SkinIndex(), 0);
}

TEST(FrameSkin, StringsOfTheSkinNameTheCaptionButtons)
{
    FormFixture f;
    SkinData* data = f.frame().GetSkinData();
    EXPECT_EQ(f.Object("closebutton").Hint, "关闭");
    ResourceStrData strings;
    data->SetResourceStrData(&strings);
    EXPECT_EQ(f.Object("closebutton").Hint, "Close");
    data->SetResourceStrData(nullptr);
    EXPECT_EQ(f.Object("closebutton").Hint, "关闭");
}

TEST(FrameSkin, FrameGoneBeforeItsSkinData)
{
    // The skin data outlives the form's frame: its changes no longer reach the frame.
    FormFixture f;
    SkinData* data = f.frame().GetSkinData();
    delete &f.frame();
    data->SetCompressedStoredSkin(&f.stored());
    EXPECT_FALSE(data->Empty);
}
