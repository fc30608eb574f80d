// A popup menu's items as state, without a window: keys, accelerators, the pointer, scrolling
// between the markers and which item opens a submenu.
#include "skin/form/popupmenumodel.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

// The menu around one or more models: writes down what they ask of it. Closing a level drops
// the models from that level on, as the menu drops their popups.
class Menu : public PopupMenuModel::Host {
public:
    PopupMenuModel& Open(const std::vector<QAction*>& actions, int visibleHeight = 0)
    {
        auto model = std::make_unique<PopupMenuModel>(*this, static_cast<int>(levels.size()));
        for (QAction* a : actions)
            model->AddItem(a);
        model->SetItemHeights(20, 4);
        const int total = model->TotalHeight();
        const bool scrolling = visibleHeight > 0 && total > visibleHeight;
        const int height = scrolling ? visibleHeight : total;
        model->Place(SkinRect{2, 2, 148, 2 + height}, QSize(150, height + 4), scrolling, false);
        levels.push_back(std::move(model));
        log.clear();
        return *levels.back();
    }

    void ItemChanged(int) override { }
    void ListChanged() override { }
    void AutoScroll(bool run) override { autoScroll = run; }
    int OpenLevels() const override { return static_cast<int>(levels.size()); }
    PopupMenuModel* LevelModel(int level) override
    {
        return level >= 0 && level < OpenLevels() ? levels[static_cast<std::size_t>(level)].get() : nullptr;
    }
    void ClosePopupsFrom(int level) override
    {
        log.push_back("close " + std::to_string(level));
        // Kept alive, as a closed popup's window lives until its event is handled.
        while (OpenLevels() > std::max(level, 0)) {
            closed.push_back(std::move(levels.back()));
            levels.pop_back();
        }
    }
    void ItemSelected(int index, bool keyboard) override
    {
        log.push_back((keyboard ? "key " : "hover ") + std::to_string(index));
    }
    void ItemDeselected(int) override { }
    void RunItem(int index) override { log.push_back("run " + std::to_string(index)); }
    void OpenSubmenu(int index) override { log.push_back("submenu " + std::to_string(index)); }

    std::vector<std::unique_ptr<PopupMenuModel>> levels, closed;
    std::vector<std::string> log;
    bool autoScroll = false;
};

// Actions for a menu: "-" a separator, a leading "!" disabled, a trailing ">" with a submenu.
struct Actions {
    explicit Actions(const std::vector<QString>& captions)
    {
        for (QString caption : captions) {
            auto* action = new QAction(&owner);
            if (caption == QLatin1String("-")) {
                action->setSeparator(true);
            } else {
                if (caption.startsWith(QLatin1Char('!'))) {
                    action->setEnabled(false);
                    caption.remove(0, 1);
                }
                if (caption.endsWith(QLatin1Char('>'))) {
                    caption.chop(1);
                    auto* sub = new QMenu;
                    sub->addAction(QStringLiteral("inner"));
                    submenus.emplace_back(sub);
                    action->setMenu(sub);
                }
                action->setText(caption);
            }
            list.push_back(action);
        }
    }
    std::vector<std::unique_ptr<QMenu>> submenus; // outlive the actions that show them
    QObject owner;
    std::vector<QAction*> list;
};

QPoint Centre(const SkinMenuItem& item)
{
    return QPoint((item.Rect.left + item.Rect.right) / 2, (item.Rect.top + item.Rect.bottom) / 2);
}

} // namespace

