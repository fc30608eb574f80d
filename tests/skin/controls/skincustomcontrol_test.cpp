// Sizing of skinned controls: which sizes a section allows and where its pieces go.
#include "skin/controls/skincustomcontrol.h"
#include "skinfixture.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// One custom control section "bar" over a 40 x 20 picture.
std::unique_ptr<SkinData> BarSkin(const std::vector<std::string>& points, const QColor& colour = Qt::red)
{
    std::vector<std::string> lines = {
        "[SKINCONTROLS]",     "count=1", "0=bar:button", "[bar]", "pictureindex=0", "skinrect=0,0,30,10",
        "clientrect=2,2,28,8"};
    lines.insert(lines.end(), points.begin(), points.end());
    return MakeSkin({Solid(40, 20, colour)}, lines);
}

const std::vector<std::string> kAllCorners = {"lefttoppoint=2,2", "righttoppoint=28,2", "leftbottompoint=2,8",
                                              "rightbottompoint=28,8"};

SkinCustomControl::Section Points(SkinRect rect, SkinPoint rt, SkinPoint lb, SkinPoint rb)
{
    SkinCustomControl::Section s;
    s.skinRect = rect;
    s.rightTop = rt;
    s.leftBottom = lb;
    s.rightBottom = rb;
    return s;
}

} // namespace

TEST(SkinSizing, ResizeKindFollowsTheCornerPoints)
{
    const SkinRect r{0, 0, 30, 10};
    EXPECT_EQ(SkinCustomControl::ResizeKindOf(Points({5, 5, 5, 9}, {3, 1}, {1, 3}, {3, 3})), -1); // no image
    EXPECT_EQ(SkinCustomControl::ResizeKindOf(Points(r, {3, 1}, {1, 3}, {3, 3})), 1);
    EXPECT_EQ(SkinCustomControl::ResizeKindOf(Points(r, {3, 0}, {1, 3}, {3, 0})), 2); // one zero in the last corner
    EXPECT_EQ(SkinCustomControl::ResizeKindOf(Points(r, {0, 0}, {0, 3}, {0, 3})), 3);
    EXPECT_EQ(SkinCustomControl::ResizeKindOf(Points(r, {0, 0}, {0, 0}, {0, 0})), 0);
}

TEST(SkinSizing, EachKindFixesItsSidesAndMovesItsPieces)
{
    {
        // Height fixed: the right end moves with the width, whatever height is asked for.
        auto skin = BarSkin({"lefttoppoint=5,0", "righttoppoint=25,0"});
        SkinCustomControl c;
        c.SetSkinDataName("bar");
        c.resize(50, 50);
        c.SetSkinData(skin.get());
        EXPECT_EQ(c.ResizeKind(), 2);
        EXPECT_EQ(c.size(), QSize(50, 10));
        c.resize(100, 40);
        EXPECT_EQ(c.size(), QSize(100, 10));
        EXPECT_EQ(c.StretchedRightTop(), (SkinPoint{95, 0}));
        EXPECT_EQ(c.StretchedClientRect(), (SkinRect{2, 2, 98, 8}));
        EXPECT_EQ(c.StretchedLeftBottom(), (SkinPoint{0, 0}));
    }
    {
        // Width fixed: the bottom end moves with the height.
        auto skin = BarSkin({"lefttoppoint=0,3", "leftbottompoint=0,7"});
        SkinCustomControl c;
        c.SetSkinDataName("bar");
        c.SetSkinData(skin.get());
        c.resize(100, 40);
        EXPECT_EQ(c.ResizeKind(), 3);
        EXPECT_EQ(c.size(), QSize(30, 40));
        EXPECT_EQ(c.StretchedLeftBottom(), (SkinPoint{0, 37}));
        EXPECT_EQ(c.StretchedClientRect(), (SkinRect{2, 2, 28, 38}));
    }
    {
        // No corner points: the size of the skin's image, and gone with the skin.
        auto skin = BarSkin({});
        SkinCustomControl c;
        c.SetSkinDataName("bar");
        c.SetSkinData(skin.get());
        c.resize(100, 40);
        EXPECT_EQ(c.ResizeKind(), 0);
        EXPECT_EQ(c.size(), QSize(30, 10));
        EXPECT_EQ(c.StretchedClientRect(), (SkinRect{2, 2, 28, 8}));
        c.SetSkinData(nullptr);
        EXPECT_EQ(c.SkinIndex(), -1);
        c.resize(100, 40);
        EXPECT_EQ(c.size(), QSize(100, 40));
    }
    {
        // All four corners: any size; every corner keeps its distance to its own edges.
        auto skin = BarSkin(kAllCorners);
        SkinCustomControl c;
        c.SetSkinDataName("bar");
        c.SetSkinData(skin.get());
        c.resize(100, 40);
        EXPECT_EQ(c.size(), QSize(100, 40));
        EXPECT_EQ(c.StretchedLeftTop(), (SkinPoint{2, 2}));
        EXPECT_EQ(c.StretchedRightTop(), (SkinPoint{98, 2}));
        EXPECT_EQ(c.StretchedLeftBottom(), (SkinPoint{2, 38}));
        EXPECT_EQ(c.StretchedRightBottom(), (SkinPoint{98, 38}));
        EXPECT_EQ(c.StretchedClientRect(), (SkinRect{2, 2, 98, 38}));
    }
}

