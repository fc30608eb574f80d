#include "skin/form/popupmenumodel.h"

#include "skin/form/popupgeometry.h"
#include "skin/render/skinutils.h"

#include <algorithm>

namespace quorvel {
namespace {

bool Contains(const SkinRect& r, const QPoint& p) { return PointHitsRect(p.x(), p.y(), r); }

bool Selectable(const SkinMenuItem& item) { return item.IsEnabled() && !item.IsSeparator(); }

} // namespace

PopupMenuModel::PopupMenuModel(Host& host, int level) : host_(host), level_(level) { }

void PopupMenuModel::AddItem(QAction* action) { items_.push_back(std::make_unique<SkinMenuItem>(action)); }

// ---- Layout ----

void PopupMenuModel::SetItemHeights(int item, int separator)
{
    itemHeight_ = item;
    separatorHeight_ = separator;
}

int PopupMenuModel::ItemHeight(const SkinMenuItem& item) const
{
    return item.IsSeparator() ? separatorHeight_ : itemHeight_;
}

int PopupMenuModel::TotalHeight() const
{
    int height = 0;
    for (const auto& item : items_)
        height += ItemHeight(*item);
    return height;
}

std::vector<int> PopupMenuModel::Heights() const
{
    std::vector<int> heights;
    heights.reserve(items_.size());
    for (const auto& item : items_)
        heights.push_back(ItemHeight(*item));
    return heights;
}

void PopupMenuModel::Place(const SkinRect& itemsArea, QSize popupSize, bool scrolling, bool skinned)
{
    itemsArea_ = itemsArea;
    popupSize_ = popupSize;
    scrolling_ = scrolling;
    skinned_ = skinned;
    Relayout();
}

void PopupMenuModel::Relayout()
{
    const auto places = popupgeometry::PlaceItems(Heights(), itemsArea_, firstVisible_, scrolling_);
    visibleCount_ = places.visibleCount;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        SkinMenuItem& item = *items_[i];
        item.Rect = places.rects[i];
        item.Visible = places.visible[i];
        if (!item.Visible) {
            // An item out of sight keeps no hover, open or morph state.
            item.Hot = item.Open = item.KeyboardSelected = false;
            item.MorphAmount = 0;
        }
    }
}

bool PopupMenuModel::LastItemShown() const { return items_.empty() || items_.back()->Visible; }

SkinRect PopupMenuModel::TopMarker() const
{
    if (!skinned_)
        return SkinRect{3, 3, popupSize_.width() - 3, 13};
    return SkinRect{itemsArea_.left, itemsArea_.top, itemsArea_.right, itemsArea_.top + 10};
}

SkinRect PopupMenuModel::BottomMarker() const
{
    if (!skinned_)
        return SkinRect{3, popupSize_.height() - 10, popupSize_.width() - 3, popupSize_.height() - 3};
    return SkinRect{itemsArea_.left, itemsArea_.bottom - 10, itemsArea_.right, itemsArea_.bottom};
}

// ---- Item states ----

void PopupMenuModel::SelectFirst()
{
    hotItem_ = -1;
    const int first = FindSelectable(0, Count(), 1);
    if (first != -1)
        SelectItem(first, true);
}

void PopupMenuModel::SelectItem(int index, bool keyboard)
{
    if (index < 0 || index >= Count())
        return;
    SkinMenuItem& item = Item(index);
    const bool wasKeyboard = item.KeyboardSelected;
    item.Hot = true;
    item.KeyboardSelected = keyboard;
    hotItem_ = index;
    for (int i = 0; i < Count(); ++i)
        if (i != index && Item(i).Open) {
            Item(i).Open = false;
            host_.ItemChanged(i);
        }
    if (wasKeyboard && !keyboard) {
        host_.ItemChanged(index);
        return;
    }
    if (item.Open) {
        // Its submenu stays; whatever that submenu had opened goes.
        host_.ClosePopupsFrom(level_ + 2);
        if (PopupMenuModel* sub = host_.LevelModel(level_ + 1))
            sub->ForgetOpenItems();
        return;
    }
    host_.ItemChanged(index);
    host_.ItemSelected(index, keyboard);
}

void PopupMenuModel::DeselectItem(int index)
{
    if (index < 0 || index >= Count())
        return;
    SkinMenuItem& item = Item(index);
    item.Hot = false;
    item.KeyboardSelected = false;
    if (!item.Open)
        host_.ItemChanged(index);
    host_.ItemDeselected(index);
}

void PopupMenuModel::ClickItem(int index)
{
    if (index < 0 || index >= Count())
        return;
    SkinMenuItem& item = Item(index);
    item.KeyboardSelected = false;
    if (item.Open || !Selectable(item))
        return;
    if (!item.HasChildren()) {
        host_.RunItem(index);
        return;
    }
    item.Open = true;
    host_.ItemChanged(index);
    host_.OpenSubmenu(index);
}

void PopupMenuModel::SubmenuClosed()
{
    if (hotItem_ == -1)
        return;
    Item(hotItem_).Open = false;
    host_.ItemChanged(hotItem_);
}

void PopupMenuModel::ForgetOpenItems()
{
    for (auto& item : items_)
        item->Open = false;
}

std::vector<int> PopupMenuModel::StepMorphs()
{
    std::vector<int> moved;
    for (int i = 0; i < Count(); ++i) {
        SkinMenuItem& item = Item(i);
        if (!item.Visible || !item.MorphPending())
            continue;
        item.MorphAmount = std::clamp(item.MorphAmount + ((item.Hot || item.Open) ? 0.2 : -0.2), 0.0, 1.0);
        if (item.MorphAmount > 0.999)
            item.MorphAmount = 1;
        else if (item.MorphAmount < 0.001)
            item.MorphAmount = 0;
        moved.push_back(i);
    }
    return moved;
}