TEST(PopupMenuModel, ArrowsSkipWhatCannotBeChosenAndTurnOverOnlyFromTheEnds)
{
    Actions a({"&Open", "-", "!&Gone", "&Save", "Quit"});
    Menu menu;
    PopupMenuModel& m = menu.Open(a.list);
    m.SelectFirst();
    EXPECT_EQ(m.HotItem(), 0);
    EXPECT_TRUE(m.Items()[0]->KeyboardSelected);
    EXPECT_TRUE(m.KeyDown(Qt::Key_Down, {}));
    EXPECT_EQ(m.HotItem(), 3);
    EXPECT_FALSE(m.Items()[0]->Hot);
    m.KeyDown(Qt::Key_Down, {});
    m.KeyDown(Qt::Key_Down, {});
    EXPECT_EQ(m.HotItem(), 0); // from the last item to the first
    m.KeyDown(Qt::Key_Up, {});
    EXPECT_EQ(m.HotItem(), 4);
    m.KeyDown(Qt::Key_Up, {});
    m.KeyDown(Qt::Key_Up, {});
    EXPECT_EQ(m.HotItem(), 0);
    EXPECT_EQ(std::count_if(m.Items().begin(), m.Items().end(), [](const auto& i) { return i->Hot; }), 1);

    // The search runs to the end of the list only: a separator last keeps the hot item.
    Actions tail({"One", "Two", "-"});
    PopupMenuModel& t = menu.Open(tail.list);
    t.SelectItem(1, true);
    t.KeyDown(Qt::Key_Down, {});
    EXPECT_EQ(t.HotItem(), 1);
    // Nothing to choose at all: no hot item, and the keys change nothing.
    Actions blank({"-", "!Off"});
    PopupMenuModel& b = menu.Open(blank.list);
    b.SelectFirst();
    EXPECT_EQ(b.HotItem(), -1);
    EXPECT_TRUE(b.KeyDown(Qt::Key_Down, {}));
    EXPECT_TRUE(b.KeyDown(Qt::Key_Return, {}));
    EXPECT_EQ(b.HotItem(), -1);
    EXPECT_TRUE(menu.log.empty());
}

TEST(PopupMenuModel, AcceleratorsAndEnterRunTheirItem)
{
    Actions a({"&Open", "Save &As", "Fish && &Chips", "!&Disabled", "Sub&menu>"});
    Menu menu;
    PopupMenuModel& m = menu.Open(a.list);
    m.SelectFirst();
    menu.log.clear();
    // Case does not matter; "&&" is a plain ampersand, the letter after it no accelerator.
    EXPECT_TRUE(m.KeyDown(Qt::Key_A, QStringLiteral("a")));
    EXPECT_EQ(m.HotItem(), 1);
    EXPECT_FALSE(m.Items()[0]->Hot);
    EXPECT_EQ(menu.log, (std::vector<std::string>{"hover 1", "run 1"}));
    menu.log.clear();
    m.KeyDown(Qt::Key_C, QStringLiteral("C"));
    EXPECT_EQ(menu.log.back(), "run 2");
    // A disabled item is made hot by its letter but does not run.
    menu.log.clear();
    m.KeyDown(Qt::Key_D, QStringLiteral("d"));
    EXPECT_EQ(m.HotItem(), 3);
    EXPECT_TRUE(std::none_of(menu.log.begin(), menu.log.end(), [](const std::string& e) { return e == "run 3"; }));
    // A letter of no item is not the popup's key; Enter runs the hot item.
    EXPECT_FALSE(m.KeyDown(Qt::Key_Z, QStringLiteral("z")));
    m.SelectItem(0, true);
    menu.log.clear();
    EXPECT_TRUE(m.KeyDown(Qt::Key_Return, {}));
    EXPECT_EQ(menu.log, (std::vector<std::string>{"run 0"}));
    // The letter of an item with children opens its submenu instead.
    menu.log.clear();
    m.KeyDown(Qt::Key_M, QStringLiteral("m"));
    EXPECT_EQ(menu.log.back(), "submenu 4");
    EXPECT_TRUE(m.Items()[4]->Open);
}

