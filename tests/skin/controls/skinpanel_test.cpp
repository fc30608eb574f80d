// The skinned panel: its image against the skin's picture, its client area, caption modes.
#include "skin/controls/skinpanel.h"
#include "skinfixture.h"
#include "widgets/alignment.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

QWidget* ClientChild(QWidget* parent)
{
    auto* child = new QWidget(parent);
    SetAlign(child, Align::Client);
    return child;
}

void ReleaseAt(QWidget* w, const QPoint& pos)
{
    QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton, {}, {});
    QApplication::sendEvent(w, &release);
}

// A 40 x 30 panel picture: a 1-pixel frame around a 38 x 28 client area, and a caption strip in
// its top 8 rows; a second picture as a background texture.
std::unique_ptr<SkinData> CaptionSkin(const std::vector<std::string>& extra = {})
{
    QImage panel = Solid(40, 30, QColor(10, 20, 30));
    for (int x = 0; x < 40; ++x)
        panel.setPixel(x, 0, qRgb(200, 0, 0)), panel.setPixel(x, 29, qRgb(200, 0, 0));
    std::vector<std::string> lines = {"[SKINCONTROLS]",       "count=1",
                                      "0=panel:panel",        "[panel]",
                                      "pictureindex=0",       "skinrect=0,0,40,30",
                                      "lefttoppoint=1,1",     "righttoppoint=39,1",
                                      "leftbottompoint=1,29", "rightbottompoint=39,29",
                                      "clientrect=1,9,39,29", "captionrect=1,1,39,9",
                                      "fontcolor=16777215",   "alignment=taleftjustify"};
    lines.insert(lines.end(), extra.begin(), extra.end());
    QImage texture = Solid(7, 5, Qt::green);
    texture.setPixel(0, 0, qRgb(0, 0, 255));
    return MakeSkin({panel, texture}, lines);
}

} // namespace

TEST(SkinPanel, OwnSkinFramesTheVideoAreaWithOnePixel)
{
    auto skin = OwnSkin();
    SkinPanel panel;
    QWidget* child = ClientChild(&panel);
    panel.SetSkinData(skin.get());
    panel.resize(511, 446);
    panel.show();
    EXPECT_EQ(panel.SkinIndex(), 7);
    EXPECT_EQ(panel.ResizeKind(), 1);
    EXPECT_EQ(panel.StretchedClientRect(), (SkinRect{1, 1, 510, 445}));
    EXPECT_EQ(panel.ClientRect(), QRect(1, 1, 509, 444));
    EXPECT_EQ(child->geometry(), QRect(1, 1, 509, 444));

    // Every pixel as the skin's pieces say: corners copied, edges and client area repeated.
    const QImage shot = panel.grab().toImage();
    const QImage pic = Picture(*skin, 4);
    const int L = 3, T = 404; // "skinrect" 3,404,120,488; corners 1,1 / 115,1 / 1,82 / 115,82
    auto expected = [&](int x, int y) {
        auto col = [&](int x) { return x < 1 ? x : x >= 509 ? 115 + (x - 509) : 1 + (x - 1) % 114; };
        auto row = [&](int y) { return y < 1 ? y : y >= 444 ? 82 + (y - 444) : 1 + (y - 1) % 81; };
        if (x >= 1 && x < 510 && y >= 1 && y < 445) // the client part, 115 x 82 tiles
            return QColor(pic.pixel(L + 1 + (x - 1) % 115, T + 1 + (y - 1) % 82));
        return QColor(pic.pixel(L + col(x), T + row(y)));
    };
    int wrong = 0;
    for (int y = 0; y < 446; ++y)
        for (int x = 0; x < 511; ++x)
            if ((y < 2 || y > 443 || x < 2 || x > 508 || (x + y) % 7 == 0) && Pixel(shot, x, y) != expected(x, y))
                ++wrong;
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Pixel(shot, 0, 0), QColor(pic.pixel(L, T)));
    EXPECT_EQ(Pixel(shot, 510, 445), QColor(pic.pixel(L + 116, T + 83)));
}