TEST(SkinSizing, DefaultSizeOnlyWithoutASection)
{
    auto skin = BarSkin(kAllCorners);
    SkinCustomControl c;
    c.resize(10, 10);
    c.SetDefaultWidth(80);
    EXPECT_EQ(c.size(), QSize(80, 10));
    c.SetDefaultHeight(0); // 0 leaves the height alone
    EXPECT_EQ(c.size(), QSize(80, 10));
    c.SetSkinDataName("bar");
    c.SetSkinData(skin.get());
    c.SetDefaultHeight(60);
    EXPECT_EQ(c.size(), QSize(80, 10));
    // No such section in the skin: the defaults apply again.
    c.SetSkinDataName("nothing");
    c.ApplySkin();
    EXPECT_EQ(c.SkinIndex(), -1);
    EXPECT_EQ(c.size(), QSize(80, 60));
}

TEST(SkinSizing, ForgottenSectionComesBackWithTheNewSkin)
{
    auto skin = BarSkin({});
    SkinCustomControl c;
    c.SetSkinDataName("bar");
    c.SetSkinData(skin.get());
    EXPECT_EQ(Pixel(c.grab().toImage(), 5, 5), QColor(Qt::red));
    // The skin changes under the control: first it lets go of its section, then takes the new one.
    c.ForgetSkinSection();
    EXPECT_EQ(c.SkinIndex(), -1);
    auto blue = BarSkin({}, Qt::blue);
    skin->ActivePictures = std::move(blue->ActivePictures);
    c.ApplySkin();
    EXPECT_EQ(c.SkinIndex(), 0);
    EXPECT_EQ(Pixel(c.grab().toImage(), 5, 5), QColor(Qt::blue));
}

TEST(SkinSizing, SectionOfAnotherKindOrWithoutImage)
{
    // A tab section where a custom control is looked for: fixed at its image's size.
    auto skin = MakeSkin({Solid(40, 20, Qt::red)}, {"[SKINCONTROLS]", "count=2", "0=bar:tab", "1=empty:tab", "[bar]",
                                                    "skinrect=0,0,30,10", "[empty]", "pictureindex=0"});
    SkinCustomControl c;
    c.resize(100, 40);
    c.SetSkinDataName("bar");
    c.SetSkinData(skin.get());
    EXPECT_EQ(c.SkinIndex(), 0);
    EXPECT_EQ(c.ResizeKind(), 0);
    EXPECT_EQ(c.size(), QSize(30, 10));
    // Such a section without an image fixes no size: the control does not vanish.
    c.SetSkinDataName("empty");
    c.ApplySkin();
    c.resize(100, 40);
    EXPECT_EQ(c.SkinIndex(), 1);
    EXPECT_EQ(c.ResizeKind(), 0);
    EXPECT_EQ(c.size(), QSize(100, 40));
}
