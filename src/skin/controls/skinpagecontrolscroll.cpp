// The page control's scroll buttons: shown when the tabs do not fit, scrolling the strip and
// keeping the selected tab in sight.
#include "skin/controls/skinpagecontrol.h"
#include "skin/controls/skinupdown.h"

#include <algorithm>

namespace quorvel {

int SkinPageControl::CountTabsNotFitting(int buttonsWidth) const
{
    int n = 0;
    for (int i : VisibleTabs()) {
        const QRect r = TabRect(i);
        const int right = r.left() + r.width();
        if (right <= 0 || right > width() - buttonsWidth - 3)
            ++n;
    }
    return n;
}

int SkinPageControl::TabsOutAtLeft() const
{
    int n = 0;
    for (int i : VisibleTabs()) {
        const QRect r = TabRect(i);
        if (r.left() + r.width() <= 0)
            ++n;
    }
    return n;
}

void SkinPageControl::ScrollTo(int first)
{
    const int last = std::max(0, static_cast<int>(VisibleTabs().size()) - 1);
    first = std::max(0, std::min(first, last));
    if (first == firstShown_)
        return;
    firstShown_ = first;
    Relayout();
    InvalidateAll();
}

void SkinPageControl::UpdateScrollButtons()
{
    if (!Horizontal() || MultiLine()) {
        DropScrollButtons();
        ScrollTo(0);
        return;
    }
    // Room enough for every tab without the buttons: back to the first tab, and the buttons go.
    if (firstShown_ > 0 && TabBarRect().width() <= width() - 3)
        ScrollTo(0);
    if (CountTabsNotFitting(0) == 0) {
        DropScrollButtons();
        return;
    }
    int notFitting = CountTabsNotFitting(scrollButtons_ ? scrollButtons_->width() : 0);
    if (!scrollButtons_) {
        scrollButtons_ = new SkinUpDown(this);
        scrollButtons_->setObjectName(QStringLiteral("ScrollButtons"));
        scrollButtons_->resize(defaultItemHeight_ * 2, defaultItemHeight_);
        scrollButtons_->SetMin(0);
        scrollButtons_->SetMax(notFitting);
        scrollButtons_->SetPosition(TabsOutAtLeft());
        scrollButtons_->SetIncrement(1);
        scrollButtons_->SetSkinDataName(QString::fromStdString(painter_.Section().upDown));
        scrollButtons_->SetSkinData(skinData_);
        connect(scrollButtons_, &SkinUpDown::changed, this, &SkinPageControl::ScrollButtonsChanged);
        scrollButtons_->show();
        // The buttons take room from the strip: a tab under them does not fit either.
        notFitting = CountTabsNotFitting(scrollButtons_->width());
    }
    scrollButtons_->SetMax(notFitting);
    scrollButtons_->move(width() - scrollButtons_->width(),
                         tabPosition() == North ? 0 : height() - scrollButtons_->height());
    scrollButtons_->raise();
}

void SkinPageControl::DropScrollButtons()
{
    if (!scrollButtons_)
        return;
    disconnect(scrollButtons_, nullptr, this, nullptr);
    scrollButtons_->hide();
    scrollButtons_->deleteLater();
    scrollButtons_ = nullptr;
}

void SkinPageControl::ScrollButtonsChanged()
{
    if (!scrollButtons_)
        return;
    scrollButtons_->SetMax(CountTabsNotFitting(scrollButtons_->width()));
    ScrollTo(scrollButtons_->Position());
}

void SkinPageControl::EnsureSelectedShown()
{
    if (!Horizontal())
        return;
    const QList<int> tabs = VisibleTabs();
    const int k = tabs.indexOf(currentIndex());
    if (k < 0)
        return;
    if (k < firstShown_) {
        ScrollTo(k);
        return;
    }
    const int room = width() - (scrollButtons_ ? scrollButtons_->width() : 0) - 3;
    int first = firstShown_;
    auto rightOf = [&](int start) {
        int x = 0;
        for (int j = start; j <= k; ++j)
            x += TabSizeFor(tabs[j]).width();
        return x;
    };
    while (first < k && rightOf(first) > room)
        ++first;
    ScrollTo(first);
}

} // namespace quorvel