TEST(SkinPanel, WithoutASkinTheSameInsetInTheDefaultLook)
{
    SkinPanel panel;
    QWidget* child = ClientChild(&panel);
    panel.resize(511, 446);
    panel.show();
    EXPECT_EQ(panel.SkinIndex(), -1);
    EXPECT_EQ(child->geometry(), QRect(1, 1, 509, 444));
    const QImage shot = panel.grab().toImage();
    const QColor shadow = panel.palette().color(QPalette::Dark), face = panel.palette().color(QPalette::Button);
    EXPECT_TRUE(AllOf(shot, QRect(0, 0, 511, 1), shadow));
    EXPECT_TRUE(AllOf(shot, QRect(0, 445, 511, 1), shadow));
    EXPECT_TRUE(AllOf(shot, QRect(0, 0, 1, 446), shadow));
    EXPECT_TRUE(AllOf(shot, QRect(510, 0, 1, 446), shadow));
    EXPECT_TRUE(AllOf(shot, QRect(1, 1, 509, 444), face));

    // A skin without a "panel" section changes nothing.
    auto other = MakeSkin({}, {"[SKINCONTROLS]", "count=0"});
    panel.SetSkinData(other.get());
    EXPECT_EQ(panel.SkinIndex(), -1);
    EXPECT_EQ(child->geometry(), QRect(1, 1, 509, 444));

    // Caption mode without a border: the client area starts below the caption and reaches the
    // other three edges.
    panel.SetBorderStyle(SkinPanel::BorderStyle::bvNone);
    panel.SetCaptionMode(true);
    EXPECT_EQ(child->geometry(), QRect(0, 22, 511, 424));
    panel.SetDefaultCaptionHeight(30);
    EXPECT_EQ(child->geometry(), QRect(0, 30, 511, 416));
}

TEST(SkinPanel, SkinnedCaptionChecksAndRollsUp)
{
    auto skin = CaptionSkin();
    SkinPanel panel;
    QWidget* a = ClientChild(&panel);
    auto* b = new QWidget(&panel);
    auto* hidden = new QWidget(&panel);
    hidden->hide();
    panel.resize(200, 100);
    panel.SetSkinData(skin.get());
    panel.SetCaption(QStringLiteral("Hi"));
    EXPECT_EQ(panel.StretchedCaptionRect(), (SkinRect{1, 1, 199, 9})); // spans the middle: grows
    EXPECT_EQ(a->geometry(), QRect(1, 9, 198, 90));

    // The caption in the skin's colour, inside the caption strip only.
    QImage shot = panel.grab().toImage();
    int white = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (Pixel(shot, x, y).lightness() > 160) {
                ++white;
                EXPECT_TRUE(QRect(1, 1, 198, 8).contains(x, y)) << x << "," << y;
            }
    EXPECT_GT(white, 0);

    // A release in the caption toggles the check box, which enables the children.
    panel.SetCaptionMode(true);
    panel.SetCheckedMode(true);
    int raised = 0;
    QObject::connect(&panel, &SkinPanel::checked, [&] { ++raised; });
    ReleaseAt(&panel, QPoint(50, 4));
    EXPECT_TRUE(panel.Checked());
    EXPECT_TRUE(a->isEnabled());
    ReleaseAt(&panel, QPoint(50, 4));
    EXPECT_FALSE(panel.Checked());
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(b->isEnabled());
    ReleaseAt(&panel, QPoint(50, 50)); // not in the caption
    EXPECT_FALSE(panel.Checked());
    EXPECT_EQ(raised, 2);
    panel.SetCheckedMode(false);

    // Rolling up leaves frame and caption; rolling down brings back exactly the children shown.
    panel.SetRollUpState(true);
    EXPECT_FALSE(panel.RollUpState()); // not in roll-up mode
    panel.SetRollUpMode(true);
    ReleaseAt(&panel, QPoint(50, 4));
    EXPECT_TRUE(panel.RollUpState());
    EXPECT_EQ(panel.RealHeight(), 100);
    EXPECT_EQ(panel.height(), 10);
    EXPECT_TRUE(a->isHidden() && b->isHidden());
    panel.SetRollUpState(false);
    EXPECT_EQ(panel.height(), 100);
    EXPECT_EQ(panel.RealHeight(), -1);
    EXPECT_FALSE(a->isHidden());
    EXPECT_FALSE(b->isHidden());
    EXPECT_TRUE(hidden->isHidden());
    EXPECT_EQ(a->geometry(), QRect(1, 9, 198, 90));
}

