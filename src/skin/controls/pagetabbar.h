#pragma once

#include <QTabBar>

namespace quorvel {

class SkinPageControl;

// Qt's tab bar, measuring tabs as the page control says and painting nothing: the page control
// paints the tabs under it.
class PageTabBar : public QTabBar {
public:
    explicit PageTabBar(SkinPageControl* owner);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent*) override { }

private:
    SkinPageControl* owner_;
};

} // namespace quorvel
