// The skinned page control: page area and tab rules, its image against the skin's picture, hot
// tracking, tab positions and scroll buttons.
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skintabsheet.h"
#include "skin/controls/skinupdown.h"
#include "skinfixture.h"

#include <QPaintEvent>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

// The program's side bar: 202 x 446 with its two pages.
struct SideBar {
    explicit SideBar(SkinData* skin, QTabWidget::TabPosition position = QTabWidget::North)
    {
        control.setTabPosition(position);
        control.resize(202, 446);
        control.AddPage(QStringLiteral("Web TV"));
        control.AddPage(QStringLiteral("Sponsored Links"));
        control.SetSkinData(skin);
        control.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&control));
    }
    SkinPageControl control;
};

// Records the areas the control paints.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QRegion painted;
};

void MoveOver(QTabBar* bar, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, bar->mapToGlobal(pos), Qt::NoButton, {}, {});
    QApplication::sendEvent(bar, &move);
}

int Count(const QImage& image, const QRect& area, bool (*test)(const QColor&))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(Pixel(image, x, y));
    return n;
}
bool White(const QColor& c) { return c.red() > 230 && c.green() > 230 && c.blue() > 230; }
bool Grey(const QColor& c) { return std::abs(c.red() - 103) < 12 && c.red() == c.green() && c.green() == c.blue(); }

} // namespace

TEST(TabGeometry, PageAreaAndTabRules)
{
    TabGeometry g;
    g.W = 202;
    g.H = 446;
    g.depth = 20;
    // Without a skin: a one-pixel frame around the pages, the tabs' side one pixel off the strip.
    const std::pair<QTabWidget::TabPosition, SkinRect> plain[] = {
        {QTabWidget::North, {1, 22, 201, 445}},
        {QTabWidget::South, {1, 1, 201, 424}},
        {QTabWidget::West, {22, 1, 201, 445}},
        {QTabWidget::East, {1, 1, 180, 445}},
    };
    for (const auto& [position, area] : plain) {
        g.position = position;
        EXPECT_EQ(g.PageArea(), area) << position;
        const SkinRect f = g.FrameRect();
        EXPECT_EQ(f, (SkinRect{area.left - 1, area.top - 1, area.right + 1, area.bottom + 1}));
    }
    // With the program's "tab" section (182 x 201, client 2,2,180,199) and 21-pixel tabs.
    g.skinned = true;
    g.depth = 21;
    g.skinWidth = 182;
    g.skinHeight = 201;
    g.clientRect = SkinRect{2, 2, 180, 199};
    const std::pair<QTabWidget::TabPosition, SkinRect> skinned[] = {
        {QTabWidget::North, {2, 24, 200, 444}},
        {QTabWidget::South, {2, 2, 200, 422}},
        {QTabWidget::West, {24, 2, 200, 444}},
        {QTabWidget::East, {2, 2, 178, 444}},
    };
    for (const auto& [position, area] : skinned) {
        g.position = position;
        EXPECT_EQ(g.PageArea(), area) << position;
    }
    g.position = QTabWidget::North;
    EXPECT_EQ(g.FrameRect(), (SkinRect{0, 22, 202, 446}));
    EXPECT_EQ(g.StripRect(), (SkinRect{0, 0, 202, 22}));

    // Tabs: the control reports them inside its border; the skinned control takes them to its edge.
    const SkinRect flush{10, 0, 70, 21};
    for (auto position : {QTabWidget::North, QTabWidget::South, QTabWidget::West, QTabWidget::East}) {
        g.position = position;
        const SkinRect native = g.NativeTabRect(flush);
        EXPECT_NE(native, flush);
        EXPECT_EQ(g.TabRect(native, false), flush) << position;
    }
    g.position = QTabWidget::North;
    EXPECT_EQ(g.TabRect(SkinRect{12, 2, 72, 23}, true), (SkinRect{12, 0, 72, 21})); // rows keep their x
}

TEST(SkinPageControl, TabHeightFromTheSkinOrTheDefault)
{
    SideBar plain(nullptr);
    EXPECT_EQ(plain.control.TabHeight(), 20);
    EXPECT_EQ(plain.control.PageArea(), QRect(1, 22, 200, 423));
    EXPECT_EQ(plain.control.ActivePage()->geometry().size(), QSize(200, 423));

    auto skin = OwnSkin();
    SideBar side(skin.get());
    SkinPageControl& c = side.control;
    EXPECT_EQ(c.SkinIndex(), 12);
    EXPECT_EQ(c.TabHeight(), 21);
    EXPECT_EQ(c.PageArea(), QRect(2, 24, 198, 420));
    EXPECT_EQ(c.ActivePage()->geometry().size(), QSize(198, 420));
    EXPECT_EQ(c.TabRect(0).topLeft(), QPoint(0, 0));
    EXPECT_EQ(c.TabRect(1).left(), c.TabRect(0).right() + 1);
    EXPECT_EQ(c.TabRect(1).height(), 21);
    // The tab bar hits exactly the tabs drawn.
    EXPECT_EQ(c.tabBar()->tabAt(c.tabBar()->mapFrom(&c, c.TabRect(1).center())), 1);

    c.SetTabHeight(30);
    EXPECT_EQ(c.TabHeight(), 30);
    EXPECT_EQ(c.TabRect(0).height(), 30);
    c.SetTabHeight(0);
    EXPECT_EQ(c.TabHeight(), 21);
    c.SetSkinData(nullptr);
    EXPECT_EQ(c.SkinIndex(), -1);
    EXPECT_EQ(c.TabHeight(), 20);
}

