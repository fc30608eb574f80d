#pragma once

#include "skin/definition/skinvalues.h"
#include "skin/form/skinmenuitem.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class QAction;

namespace quorvel {

// One level of an open skinned menu as state: its items and where they lie, the hot item, the
// keys, the accelerators, scrolling between the markers and which item opens a submenu. It owns
// no window: what it decides reaches its popup window, the other levels and the commands through
// its host.
class PopupMenuModel {
public:
    // What lies around the model: its window (redraws, the scroll ticks) and the menu it belongs to.
    class Host {
    public:
        virtual ~Host() = default;
        // The item's look changed, or the whole list moved.
        virtual void ItemChanged(int index) = 0;
        virtual void ListChanged() = 0;
        // Scroll ticks (ScrollStep) run while the pointer rests on a marker.
        virtual void AutoScroll(bool run) = 0;
        // The popups open in the menu, and the model of the one at a level (none past the top).
        virtual int OpenLevels() const = 0;
        virtual PopupMenuModel* LevelModel(int level) = 0;
        virtual void ClosePopupsFrom(int level) = 0;
        // The hot item changed: the menu closes the popups above or waits to open a submenu.
        virtual void ItemSelected(int index, bool keyboard) = 0;
        virtual void ItemDeselected(int index) = 0;
        // The item was chosen: its command runs (and the menu closes); or its submenu opens.
        virtual void RunItem(int index) = 0;
        virtual void OpenSubmenu(int index) = 0;
    };

    PopupMenuModel(Host& host, int level);

    int Level() const { return level_; }
    void AddItem(QAction* action);
    const std::vector<std::unique_ptr<SkinMenuItem>>& Items() const { return items_; }
    SkinMenuItem& Item(int index) { return *items_[static_cast<std::size_t>(index)]; }
    int Count() const { return static_cast<int>(items_.size()); }

    // Item heights: of a separator and of any other item.
    void SetItemHeights(int item, int separator);
    int ItemHeight(const SkinMenuItem& item) const;
    int TotalHeight() const;

    // Lays the items out in the items area of a popup of that size; scrolling keeps room for the
    // markers at both ends. Markers are those of the skin's popup picture when skinned.
    void Place(const SkinRect& itemsArea, QSize popupSize, bool scrolling, bool skinned);
    bool Scrolling() const { return scrolling_; }
    const SkinRect& ItemsArea() const { return itemsArea_; }
    int FirstVisible() const { return firstVisible_; }
    int VisibleCount() const { return visibleCount_; }
    bool LastItemShown() const;
    // The scroll markers (top, bottom) in popup coordinates; the one under the pointer (1 top,
    // 2 bottom, 0 none) and the way the list scrolls (1 up, 2 down, 0 not).
    SkinRect TopMarker() const;
    SkinRect BottomMarker() const;
    int HoveredMarker() const { return hoveredMarker_; }
    int ScrollDirection() const { return scrollDirection_; }
    bool AutoScrolling() const { return autoScrolling_; }

    int HotItem() const { return hotItem_; }
    int PrevHotItem() const { return prevHotItem_; }
    // As the popup opens: no hot item, then the first one that can be chosen, as by the keyboard.
    void SelectFirst();
    void SelectItem(int index, bool keyboard);
    void DeselectItem(int index);
    void ClickItem(int index);

    // The pointer at a point of the popup; the left button released there; the pointer gone
    // from the popup.
    void HoverTest(const QPoint& point);
    void Release(const QPoint& point);
    void PointerLeft();
    // One key for this popup; false when it did nothing with it.
    bool KeyDown(int key, const QString& text);
    // One item up or down (ScrollDirection); at either end it wraps, or the scroll stops.
    void ScrollStep(bool wrap);
    // The submenu of the hot item closed; the level above forgets which of its items was open.
    void SubmenuClosed();
    void ForgetOpenItems();
    // One step of every morph under way; the items whose look moved.
    std::vector<int> StepMorphs();

private:
    int FindSelectable(int from, int to, int step) const;
    std::vector<int> Heights() const;
    void Relayout();
    void StopAutoScroll();

    Host& host_;
    const int level_;
    std::vector<std::unique_ptr<SkinMenuItem>> items_;
    int itemHeight_ = 20, separatorHeight_ = 4;
    int hotItem_ = -1, prevHotItem_ = -1;
    bool scrolling_ = false;
    bool skinned_ = false;
    QSize popupSize_;
    SkinRect itemsArea_;
    int firstVisible_ = 0, visibleCount_ = 0;
    int scrollDirection_ = 0;
    int hoveredMarker_ = 0;
    bool autoScrolling_ = false;
};

} // namespace quorvel
