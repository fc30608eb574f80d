// Where the parts of the frame go at a size, with the program's skin and with made-up ones.
#include "app/storedskin.h"
#include "skin/data/skindata.h"
#include "skin/form/framegeometry.h"
#include "skin/store/compressedstoredskin.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

FormInfo OwnFrame()
{
    CompressedStoredSkin stored;
    stored.SetCompressedData(StoredSkinData());
    SkinData data;
    data.SetCompressedStoredSkin(&stored);
    return data.Info;
}

} // namespace

TEST(FrameGeometry, ProgramSkinAtTheWindowSizeAndWider)
{
    const FormInfo info = OwnFrame();
    for (const int W : {718, 1000}) {
        const int H = W == 718 ? 479 : 600;
        const FrameGeometry g = ComputeFrameGeometry(info, 210, 282, W, H);
        const int dx = W - 210, dy = H - 282;
        EXPECT_EQ(g.ClientRect, (SkinRect{3, 30, W - 3, H - 3})) << W;
        EXPECT_EQ(g.CaptionRect, (SkinRect{5, 0, W - 6, 30})) << W;
        EXPECT_TRUE(g.ButtonsRect.IsEmpty());
        EXPECT_EQ(g.LeftTop, info.lefttoppoint);
        EXPECT_EQ(g.RightTop, (SkinPoint{info.righttoppoint.x + dx, info.righttoppoint.y}));
        EXPECT_EQ(g.LeftBottom, (SkinPoint{info.leftbottompoint.x, info.leftbottompoint.y + dy}));
        EXPECT_EQ(g.RightBottom, (SkinPoint{info.rightbottompoint.x + dx, info.rightbottompoint.y + dy}));
        // With a mask, the mask area takes in the client rectangle and grows with it.
        EXPECT_EQ(g.MaskArea, (SkinRect{3, 30, W - 3, H - 3})) << W;
    }
    EXPECT_EQ(SkinnedFrameInsets(info, 210, 282), (FrameInsets{3, 30, 3, 3}));
}

TEST(FrameGeometry, ButtonsFollowTheRightEdgeOnlyFromTheRightHalf)
{
    FormInfo info;
    info.clientrect = SkinRect{4, 20, 96, 96};
    info.captionrect = SkinRect{};
    info.buttonsrect = SkinRect{60, 2, 98, 18}; // left beyond 100 div 2
    info.hittestrighttoppoint = SkinPoint{90, 5};
    info.hittestleftbottompoint = SkinPoint{5, 95};
    FrameGeometry g = ComputeFrameGeometry(info, 100, 100, 150, 130);
    EXPECT_EQ(g.ButtonsRect, (SkinRect{110, 2, 148, 18}));
    EXPECT_TRUE(g.CaptionRect.IsEmpty()); // an empty caption stays empty
    EXPECT_EQ(g.HitPoints[1], (SkinPoint{140, 5}));
    EXPECT_EQ(g.HitPoints[2], (SkinPoint{5, 125}));
    info.buttonsrect = SkinRect{50, 2, 98, 18}; // exactly at the middle: stays at the left
    g = ComputeFrameGeometry(info, 100, 100, 150, 130);
    EXPECT_EQ(g.ButtonsRect, (SkinRect{50, 2, 98, 18}));
    // A frame smaller than its picture moves the parts the other way.
    g = ComputeFrameGeometry(info, 100, 100, 80, 90);
    EXPECT_EQ(g.ClientRect, (SkinRect{4, 20, 76, 86}));
}