// ---- Pointer ----

void PopupMenuModel::StopAutoScroll()
{
    autoScrolling_ = false;
    host_.AutoScroll(false);
}

void PopupMenuModel::PointerLeft()
{
    if (!autoScrolling_)
        return;
    StopAutoScroll();
    scrollDirection_ = 0;
    hoveredMarker_ = 0;
    host_.ListChanged();
}

void PopupMenuModel::HoverTest(const QPoint& p)
{
    if (scrolling_) {
        int marker = 0;
        if (Contains(TopMarker(), p) && firstVisible_ > 0)
            marker = 1;
        else if (Contains(BottomMarker(), p) && !LastItemShown())
            marker = 2;
        if (marker != 0 && marker != scrollDirection_) {
            scrollDirection_ = marker;
            hoveredMarker_ = marker;
            host_.ClosePopupsFrom(level_ + 1);
            autoScrolling_ = true;
            host_.AutoScroll(true);
            host_.ListChanged();
        } else if (marker == 0 && autoScrolling_) {
            StopAutoScroll();
            scrollDirection_ = 0;
            hoveredMarker_ = 0;
            host_.ListChanged();
        }
    }
    int now = hotItem_;
    for (int i = 0; i < Count(); ++i)
        if (Item(i).Visible && Contains(Item(i).Rect, p)) {
            now = i;
            break;
        }
    if (now == -1)
        return;
    SkinMenuItem& item = Item(now);
    if (now == hotItem_) {
        if (item.KeyboardSelected) {
            item.KeyboardSelected = false;
            if (item.HasChildren())
                SelectItem(now, false);
        }
        return;
    }
    prevHotItem_ = hotItem_;
    if (prevHotItem_ != -1 && Selectable(Item(prevHotItem_)))
        DeselectItem(prevHotItem_);
    hotItem_ = now;
    if (Selectable(item))
        SelectItem(now, false);
}

void PopupMenuModel::Release(const QPoint& p)
{
    HoverTest(p);
    for (const auto& item : items_)
        if (item->Visible && Contains(item->Rect, p)) {
            if (hotItem_ != -1 && !Item(hotItem_).IsSeparator())
                ClickItem(hotItem_);
            return;
        }
}

// ---- Scrolling and keys ----

void PopupMenuModel::ScrollStep(bool wrap)
{
    if (scrollDirection_ == 1) {
        if (firstVisible_ > 0)
            --firstVisible_;
        else if (wrap)
            firstVisible_ = popupgeometry::LastPageStart(Heights(), itemsArea_.Height() - 20);
        else {
            StopAutoScroll();
            return;
        }
    } else if (scrollDirection_ == 2) {
        if (!LastItemShown())
            ++firstVisible_;
        else if (wrap)
            firstVisible_ = 0;
        else {
            StopAutoScroll();
            return;
        }
    }
    Relayout();
    host_.ListChanged();
}

int PopupMenuModel::FindSelectable(int from, int to, int step) const
{
    for (int i = from; i != to; i += step)
        if (Selectable(*items_[static_cast<std::size_t>(i)]))
            return i;
    return -1;
}

bool PopupMenuModel::KeyDown(int key, const QString& text)
{
    const int n = Count();
    // An accelerator chooses its item at once.
    if (!text.isEmpty() && text[0].isPrint()) {
        const QChar letter = text[0].toUpper();
        for (int i = 0; i < n; ++i) {
            if (Item(i).Accelerator() != letter)
                continue;
            if (hotItem_ != -1 && hotItem_ != i)
                DeselectItem(hotItem_);
            SelectItem(i, false);
            ClickItem(i);
            return true;
        }
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ClickItem(hotItem_);
        return true;
    case Qt::Key_Left:
        if (host_.OpenLevels() < 2)
            return false;
        [[fallthrough]];
    case Qt::Key_Escape: {
        // This popup goes (its window only once the key has been handled); the one below it
        // shows its item closed again.
        Host& host = host_;
        const int level = level_;
        host.ClosePopupsFrom(level);
        if (level > 0)
            if (PopupMenuModel* below = host.LevelModel(level - 1))
                below->SubmenuClosed();
        return true;
    }
    case Qt::Key_Down:
    case Qt::Key_Up: {
        if (n == 0)
            return true;
        const bool down = key == Qt::Key_Down;
        int found = -1;
        if (down) {
            const int start = hotItem_ == -1 || hotItem_ == n - 1 ? 0 : hotItem_ + 1;
            found = FindSelectable(start, n, 1);
        } else {
            const int start = hotItem_ == -1 || hotItem_ == 0 ? n - 1 : hotItem_ - 1;
            found = FindSelectable(start, -1, -1);
        }
        if (found == -1)
            return true;
        if (scrolling_) {
            // Keep the chosen item in sight, turning over at either end.
            scrollDirection_ = down ? 2 : 1;
            while (!Item(found).Visible) {
                const int before = firstVisible_;
                ScrollStep(true);
                if (firstVisible_ == before)
                    break;
            }
            scrollDirection_ = 0;
        }
        if (hotItem_ != -1)
            DeselectItem(hotItem_);
        SelectItem(found, true);
        return true;
    }
    case Qt::Key_Right:
        if (hotItem_ != -1 && Item(hotItem_).HasChildren())
            ClickItem(hotItem_);
        return true;
    default:
        return false;
    }
}

} // namespace quorvel
