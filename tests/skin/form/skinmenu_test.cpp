// The skinned system menu: its items for each state of the window, its size and place, and
// how keys, the pointer and presses on the window work on it.
#include "formfixture.h"
#include "skin/form/popupgeometry.h"
#include "skin/form/skinmenu.h"
#include "skin/form/skinpopupwindow.h"
#include "skin/form/systemmenu.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::vector<std::string> Names(const std::vector<SystemMenu::Item>& items)
{
    std::vector<std::string> names;
    for (const auto& i : items)
        names.push_back(i.name);
    return names;
}

void Key(QWidget& target, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&target, &press);
}

} // namespace

TEST(SystemMenuItems, FollowTheWindowsState)
{
    SystemMenu::State s;
    s.borderIcons = BorderIcons{false, true, true, true, false};
    EXPECT_EQ(Names(SystemMenu::Items(s, nullptr)),
              (std::vector<std::string>{"SF_MINITEM", "SF_MAXITEM", "SF_ROLLUP", "-", "SF_CLOSE"}));
    s.rolledUp = true;
    EXPECT_EQ(Names(SystemMenu::Items(s, nullptr)),
              (std::vector<std::string>{"SF_MINITEM", "SF_MAXITEM", "SF_RESTORE", "-", "SF_CLOSE"}));
    s.rolledUp = false;
    s.frameState = FrameState::Maximized;
    EXPECT_EQ(Names(SystemMenu::Items(s, nullptr)),
              (std::vector<std::string>{"SF_MINITEM", "SF_RESTORE", "SF_ROLLUP", "-", "SF_CLOSE"}));
    // Without any window-state icon only close is left, without a separator.
    s = SystemMenu::State{};
    s.borderIcons = BorderIcons{false, false, false, false, false};
    EXPECT_EQ(Names(SystemMenu::Items(s, nullptr)), (std::vector<std::string>{"SF_CLOSE"}));
    const auto items = SystemMenu::Items(s, nullptr);
    EXPECT_EQ(items[0].caption, QStringLiteral("关闭(&C)"));
    EXPECT_EQ(items[0].shortcut, QStringLiteral("Alt+F4"));
}

TEST(SystemMenuItems, AnApplicationMenuKeepsItsItemsAroundTheStandardOnes)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Mine"))->setObjectName(QStringLiteral("MINE"));
    menu.addAction(QStringLiteral("old close"))->setObjectName(QStringLiteral("SF_CLOSE"));
    SystemMenu::State s;
    s.borderIcons = BorderIcons{false, true, true, true, false};
    s.frameState = FrameState::Maximized;
    SystemMenu::Fill(menu, SystemMenu::Items(s, nullptr), true);
    QStringList names;
    for (QAction* a : menu.actions())
        names << a->objectName();
    EXPECT_EQ(names, (QStringList{"SF_MINITEM", "SF_RESTORE", "SF_ROLLUP", "MINE", "SF_CLOSE"}));
}

TEST(PopupGeometry, OpensBelowOrAboveAndStaysOnTheScreen)
{
    const QRect area(0, 0, 1280, 1000);
    using popupgeometry::Position;
    // At a point in the middle: below it, its left edge at the point.
    auto p = Position(QSize(150, 90), QRect(400, 300, 0, 0), area, false, false, false, 2);
    EXPECT_EQ(p.position, QPoint(400, 300));
    EXPECT_FALSE(p.shifted);
    // Near the bottom: above the pointer.
    p = Position(QSize(150, 90), QRect(400, 950, 0, 0), area, false, false, false, 2);
    EXPECT_EQ(p.position, QPoint(400, 860));
    // Near the right edge: moved in.
    p = Position(QSize(150, 90), QRect(1250, 300, 0, 0), area, false, false, false, 2);
    EXPECT_EQ(p.position, QPoint(1130, 300));
    // A submenu beside its item, its first item level with it.
    p = Position(QSize(150, 90), QRect(400, 300, 120, 21), area, true, false, false, 2);
    EXPECT_EQ(p.position, QPoint(521, 298));
    // Taller than the screen: from the top, beside the anchor.
    p = Position(QSize(150, 1000), QRect(400, 300, 0, 0), area, false, false, true, 2);
    EXPECT_EQ(p.position, QPoint(401, 0));
}

TEST(PopupGeometry, ItemsStopAtTheBottomAndLeaveRoomForMarkers)
{
    const std::vector<int> heights(10, 21);
    const SkinRect area{2, 2, 150, 102};
    auto places = popupgeometry::PlaceItems(heights, area, 0, false);
    EXPECT_EQ(places.visibleCount, 4);
    EXPECT_EQ(places.rects[0], (SkinRect{2, 2, 150, 23}));
    places = popupgeometry::PlaceItems(heights, area, 3, true);
    EXPECT_EQ(places.rects[3].top, 12);
    EXPECT_EQ(places.visibleCount, 3);
    EXPECT_FALSE(places.visible[2]);
    EXPECT_EQ(popupgeometry::LastPageStart(heights, 80), 7);
}