TEST(PopupMenuModel, RightOpensASubmenuLeftAndEscapeGoBack)
{
    Actions a({"Plain", "More>"});
    Menu menu;
    PopupMenuModel& root = menu.Open(a.list);
    root.SelectFirst();
    menu.log.clear();
    // Left on the only popup is not the menu's key; Right on an item without children does nothing.
    EXPECT_FALSE(root.KeyDown(Qt::Key_Left, {}));
    EXPECT_TRUE(root.KeyDown(Qt::Key_Right, {}));
    EXPECT_TRUE(menu.log.empty());
    // By keyboard an item with children waits for Right (no pending submenu).
    root.KeyDown(Qt::Key_Down, {});
    EXPECT_EQ(menu.log, (std::vector<std::string>{"key 1"}));
    root.KeyDown(Qt::Key_Right, {});
    EXPECT_EQ(menu.log.back(), "submenu 1");
    EXPECT_TRUE(root.Items()[1]->Open);
    // Choosing it again while its submenu is open does nothing.
    menu.log.clear();
    root.ClickItem(1);
    EXPECT_TRUE(menu.log.empty());

    Actions inner({"Deep>", "Deeper"});
    PopupMenuModel& sub = menu.Open(inner.list);
    sub.SelectFirst();
    sub.ClickItem(0);
    ASSERT_TRUE(sub.Items()[0]->Open);
    ASSERT_EQ(menu.OpenLevels(), 2);
    // Back over the item that opened the submenu: the popups beyond that submenu go, and the
    // submenu's own items show closed again.
    menu.log.clear();
    root.SelectItem(1, false);
    EXPECT_EQ(menu.log, (std::vector<std::string>{"close 2"}));
    EXPECT_FALSE(sub.Items()[0]->Open);

    // Left closes the submenu; the root's item shows closed.
    EXPECT_TRUE(sub.KeyDown(Qt::Key_Left, {}));
    EXPECT_EQ(menu.log.back(), "close 1");
    EXPECT_EQ(menu.OpenLevels(), 1);
    EXPECT_FALSE(root.Items()[1]->Open);
    EXPECT_TRUE(root.Items()[1]->Hot);
    // Escape on the root closes the whole menu.
    EXPECT_TRUE(root.KeyDown(Qt::Key_Escape, {}));
    EXPECT_EQ(menu.log.back(), "close 0");
    EXPECT_EQ(menu.OpenLevels(), 0);
}

TEST(PopupMenuModel, ThePointerSelectsAndAReleaseChooses)
{
    Actions a({"One", "-", "Two>", "Three"});
    Menu menu;
    PopupMenuModel& m = menu.Open(a.list);
    m.SelectFirst();
    menu.log.clear();
    // Over the keyboard's own item: only its keyboard flag goes.
    m.HoverTest(Centre(*m.Items()[0]));
    EXPECT_FALSE(m.Items()[0]->KeyboardSelected);
    EXPECT_TRUE(menu.log.empty());
    // Over an item with children: it waits for its submenu.
    m.HoverTest(Centre(*m.Items()[2]));
    EXPECT_EQ(m.HotItem(), 2);
    EXPECT_EQ(m.PrevHotItem(), 0);
    EXPECT_EQ(menu.log, (std::vector<std::string>{"hover 2"}));
    // A separator becomes the hot item but is not selected, and a release on it runs nothing.
    m.HoverTest(Centre(*m.Items()[1]));
    EXPECT_EQ(m.HotItem(), 1);
    EXPECT_FALSE(m.Items()[1]->Hot);
    menu.log.clear();
    m.Release(Centre(*m.Items()[1]));
    EXPECT_TRUE(menu.log.empty());
    // Outside every item the hot item stays; a release there chooses nothing.
    m.HoverTest(QPoint(500, 500));
    EXPECT_EQ(m.HotItem(), 1);
    m.Release(QPoint(500, 500));
    EXPECT_TRUE(menu.log.empty());
    m.Release(Centre(*m.Items()[3]));
    EXPECT_EQ(menu.log.back(), "run 3");
}

