// What each point of the frame is: caption, client, object or an edge.
#include "skin/form/framehittest.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

FrameGeometry Frame(int W, int H)
{
    FrameGeometry g;
    g.ClientRect = SkinRect{3, 30, W - 3, H - 3};
    g.MaskArea = g.ClientRect;
    g.HitPoints = {SkinPoint{6, 6}, SkinPoint{W - 6, 6}, SkinPoint{6, H - 6}, SkinPoint{W - 6, H - 6}};
    return g;
}

// A band of the given size: black (inside) except for the white pixels listed.
QImage Band(int w, int h, std::initializer_list<QPoint> white = {})
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::black);
    for (const QPoint& p : white)
        img.setPixel(p, qRgb(255, 255, 255));
    return img;
}

} // namespace

TEST(FrameHitTest, SingleBorderMovesByCaptionAndNeverSizes)
{
    const FrameGeometry g = Frame(718, 479);
    HitTestState st{718, 479};
    st.inCaption = true;
    EXPECT_EQ(SkinnedHitTest(100, 10, st, g, 3, false, {}), HTCAPTION);
    st.inCaption = false;
    EXPECT_EQ(SkinnedHitTest(690, 10, st, g, 3, false, {}), HTOBJECT);
    EXPECT_EQ(SkinnedHitTest(300, 200, st, g, 3, false, {}), HTCLIENT);
    // The very edges of a single border give no sizing, whatever "borderwidth" says.
    EXPECT_EQ(SkinnedHitTest(0, 200, st, g, 3, false, {}), HTOBJECT);
    EXPECT_EQ(SkinnedHitTest(717, 478, st, g, 3, false, {}), HTOBJECT);
    // Client rectangle edges: left and top inside, right and bottom outside.
    EXPECT_EQ(SkinnedHitTest(3, 30, st, g, 3, false, {}), HTCLIENT);
    EXPECT_EQ(SkinnedHitTest(715, 100, st, g, 3, false, {}), HTOBJECT);
}

TEST(FrameHitTest, RolledUpHotObjectsAndSizeableEdges)
{
    const FrameGeometry g = Frame(400, 300);
    HitTestState st{400, 300};
    st.rolledUp = true;
    EXPECT_EQ(SkinnedHitTest(200, 150, st, g, 3, false, {}), HTOBJECT); // no client while rolled up
    st.inCaption = true;
    EXPECT_EQ(SkinnedHitTest(200, 10, st, g, 3, false, {}), HTCAPTION);
    st = HitTestState{400, 300};
    st.sizeable = true;
    EXPECT_EQ(SkinnedHitTest(1, 1, st, g, 3, false, {}), HTTOPLEFT);
    EXPECT_EQ(SkinnedHitTest(398, 2, st, g, 3, false, {}), HTTOPRIGHT);
    EXPECT_EQ(SkinnedHitTest(1, 299, st, g, 3, false, {}), HTBOTTOMLEFT);
    EXPECT_EQ(SkinnedHitTest(399, 298, st, g, 3, false, {}), HTBOTTOMRIGHT);
    EXPECT_EQ(SkinnedHitTest(200, 1, st, g, 3, false, {}), HTTOP);
    EXPECT_EQ(SkinnedHitTest(200, 298, st, g, 3, false, {}), HTBOTTOM);
    EXPECT_EQ(SkinnedHitTest(1, 150, st, g, 3, false, {}), HTLEFT);
    EXPECT_EQ(SkinnedHitTest(398, 150, st, g, 3, false, {}), HTRIGHT);
    EXPECT_EQ(SkinnedHitTest(200, 150, st, g, 3, false, {}), HTCLIENT);
    // Maximized or with an object lit, the edges are no edges.
    st.maximized = true;
    EXPECT_EQ(SkinnedHitTest(1, 150, st, g, 3, false, {}), HTOBJECT);
    st.maximized = false;
    st.objectHot = true;
    EXPECT_EQ(SkinnedHitTest(1, 150, st, g, 3, false, {}), HTOBJECT);
    st.inSizeMove = true; // during a move the lit object does not count
    EXPECT_EQ(SkinnedHitTest(1, 150, st, g, 3, false, {}), HTLEFT);
}

TEST(FrameHitTest, MaskShapeDecidesWhereTheEdgeIs)
{
    const FrameGeometry g = Frame(100, 80);
    MaskStrips strips;
    strips.top = Band(100, 30, {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(99, 0)});
    strips.bottom = Band(100, 3);
    strips.left = Band(3, 47);
    strips.right = Band(3, 47);
    EXPECT_FALSE(PointInMaskShape(0, 0, g.MaskArea, strips)); // a rounded corner
    EXPECT_TRUE(PointInMaskShape(2, 0, g.MaskArea, strips));
    EXPECT_TRUE(PointInMaskShape(50, 50, g.MaskArea, strips)); // inside the area
    EXPECT_TRUE(PointInMaskShape(1, 79, g.MaskArea, strips));
    EXPECT_FALSE(PointInMaskShape(-1, 40, g.MaskArea, strips)); // outside every strip
    EXPECT_FALSE(PointInMaskShape(50, 80, g.MaskArea, strips));
    HitTestState st{100, 80};
    st.sizeable = true;
    // Next to the cut-off corner the top-left point counts as near the edge.
    EXPECT_EQ(SkinnedHitTest(2, 1, st, g, 2, true, strips), HTTOPLEFT);
    // In the middle of the caption, the mask's black all round: not near the edge.
    EXPECT_EQ(SkinnedHitTest(50, 10, st, g, 2, true, strips), HTOBJECT);
}

TEST(FrameHitTest, DefaultFrame)
{
    HitTestState st{300, 200};
    const SkinRect caption{3, 3, 249, 19};
    EXPECT_EQ(DefaultHitTest(100, 10, st, caption, 19), HTCAPTION);
    EXPECT_EQ(DefaultHitTest(270, 10, st, caption, 19), HTOBJECT); // the buttons
    EXPECT_EQ(DefaultHitTest(100, 100, st, caption, 19), HTCLIENT);
    EXPECT_EQ(DefaultHitTest(1, 100, st, caption, 19), HTOBJECT);
    st.sizeable = true;
    EXPECT_EQ(DefaultHitTest(2, 2, st, caption, 19), HTTOPLEFT);
    EXPECT_EQ(DefaultHitTest(298, 100, st, caption, 19), HTRIGHT);
    EXPECT_EQ(DefaultHitTest(100, 198, st, caption, 19), HTBOTTOM);
    st.rolledUp = true;
    EXPECT_EQ(DefaultHitTest(2, 2, st, caption, 19), HTOBJECT);
}