TEST(SkinPageControl, OwnSkinStripFrameAndTabsAsThePictureSays)
{
    auto skin = OwnSkin();
    SideBar side(skin.get());
    SkinPageControl& c = side.control;
    const QImage pic = Picture(*skin, 4);
    const QRect selected = c.TabRect(0), normal = c.TabRect(1);
    // The selected tab of the control with the focus: "focustabrect" 1,154,62,177.
    c.activateWindow();
    c.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.hasFocus(); }));
    const QImage focused = c.grab().toImage();
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(Pixel(focused, selected.left() + x, y), QColor(pic.pixel(1 + x, 154 + y))) << x << "," << y;
    c.clearFocus();
    const QImage shot = c.grab().toImage();

    // Without the focus the tabs' ends are as in their images ("activetabrect" 1,129,62,152 and
    // "tabrect" 1,106,62,127): the selected one 23 rows high, the others 21.
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(Pixel(shot, selected.left() + x, y), QColor(pic.pixel(1 + x, 129 + y))) << x << "," << y;
            EXPECT_EQ(Pixel(shot, selected.right() - 3 + x, y), QColor(pic.pixel(58 + x, 129 + y)));
            if (y < 21) {
                EXPECT_EQ(Pixel(shot, normal.left() + x, y), QColor(pic.pixel(1 + x, 106 + y)));
            }
        }
    // Behind the tabs the strip image repeats from the control's corner ("tabsbgrect" 4,405,119,428).
    for (int x = normal.right() + 1; x < 202; ++x)
        for (int y = 0; y < 22; ++y)
            ASSERT_EQ(Pixel(shot, x, y), QColor(pic.pixel(4 + x % 115, 405 + y % 23))) << x << "," << y;
    // The frame around the pages from the section's corners and edges ("skinrect" 438,265,620,466).
    EXPECT_EQ(Pixel(shot, 0, 23), QColor(pic.pixel(438, 266))); // row 22 lies under the selected tab
    EXPECT_EQ(Pixel(shot, 201, 22), QColor(pic.pixel(619, 265)));
    EXPECT_EQ(Pixel(shot, 0, 445), QColor(pic.pixel(438, 465)));
    EXPECT_EQ(Pixel(shot, 201, 445), QColor(pic.pixel(619, 465)));
    for (int x = 30; x < 190; ++x)
        ASSERT_EQ(Pixel(shot, x, 23), QColor(pic.pixel(438 + 2 + (x - 2) % 176, 266))) << x;
    for (int y = 30; y < 440; ++y)
        ASSERT_EQ(Pixel(shot, 200, y), QColor(pic.pixel(438 + 180, 265 + 2 + (y - 24) % 196))) << y;

    // Captions: white on the selected tab, grey on the other.
    EXPECT_GT(Count(shot, selected.adjusted(4, 0, -4, 0), White), 10);
    EXPECT_EQ(Count(shot, normal.adjusted(4, 0, -4, 0), White), 0);
    EXPECT_GT(Count(shot, normal.adjusted(4, 0, -4, 0), Grey), 10);

    // The page shows the section's client texture, repeated from its corner.
    const QImage page = c.ActivePage()->grab().toImage();
    for (int y = 0; y < page.height(); y += 13)
        for (int x = 0; x < page.width(); x += 11)
            ASSERT_EQ(Pixel(page, x, y), QColor(pic.pixel(440 + x % 178, 267 + y % 197))) << x << "," << y;
}