TEST(PopupMenuModel, ScrollsBetweenTheMarkers)
{
    std::vector<QString> captions;
    for (int i = 0; i < 20; ++i)
        captions.push_back(QStringLiteral("Item %1").arg(i));
    Actions a(captions);
    Menu menu;
    // 100 pixels for 400 of items: markers of 10 at both ends leave room for four.
    PopupMenuModel& m = menu.Open(a.list, 100);
    ASSERT_TRUE(m.Scrolling());
    EXPECT_EQ(m.VisibleCount(), 4);
    EXPECT_EQ(m.Items()[0]->Rect.top, 12);
    m.SelectFirst();

    // Down past the last shown item scrolls one item at a time.
    for (int i = 0; i < 4; ++i)
        m.KeyDown(Qt::Key_Down, {});
    EXPECT_EQ(m.HotItem(), 4);
    EXPECT_EQ(m.FirstVisible(), 1);
    EXPECT_TRUE(m.Items()[4]->Visible);
    EXPECT_FALSE(m.Items()[0]->Visible);
    EXPECT_EQ(m.ScrollDirection(), 0);
    // Up from the first item turns over to the last page.
    m.SelectItem(1, true);
    m.KeyDown(Qt::Key_Up, {});
    m.KeyDown(Qt::Key_Up, {});
    EXPECT_EQ(m.HotItem(), 19);
    EXPECT_EQ(m.FirstVisible(), 16);
    EXPECT_TRUE(m.LastItemShown());

    // The top marker scrolls up while the pointer rests on it, until the first item shows.
    const SkinRect top = m.TopMarker();
    m.HoverTest(QPoint((top.left + top.right) / 2, top.top + 5));
    EXPECT_TRUE(menu.autoScroll);
    EXPECT_EQ(m.ScrollDirection(), 1);
    EXPECT_EQ(m.HoveredMarker(), 1);
    EXPECT_EQ(menu.log.back(), "close 1");
    for (int i = 0; i < 16; ++i)
        m.ScrollStep(false);
    EXPECT_EQ(m.FirstVisible(), 0);
    EXPECT_TRUE(menu.autoScroll);
    m.ScrollStep(false);
    EXPECT_EQ(m.FirstVisible(), 0);
    EXPECT_FALSE(menu.autoScroll);
    // The bottom marker starts it again; the pointer leaving the popup stops it.
    const SkinRect bottom = m.BottomMarker();
    m.HoverTest(QPoint((bottom.left + bottom.right) / 2, bottom.top + 5));
    EXPECT_TRUE(menu.autoScroll);
    m.PointerLeft();
    EXPECT_FALSE(menu.autoScroll);
    EXPECT_EQ(m.ScrollDirection(), 0);
    EXPECT_EQ(m.HoveredMarker(), 0);
    // On the top marker at the top nothing scrolls.
    m.HoverTest(QPoint((top.left + top.right) / 2, top.top + 5));
    EXPECT_FALSE(menu.autoScroll);
}

TEST(PopupMenuModel, ItemsOutOfSightKeepNoState)
{
    std::vector<QString> captions(10, QStringLiteral("x"));
    Actions a(captions);
    Menu menu;
    PopupMenuModel& m = menu.Open(a.list, 100);
    m.SelectItem(0, false);
    m.Item(0).MorphAmount = 0.6;
    m.HoverTest(QPoint(50, m.BottomMarker().top + 5));
    m.ScrollStep(false);
    EXPECT_FALSE(m.Items()[0]->Visible);
    EXPECT_FALSE(m.Items()[0]->Hot);
    EXPECT_EQ(m.Items()[0]->MorphAmount, 0);

    // Morphs step towards the look the item should have, and stop there.
    m.Item(2).Hot = true;
    int steps = 0;
    while (!m.StepMorphs().empty())
        ++steps;
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(m.Items()[2]->MorphAmount, 1);
}