TEST(SkinPanel, UnskinnedRollUpKeepsTheCaptionStrip)
{
    SkinPanel panel;
    QWidget* a = ClientChild(&panel);
    panel.resize(200, 100);
    panel.SetCaptionMode(true);
    panel.SetRollUpMode(true);
    EXPECT_EQ(a->geometry(), QRect(1, 23, 198, 76));
    ReleaseAt(&panel, QPoint(100, 10));
    EXPECT_TRUE(panel.RollUpState());
    EXPECT_EQ(panel.height(), 23);
    EXPECT_TRUE(a->isHidden());
    ReleaseAt(&panel, QPoint(100, 10));
    EXPECT_EQ(panel.height(), 100);
    EXPECT_FALSE(a->isHidden());
}

TEST(SkinPanel, BackgroundPictureFillsTheWholePanel)
{
    auto skin = CaptionSkin({"bgpictureindex=1"});
    SkinPanel panel;
    QWidget* a = ClientChild(&panel);
    panel.resize(30, 12);
    panel.SetSkinData(skin.get());
    EXPECT_EQ(a->geometry(), QRect(0, 0, 30, 12));
    const QImage shot = panel.grab().toImage();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(Pixel(shot, x, y), (x % 7 == 0 && y % 5 == 0) ? QColor(Qt::blue) : QColor(Qt::green));
}

TEST(SkinPanel, MaskGivesTheShapeAtEverySize)
{
    // Black is the panel: the mask cuts off the bottom-right corner pixel.
    QImage mask = Solid(40, 30, Qt::black);
    mask.setPixel(39, 29, qRgb(255, 255, 255));
    auto skin = MakeSkin({Solid(40, 30, Qt::gray), mask},
                         {"[SKINCONTROLS]", "count=1", "0=panel:panel", "[panel]", "pictureindex=0",
                          "maskpictureindex=1", "skinrect=0,0,40,30", "lefttoppoint=1,1", "righttoppoint=39,1",
                          "leftbottompoint=1,29", "rightbottompoint=39,29", "clientrect=1,1,39,29"});
    SkinPanel panel;
    panel.resize(100, 50);
    panel.SetSkinData(skin.get());
    panel.show();
    ASSERT_TRUE(panel.SkinRegion().has_value());
    EXPECT_FALSE(panel.SkinRegion()->contains(QPoint(99, 49)));
    EXPECT_TRUE(panel.SkinRegion()->contains(QPoint(98, 49)));
    EXPECT_TRUE(panel.SkinRegion()->contains(QPoint(0, 0)));
    panel.resize(60, 40);
    EXPECT_FALSE(panel.SkinRegion()->contains(QPoint(59, 39)));
    EXPECT_TRUE(panel.SkinRegion()->contains(QPoint(99 - 40, 38)));
    panel.SetSkinData(nullptr);
    EXPECT_FALSE(panel.SkinRegion().has_value());
}

TEST(SkinPanel, FollowsTheChangesOfItsSkinData)
{
    auto skin = OwnSkin();
    auto other = OwnSkin();
    SkinPanel panel;
    panel.SetSkinData(skin.get());
    panel.resize(511, 446);
    ASSERT_EQ(panel.SkinIndex(), 7);
    // While the skin changes the panel holds no section; after it, the new skin's.
    int during = 0;
    QObject::connect(skin.get(), &SkinData::skinChanged, &panel, [&](SkinMessage kind) {
        if (kind == SKINMSG_BEFORE_CHANGE)
            during = panel.SkinIndex();
    });
    skin->SetCompressedStoredSkin(skin->GetCompressedStoredSkin());
    EXPECT_EQ(during, -1);
    EXPECT_EQ(panel.SkinIndex(), 7);
    EXPECT_EQ(panel.ClientRect(), QRect(1, 1, 509, 444));

    // Moved to another skin data: the first one's changes no longer reach it.
    panel.SetSkinData(other.get());
    panel.ForgetSkinSection();
    skin->SetCompressedStoredSkin(skin->GetCompressedStoredSkin());
    EXPECT_EQ(panel.SkinIndex(), -1);
    other->SetCompressedStoredSkin(other->GetCompressedStoredSkin());
    EXPECT_EQ(panel.SkinIndex(), 7);
    // Without skin data it follows none.
    panel.SetSkinData(nullptr);
    other->SetCompressedStoredSkin(other->GetCompressedStoredSkin());
    EXPECT_EQ(panel.SkinIndex(), -1);
}