TEST(SkinMenuOnTheFrame, SystemMenuSizeLooksAndFirstItemSelected)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    frame.PopupSystemMenu(f.form().mapToGlobal(QPoint(200, 15)));
    ASSERT_EQ(frame.Menu->PopupStack.size(), 1u);
    SkinPopupWindow& popup = *frame.Menu->PopupStack[0];
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(frame.InSkinMenuMode());
    EXPECT_TRUE(frame.SkinMenuOpen);
    // Four items of 21 pixels and a separator of 2, in the popup picture's frame.
    EXPECT_EQ(popup.height(), 90);
    int widest = 0;
    for (const auto& item : popup.Model().Items())
        if (!item->IsSeparator())
            widest = std::max(widest, popup.ItemTextWidth(*item) - 2);
    EXPECT_EQ(popup.width(), widest + 51);
    EXPECT_EQ(popup.Model().Items()[0]->Name(), "SF_MINITEM");
    EXPECT_TRUE(popup.Model().Items()[0]->Hot);
    EXPECT_EQ(popup.Model().HotItem(), 0);
    // The window stays the active one.
    EXPECT_TRUE(f.form().isActiveWindow());
    // The hot item's text is white, the others grey-blue.
    const QImage shot = popup.Render();
    // Pixels of (nearly) that colour: the letters' smoothing leaves few exact ones.
    auto count = [&](const SkinRect& r, QRgb c) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const QRgb p = shot.pixel(x, y);
                n +=
                    std::abs(qRed(p) - qRed(c)) + std::abs(qGreen(p) - qGreen(c)) + std::abs(qBlue(p) - qBlue(c)) <= 12;
            }
        return n;
    };
    EXPECT_GT(count(popup.Model().Items()[0]->Rect, qRgb(255, 255, 255)), 20);
    EXPECT_GT(count(popup.Model().Items()[1]->Rect, qRgb(133, 143, 148)), 5); // 9735813 = (133, 143, 148)
    EXPECT_EQ(count(popup.Model().Items()[1]->Rect, qRgb(255, 255, 255)), 0);
}

