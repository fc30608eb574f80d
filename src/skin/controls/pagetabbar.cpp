#include "skin/controls/pagetabbar.h"

#include "skin/controls/skinpagecontrol.h"

namespace quorvel {

PageTabBar::PageTabBar(SkinPageControl* owner) : QTabBar(owner), owner_(owner) { }

QSize PageTabBar::tabSizeHint(int index) const { return owner_->TabSizeFor(index); }

QSize PageTabBar::minimumTabSizeHint(int index) const { return owner_->TabSizeFor(index); }

} // namespace quorvel
