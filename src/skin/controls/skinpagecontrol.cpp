#include "skinpagecontrol.h"

#include "skintabsheet.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quorvel {
namespace {

constexpr int kTabPadding = 6; // blank on each side of a caption
constexpr int kFirstTabLeft = 2;

} // namespace

SkinPageControl::SkinPageControl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    defaultFont_ = QFont(QStringLiteral("宋体"));
    defaultFont_.setPixelSize(12);
    setFont(defaultFont_);
}

SkinTabSheet* SkinPageControl::AddPage(const QString& caption)
{
    auto* page = new SkinTabSheet(caption, this);
    pages_.append(page);
    if (active_ < 0)
        SetActivePageIndex(0);
    LayoutPages();
    update();
    return page;
}

void SkinPageControl::SetSkinData(SkinData* data)
{
    skinData_ = data;
    if (data)
        ApplySkin();
}

void SkinPageControl::ApplySkin()
{
    LayoutPages();
    update();
}

void SkinPageControl::SetActivePage(SkinTabSheet* page) { SetActivePageIndex(pages_.indexOf(page)); }

void SkinPageControl::SetActivePageIndex(int index)
{
    if (index < 0 || index >= pages_.size() || index == active_)
        return;
    SkinTabSheet* old = ActivePage();
    active_ = index;
    LayoutPages();
    // The new page shows before the old one hides, so the area never flashes empty.
    pages_[active_]->show();
    if (old)
        old->hide();
    emit changed();
    update();
}

void SkinPageControl::SetDefaultItemHeight(int height)
{
    defaultItemHeight_ = height;
    LayoutPages();
    update();
}

void SkinPageControl::SetTabHeight(int height)
{
    tabHeight_ = height;
    LayoutPages();
    update();
}

void SkinPageControl::SetDefaultFont(const QFont& font)
{
    defaultFont_ = font;
    setFont(font);
    update();
}

int SkinPageControl::TabHeight() const { return tabHeight_ > 0 ? tabHeight_ : defaultItemHeight_; }

QRect SkinPageControl::PageArea() const
{
    // The page area starts two pixels below the tab row and keeps one pixel for the frame
    // on the other three sides.
    return QRect(QPoint(1, TabHeight() + 2), QPoint(width() - 2, height() - 2));
}

QRect SkinPageControl::TabRect(int index) const
{
    if (index < 0 || index >= pages_.size())
        return {};
    const QFontMetrics fm(font());
    int x = kFirstTabLeft;
    for (int i = 0; i < index; ++i)
        x += fm.horizontalAdvance(pages_[i]->Caption()) + 2 * kTabPadding;
    const int w = fm.horizontalAdvance(pages_[index]->Caption()) + 2 * kTabPadding;
    QRect r(x, 0, w, TabHeight());
    if (index == active_)
        r.adjust(-2, 0, 2, 1); // the selected tab stands out and joins its page
    return r;
}

int SkinPageControl::TabAt(const QPoint& pos) const
{
    for (int i = 0; i < pages_.size(); ++i)
        if (TabRect(i).contains(pos))
            return i;
    return -1;
}

void SkinPageControl::LayoutPages()
{
    const QRect area = PageArea();
    for (SkinTabSheet* page : pages_)
        page->setGeometry(area.isValid() ? area : QRect(area.topLeft(), QSize(0, 0)));
}

void SkinPageControl::DrawTab(QPainter& p, int index, bool hot, bool selected) const
{
    const QRect r = TabRect(index);
    static const QColor hotFill(182, 189, 210), focusFill(133, 146, 181), navy(0, 0, 128);
    if (selected) {
        p.fillRect(r, hasFocus() ? focusFill : hotFill);
        p.setPen(navy);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        p.fillRect(r, hot ? hotFill : palette().color(QPalette::Button));
    }
    p.setPen(palette().color(QPalette::ButtonText));
    p.setFont(font());
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, pages_[index]->Caption());
}

void SkinPageControl::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(PageArea().adjusted(-1, -1, 0, 0));
    for (int i = 0; i < pages_.size(); ++i)
        DrawTab(p, i, i == hotTab_, i == active_);
}

void SkinPageControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPages();
}

void SkinPageControl::SetHotTab(int index)
{
    if (index == hotTab_)
        return;
    prevHotTab_ = hotTab_;
    hotTab_ = index;
    update(TabRect(prevHotTab_));
    update(TabRect(hotTab_));
}

void SkinPageControl::mouseMoveEvent(QMouseEvent* event)
{
    SetHotTab(TabAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void SkinPageControl::mousePressEvent(QMouseEvent* event)
{
    const int tab = TabAt(event->position().toPoint());
    SetHotTab(tab);
    if (event->button() == Qt::LeftButton && tab >= 0)
        SetActivePageIndex(tab);
    QWidget::mousePressEvent(event);
}

void SkinPageControl::leaveEvent(QEvent* event)
{
    prevHotTab_ = -1;
    const int old = hotTab_;
    hotTab_ = -1;
    update(TabRect(old));
    QWidget::leaveEvent(event);
}

void SkinPageControl::keyPressEvent(QKeyEvent* event)
{
    // Keys a page's controls leave unused come here too; only the control's own switch pages.
    if (!hasFocus())
        QWidget::keyPressEvent(event);
    else if (event->key() == Qt::Key_Right && active_ + 1 < pages_.size())
        SetActivePageIndex(active_ + 1);
    else if (event->key() == Qt::Key_Left && active_ > 0)
        SetActivePageIndex(active_ - 1);
    else
        QWidget::keyPressEvent(event);
}

void SkinPageControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void SkinPageControl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace quorvel