TEST(SkinMenuOnTheFrame, AcceleratorRunsItsItemAndKeysGoNowhereElse)
{
    FormFixture f;
    auto* edit = new QWidget(f.frame().ClientArea());
    edit->setFocusPolicy(Qt::StrongFocus);
    int keysSeen = 0;
    class KeyCounter : public QObject {
    public:
        explicit KeyCounter(int& n) : n_(n) { }
        bool eventFilter(QObject*, QEvent* e) override
        {
            n_ += e->type() == QEvent::KeyPress;
            return false;
        }
        int& n_;
    } counter(keysSeen);
    edit->installEventFilter(&counter);
    f.ShowActive();
    edit->setFocus();
    SkinForm& frame = f.frame();
    frame.PopupSystemMenu(f.form().mapToGlobal(QPoint(200, 15)));
    Key(*edit, Qt::Key_Down);
    EXPECT_EQ(frame.Menu->PopupStack[0]->Model().HotItem(), 1);
    Key(*edit, Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(frame.GetFrameState(), FrameState::Maximized);
    EXPECT_FALSE(frame.Menu->MenuOpen);
    EXPECT_FALSE(frame.InSkinMenuMode());
    EXPECT_EQ(keysSeen, 0);
    // Once the menu is gone the keys reach the control again.
    Key(*edit, Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(keysSeen, 1);
}

TEST(SkinMenuOnTheFrame, EscapeClosesAndAPressOnTheWindowDismisses)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    std::vector<std::string> seen;
    frame.OnSkinMenuOpen = [&] { seen.push_back("open"); };
    frame.OnSkinMenuClose = [&] { seen.push_back("close"); };
    frame.PopupSystemMenu(f.form().mapToGlobal(QPoint(200, 15)));
    Key(f.form(), Qt::Key_Escape);
    EXPECT_FALSE(frame.Menu->MenuOpen);
    EXPECT_FALSE(frame.InSkinMenuMode());
    EXPECT_EQ(seen, (std::vector<std::string>{"open", "close"}));

    frame.PopupSystemMenu(f.form().mapToGlobal(QPoint(200, 15)));
    ASSERT_TRUE(frame.Menu->MenuOpen);
    // The wheel does nothing while it is open: it never reaches the window's controls.
    int wheels = 0;
    class WheelCounter : public QObject {
    public:
        explicit WheelCounter(int& n) : n_(n) { }
        bool eventFilter(QObject*, QEvent* e) override
        {
            n_ += e->type() == QEvent::Wheel;
            return false;
        }
        int& n_;
    } counter(wheels);
    frame.ClientArea()->installEventFilter(&counter);
    auto turn = [&] {
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(frame.ClientArea(), &wheel);
    };
    turn();
    EXPECT_EQ(wheels, 0);
    QTest::mousePress(frame.ClientArea(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_FALSE(frame.Menu->MenuOpen);
    EXPECT_FALSE(frame.InSkinMenuMode());
    QTest::mouseRelease(frame.ClientArea(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    turn();
    EXPECT_EQ(wheels, 1);
    frame.ClientArea()->removeEventFilter(&counter);
}

TEST(SkinMenuOnTheFrame, ChoosingWithThePointerRollsTheWindowUp)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    frame.PopupSystemMenu(f.form().mapToGlobal(QPoint(200, 15)));
    SkinPopupWindow& popup = *frame.Menu->PopupStack[0];
    const SkinMenuItem& rollUp = *popup.Model().Items()[2];
    ASSERT_EQ(rollUp.Name(), "SF_ROLLUP");
    const QPoint inside((rollUp.Rect.left + rollUp.Rect.right) / 2, (rollUp.Rect.top + rollUp.Rect.bottom) / 2);
    popup.Model().HoverTest(inside);
    EXPECT_EQ(popup.Model().HotItem(), 2);
    EXPECT_FALSE(popup.Model().Items()[0]->Hot);
    QTest::mouseRelease(&popup, Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_TRUE(frame.RolledUp());
    EXPECT_EQ(f.form().height(), 33);
    // Opened again, it offers to restore instead of rolling up.
    frame.PopupSystemMenu(f.form().mapToGlobal(QPoint(200, 15)));
    QStringList names;
    for (const auto& item : frame.Menu->PopupStack[0]->Model().Items())
        names << QString::fromStdString(item->Name());
    EXPECT_EQ(names, (QStringList{"SF_MINITEM", "SF_MAXITEM", "SF_RESTORE", "-", "SF_CLOSE"}));
    frame.Menu->CloseAllPopups();
}

TEST(SkinMenuOnTheFrame, TallerThanTheScreenItScrollsBetweenMarkers)
{
    FormFixture f;
    f.ShowActive();
    SkinForm& frame = f.frame();
    QMenu tall;
    for (int i = 0; i < 100; ++i)
        tall.addAction(QStringLiteral("Channel %1").arg(i));
    frame.PopupSkinMenu(&tall, QRect(f.form().mapToGlobal(QPoint(200, 15)), QSize()), false);
    ASSERT_EQ(frame.Menu->PopupStack.size(), 1u);
    SkinPopupWindow& popup = *frame.Menu->PopupStack[0];
    const QRect area = frame.Menu->MenuWorkArea;
    EXPECT_TRUE(popup.Model().Scrolling());
    EXPECT_EQ(popup.height(), area.height());
    EXPECT_EQ(popup.y(), area.top());
    // The first item sits below the top marker; the last shown one ends above the bottom marker.
    EXPECT_EQ(popup.Model().Items()[0]->Rect.top, popup.Model().ItemsArea().top + 10);
    int last = 0;
    while (last + 1 < 100 && popup.Model().Items()[static_cast<std::size_t>(last + 1)]->Visible)
        ++last;
    EXPECT_LE(popup.Model().Items()[static_cast<std::size_t>(last)]->Rect.bottom,
              popup.Model().ItemsArea().bottom - 10);
    EXPECT_FALSE(popup.Model().Items()[static_cast<std::size_t>(last + 1)]->Visible);
    // Up from the first item turns over to the last page, with the last item chosen.
    Key(f.form(), Qt::Key_Up);
    EXPECT_EQ(popup.Model().HotItem(), 99);
    EXPECT_TRUE(popup.Model().Items()[99]->Visible);
    EXPECT_GT(popup.Model().FirstVisible(), 0);
    // Down from the last item turns over to the first.
    Key(f.form(), Qt::Key_Down);
    EXPECT_EQ(popup.Model().HotItem(), 0);
    EXPECT_EQ(popup.Model().FirstVisible(), 0);
    // The pointer on the bottom marker scrolls the list, an item per tick.
    const SkinRect marker = popup.Model().BottomMarker();
    popup.Model().HoverTest(QPoint((marker.left + marker.right) / 2, (marker.top + marker.bottom) / 2));
    EXPECT_EQ(popup.Model().ScrollDirection(), 2);
    popup.Model().ScrollStep(false);
    popup.Model().ScrollStep(false);
    EXPECT_EQ(popup.Model().FirstVisible(), 2);
    frame.Menu->CloseAllPopups();
}