TEST(SkinPageControl, HotTrackingRedrawsOnlyTheTabsConcerned)
{
    auto skin = OwnSkin();
    SideBar side(skin.get());
    SkinPageControl& c = side.control;
    QTabBar* bar = c.tabBar();
    QCoreApplication::processEvents();
    PaintLog log(&c);

    MoveOver(bar, bar->mapFrom(&c, c.TabRect(1).center()));
    EXPECT_EQ(c.HotTab(), 1);
    EXPECT_EQ(c.PrevHotTab(), -1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !log.painted.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE((log.painted - c.TabRect(1)).isEmpty());
    // The mouse's caption colour, on the normal image: "mouseintabrect" is empty.
    const QImage hot = c.grab().toImage();
    const QRect normal = c.TabRect(1).adjusted(4, 0, -4, 0);
    EXPECT_GT(Count(hot, normal, White), 10);
    EXPECT_EQ(Pixel(hot, c.TabRect(1).left(), 10), QColor(Picture(*skin, 4).pixel(1, 116)));

    // Over the selected tab: only the tab left behind is drawn again.
    log.painted = QRegion();
    MoveOver(bar, bar->mapFrom(&c, c.TabRect(0).center()));
    EXPECT_EQ(c.HotTab(), 0);
    EXPECT_EQ(c.PrevHotTab(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !log.painted.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE((log.painted - c.TabRect(1)).isEmpty());
    EXPECT_EQ(Count(c.grab().toImage(), normal, White), 0);

    // Leaving the tabs: no tab is hot.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    EXPECT_EQ(c.HotTab(), -1);
    EXPECT_EQ(c.PrevHotTab(), -1);

    // Another page: the whole control is drawn again, the old tab as a normal one.
    log.painted = QRegion();
    bar->setCurrentIndex(1);
    EXPECT_EQ(c.ActivePage(), c.Page(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !log.painted.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE((QRegion(0, 0, 202, 22) - log.painted).isEmpty());
    const QImage after = c.grab().toImage();
    EXPECT_EQ(Count(after, c.TabRect(0).adjusted(4, 0, -4, 0), White), 0);
    EXPECT_GT(Count(after, c.TabRect(1).adjusted(4, 0, -4, 0), White), 10);
}

TEST(SkinPageControl, TabImageFallbacks)
{
    // Normal tabs red, selected green, focused blue; the section leaves some of them out.
    QImage pic = Solid(30, 30, Qt::black);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            pic.setPixel(x, y, qRgb(255, 0, 0)), pic.setPixel(10 + x, y, qRgb(0, 255, 0)),
                pic.setPixel(20 + x, y, qRgb(0, 0, 255));
    auto skinWith = [&](const std::string& active, const std::string& focus) {
        return MakeSkin({pic}, {"[SKINCONTROLS]", "count=1", "0=tab:tab", "[tab]", "pictureindex=0",
                                "skinrect=0,10,30,30", "clientrect=2,2,28,18", "tabrect=0,0,10,10",
                                "activetabrect=" + active, "focustabrect=" + focus});
    };
    auto look = [](SkinData* skin, bool focused) {
        SkinPageControl c;
        c.resize(200, 100);
        c.AddPage(QString());
        c.AddPage(QString());
        c.SetSkinData(skin);
        c.show();
        if (focused) {
            c.activateWindow();
            c.tabBar()->setFocus();
            EXPECT_TRUE(QTest::qWaitFor([&] { return c.hasFocus(); }));
        }
        return Pixel(c.TabImage(0, false, true), 1, 5);
    };
    auto full = skinWith("10,0,20,10", "20,0,30,10");
    EXPECT_EQ(look(full.get(), false), QColor(Qt::green));
    EXPECT_EQ(look(full.get(), true), QColor(Qt::blue));
    // No focused image: the selected one.
    auto noFocus = skinWith("10,0,20,10", "0,0,0,0");
    EXPECT_EQ(look(noFocus.get(), true), QColor(Qt::green));
    // No selected image: the normal one; the focused look then has none at all (blank).
    auto noActive = skinWith("0,0,0,0", "0,0,0,0");
    EXPECT_EQ(look(noActive.get(), false), QColor(Qt::red));
    EXPECT_EQ(look(noActive.get(), true), QColor(Qt::black));
}

TEST(SkinPageControl, TabsOnTheOtherSidesAreTurned)
{
    auto skin = OwnSkin();
    const QImage pic = Picture(*skin, 4);
    // The selected tab's outer edge is the top row of its image ("activetabrect" 1,129,62,152),
    // read from its left end.
    for (auto position : {QTabWidget::South, QTabWidget::West, QTabWidget::East}) {
        SideBar side(skin.get(), position);
        SkinPageControl& c = side.control;
        c.clearFocus();
        const QImage shot = c.grab().toImage();
        const QRect r = c.TabRect(0);
        for (int i = 0; i < 4; ++i) {
            const QColor edge(pic.pixel(1 + i, 129));
            if (position == QTabWidget::South) {
                EXPECT_EQ(r.bottom(), 445);
                EXPECT_EQ(Pixel(shot, r.left() + i, 445), edge) << i;
            } else if (position == QTabWidget::West) {
                EXPECT_EQ(r.left(), 0);
                EXPECT_EQ(Pixel(shot, 0, r.bottom() - i), edge) << i;
            } else {
                EXPECT_EQ(r.right(), 201);
                EXPECT_EQ(Pixel(shot, 201, r.top() + i), edge) << i;
            }
        }
        EXPECT_EQ(QRect(c.ActivePage()->mapTo(&c, QPoint(0, 0)), c.ActivePage()->size()), c.PageArea());
    }

    // At the bottom the image is upside down but its caption reads as on top.
    auto captionPixels = [](const QImage& tab) {
        QList<QPoint> white;
        for (int y = 0; y < tab.height(); ++y)
            for (int x = 0; x < tab.width(); ++x)
                if (White(Pixel(tab, x, y)))
                    white.append(QPoint(x, y));
        return white;
    };
    SideBar top(skin.get()), bottom(skin.get(), QTabWidget::South);
    top.control.clearFocus();
    bottom.control.clearFocus();
    const QList<QPoint> upright = captionPixels(top.control.TabImage(0, false, true));
    const QList<QPoint> below = captionPixels(bottom.control.TabImage(0, false, true));
    ASSERT_GT(upright.size(), 20);
    int same = 0;
    for (const QPoint& p : below)
        same += upright.contains(p);
    EXPECT_GT(same, upright.size() * 8 / 10);
}

TEST(SkinPageControl, ScrollButtonsWhileTheTabsDoNotFit)
{
    auto skin = OwnSkin();
    SideBar side(skin.get());
    SkinPageControl& c = side.control;
    EXPECT_EQ(c.ScrollButtons(), nullptr);
    const int both = c.TabRect(1).right() + 1;

    // Narrower than the two tabs: the skinned scroll buttons, top right.
    c.resize(both - 10, 446);
    SkinUpDown* buttons = c.ScrollButtons();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->SkinIndex(), 13);
    EXPECT_EQ(buttons->geometry(), QRect(c.width() - 27, 0, 27, 15));
    EXPECT_EQ(buttons->Max(), 1);
    EXPECT_EQ(buttons->Position(), 0);

    // The right button scrolls the first tab out.
    QTest::mouseClick(buttons, Qt::LeftButton, {}, buttons->ButtonRect(SkinUpDown::Button::Up).center());
    EXPECT_EQ(buttons->Position(), 1);
    EXPECT_EQ(c.FirstShownTab(), 1);
    EXPECT_LE(c.TabRect(0).right() + 1, 0);
    EXPECT_EQ(c.TabRect(1).left(), 0);
    EXPECT_EQ(c.ActivePageIndex(), 0); // scrolling selects nothing
    QTest::mouseClick(buttons, Qt::LeftButton, {}, buttons->ButtonRect(SkinUpDown::Button::Up).center());
    EXPECT_EQ(buttons->Position(), 1);

    // Selecting the first page brings its tab back.
    c.tabBar()->setCurrentIndex(1);
    c.tabBar()->setCurrentIndex(0);
    EXPECT_EQ(c.FirstShownTab(), 0);
    EXPECT_EQ(buttons->Position(), 0);
    c.tabBar()->setCurrentIndex(1);
    EXPECT_EQ(c.FirstShownTab(), 1);
    EXPECT_EQ(buttons->Position(), 1);

    // Wide enough again: the buttons go and every tab shows.
    c.resize(202, 446);
    EXPECT_EQ(c.ScrollButtons(), nullptr);
    EXPECT_EQ(c.FirstShownTab(), 0);
    EXPECT_EQ(c.TabRect(0).left(), 0);

    // Without a skin: plain buttons, twice the item height wide.
    c.SetSkinData(nullptr);
    c.resize(60, 446);
    ASSERT_NE(c.ScrollButtons(), nullptr);
    EXPECT_EQ(c.ScrollButtons()->geometry(), QRect(20, 0, 40, 20));
}

TEST(SkinPageControl, UnskinnedLook)
{
    SideBar side(nullptr);
    SkinPageControl& c = side.control;
    const QImage shot = c.grab().toImage();
    const QColor face = c.palette().color(QPalette::Button), shadow = c.palette().color(QPalette::Dark);
    EXPECT_TRUE(AllOf(shot, QRect(0, 21, 202, 1), shadow));
    EXPECT_TRUE(AllOf(shot, QRect(201, 21, 1, 425), shadow));
    EXPECT_EQ(Pixel(shot, 0, 0), QColor(0, 0, 128)); // the selected tab's navy frame
    EXPECT_EQ(Pixel(shot, c.TabRect(1).left() + 2, 2), face);
    EXPECT_EQ(Pixel(shot, 201, 5), face);
    const QImage page = c.ActivePage()->grab().toImage();
    EXPECT_TRUE(AllOf(page, page.rect(), face));
}
