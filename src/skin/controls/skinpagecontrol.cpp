#include "skin/controls/skinpagecontrol.h"

#include "skin/controls/controlfont.h"
#include "skin/controls/pagecontrolstyle.h"
#include "skin/controls/pagetabbar.h"
#include "skin/controls/skintabsheet.h"
#include "skin/controls/skinupdown.h"
#include "skin/render/skinfont.h"
#include "skin/render/skinutils.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTabBar>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kTabPadding = 6; // blank on each side of a caption

} // namespace

SkinPageControl::SkinPageControl(QWidget* parent)
    : QTabWidget(parent), defaultFont_(DefaultControlFont()), controlFont_(DefaultControlFont())
{
    auto* bar = new PageTabBar(this);
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setElideMode(Qt::ElideNone);
    bar->setUsesScrollButtons(false); // the control shows its own scroll buttons
    bar->setMouseTracking(true);
    bar->setAttribute(Qt::WA_Hover, false); // the control tracks the hot tab and draws it
    bar->setFont(controlFont_);
    bar->setStyle(SharedPageControlStyle());
    setTabBar(bar);
    bar->installEventFilter(this);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setStyle(SharedPageControlStyle());
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint covers every pixel
    setMouseTracking(true);
    connect(this, &QTabWidget::currentChanged, this, &SkinPageControl::SelectionChanged);
    // Without a skin the tabs take the default item height (or the set tab height).
    tabHeight_ = defaultItemHeight_;
    RefreshTabBar();
}

SkinPageControl::~SkinPageControl()
{
    // The pages and the tab bar go after this object: nothing of theirs may reach it.
    tabBar()->removeEventFilter(this);
    disconnect(this, &QTabWidget::currentChanged, this, &SkinPageControl::SelectionChanged);
    if (scrollButtons_)
        disconnect(scrollButtons_, nullptr, this, nullptr);
}

SkinTabSheet* SkinPageControl::AddPage(const QString& caption)
{
    auto* page = new SkinTabSheet(caption);
    page->SetPageControl(this);
    addTab(page, caption);
    return page;
}

SkinTabSheet* SkinPageControl::Page(int index) const { return qobject_cast<SkinTabSheet*>(widget(index)); }

void SkinPageControl::SetActivePage(SkinTabSheet* page) { SetActivePageIndex(indexOf(page)); }

void SkinPageControl::SetActivePageIndex(int index)
{
    if (index >= 0 && index < count())
        setCurrentIndex(index);
}

void SkinPageControl::SetSkinData(SkinData* data)
{
    skinData_ = data;
    SkinData::FollowChanges(this, data, [this] { ApplySkin(); });
    // Without skin data the control takes its default look again.
    ApplySkin();
}

void SkinPageControl::SetUseSkinFont(bool use)
{
    useSkinFont_ = use;
    ApplySkin();
}

void SkinPageControl::SetDefaultItemHeight(int height)
{
    defaultItemHeight_ = height;
    if (!painter_.Skinned()) {
        tabHeight_ = tabHeightSetting_ > 0 ? tabHeightSetting_ : height;
        TabsChanged();
    }
}

void SkinPageControl::SetTabHeight(int height)
{
    tabHeightSetting_ = height;
    ApplySkin();
}

void SkinPageControl::SetTabWidth(int width)
{
    tabWidthSetting_ = width;
    TabsChanged();
}

void SkinPageControl::SetSkinDataName(const QString& name)
{
    skinDataName_ = name;
    sectionName_ = name.toStdString();
}

void SkinPageControl::ReadSkinSection()
{
    // Runs before every paint: the values are compared where they lie, and copied (pictures
    // decoded) only when they differ from the copy.
    if (!painter_.SetSection(skinData_, ReadTabSection(skinData_, sectionName_)))
        return;
    tabImages_.clear();
    InvalidateAll();
    for (int i = 0; i < count(); ++i)
        if (QWidget* page = widget(i))
            page->update();
}

void SkinPageControl::ApplySkin()
{
    ReadSkinSection();
    const TabSection& s = painter_.Section();
    if (!s.Found()) {
        controlFont_ = defaultFont_;
        tabHeight_ = tabHeightSetting_ > 0 ? tabHeightSetting_ : defaultItemHeight_;
    } else {
        controlFont_ = useSkinFont_ ? SkinFont(s.fontName, s.fontHeight, s.fontStyle) : defaultFont_;
        tabHeight_ = tabHeightSetting_ > 0 ? tabHeightSetting_ : s.tabRect.Height();
    }
    DropScrollButtons();
    TabsChanged();
    if (QWidget* page = currentWidget())
        page->update();
}

void SkinPageControl::TabsChanged()
{
    tabImages_.clear();
    tabSizes_.clear();
    RefreshTabBar();
    Relayout();
    UpdateScrollButtons();
    InvalidateAll();
}

void SkinPageControl::RefreshTabBar()
{
    // The tab bar measures its tabs again (through TabSizeFor) when its font changes.
    tabBar()->setFont(controlFont_);
    QEvent fontChange(QEvent::FontChange);
    QCoreApplication::sendEvent(tabBar(), &fontChange);
}

void SkinPageControl::Relayout()
{
    // The tab widget places its tab bar and pages where the style says: TabBarRect, PageArea.
    QEvent layout(QEvent::LayoutRequest);
    QTabWidget::event(&layout);
}

QSize SkinPageControl::TabSizeFor(int index) const
{
    // Asked for many times per paint and mouse move: captions are measured once.
    const QString text = tabText(index);
    const bool icon = !tabIcon(index).isNull();
    auto it = tabSizes_.find(index);
    if (it == tabSizes_.end() || it->second.first != text + QChar(icon ? 1 : 0)) {
        int w = tabWidthSetting_;
        if (w <= 0) {
            w = QFontMetrics(controlFont_).horizontalAdvance(text) + 2 * kTabPadding;
            if (icon)
                w += iconSize().width() + TabStripPainter::kIconGap;
        }
        it = tabSizes_.insert_or_assign(index, std::make_pair(text + QChar(icon ? 1 : 0), QSize(w, tabHeight_))).first;
    }
    const QSize s = it->second.second;
    return Horizontal() ? s : s.transposed();
}

QList<int> SkinPageControl::VisibleTabs() const
{
    QList<int> tabs;
    for (int i = 0; i < count(); ++i)
        if (tabBar()->isTabVisible(i))
            tabs.append(i);
    return tabs;
}

QRect SkinPageControl::TabBarRect() const
{
    const QList<int> tabs = VisibleTabs();
    int length = 0, offset = 0;
    for (int k = 0; k < tabs.size(); ++k) {
        const QSize s = TabSizeFor(tabs[k]);
        const int along = Horizontal() ? s.width() : s.height();
        if (k < firstShown_)
            offset += along;
        length += along;
    }
    length = std::max(length, 1);
    switch (tabPosition()) {
    case North:
        return QRect(-offset, 0, length, tabHeight_);
    case South:
        return QRect(-offset, height() - tabHeight_, length, tabHeight_);
    case West:
        return QRect(0, -offset, tabHeight_, length);
    case East:
        return QRect(width() - tabHeight_, -offset, tabHeight_, length);
    }
    return {};
}

TabGeometry SkinPageControl::Geometry() const
{
    TabGeometry g;
    g.position = tabPosition();
    g.W = width();
    g.H = height();
    g.depth = tabHeight_;
    const TabSection& s = painter_.Section();
    g.skinned = s.Found();
    g.skinWidth = s.skinRect.Width();
    g.skinHeight = s.skinRect.Height();
    g.clientRect = s.clientRect;
    return g;
}

QRect SkinPageControl::PageArea() const
{
    const QRect r = ToQRect(Geometry().PageArea());
    return r.isValid() ? r : QRect(r.topLeft(), QSize(0, 0));
}

QRect SkinPageControl::TabRect(int index) const
{
    if (index < 0 || index >= count() || !tabBar()->isTabVisible(index))
        return {};
    // Where the tab bar lies (or will lie, while the control is hidden) and the tab within it.
    const QRect flush = tabBar()->tabRect(index).translated(TabBarRect().topLeft());
    const TabGeometry g = Geometry();
    return ToQRect(g.TabRect(g.NativeTabRect(ToSkinRect(flush)), MultiLine()));
}

int SkinPageControl::TabAt(const QPoint& pos) const
{
    for (int i : VisibleTabs())
        if (TabRect(i).contains(pos))
            return i;
    return -1;
}

QRect SkinPageControl::TabImageRect(int index, const QSize& size) const
{
    return ToQRect(Geometry().TabImageRect(ToSkinRect(TabRect(index)), size.width(), size.height()));
}

QRect SkinPageControl::TabDrawnRect(int index) const
{
    const QRect r = TabRect(index);
    if (r.isEmpty())
        return r;
    // A tab's images may be larger than the tab: the selected one rises over the frame.
    QRect drawn = r;
    if (index == currentIndex())
        drawn |= TabImageRect(index, TabImage(index, false, true).size());
    else
        for (bool hot : {false, true})
            drawn |= TabImageRect(index, TabImage(index, hot, false).size());
    return drawn;
}

QImage SkinPageControl::TabImage(int index, bool hot, bool selected) const
{
    const TabStripPainter::Look look = TabStripPainter::LookOf(hot, selected, selected && hasFocus());
    const auto key = std::make_pair(index, static_cast<int>(look));
    if (auto it = tabImages_.find(key); it != tabImages_.end())
        return it->second;

    const QRect r = TabRect(index);
    const int w = Horizontal() ? r.width() : r.height(), h = Horizontal() ? r.height() : r.width();
    if (w <= 0 || h <= 0)
        return {};
    const TabStripPainter::Content content{tabText(index), tabIcon(index), iconSize(), isTabEnabled(index)};
    const TabStripPainter::Style style{controlFont_, tabPosition(), tabHeightSetting_ > 0, Colours()};
    QImage image = painter_.BuildTab(look, w, h, content, style);
    tabImages_[key] = image;
    return image;
}

TabStripPainter::Palette SkinPageControl::Colours() const
{
    const QPalette& p = palette();
    return {p.color(QPalette::Button), p.color(QPalette::Dark), p.color(QPalette::ButtonText)};
}

void SkinPageControl::DrawTabs(QPainter& p, const QRect& part) const
{
    const int selected = currentIndex();
    for (int i : VisibleTabs()) {
        const QImage image = TabImage(i, i == hotTab_, i == selected);
        const QRect at = TabImageRect(i, image.size());
        if (at.intersects(part))
            p.drawImage(at.topLeft(), image);
    }
}

void SkinPageControl::DrawPageBackground(QPainter& painter, const QRect& part, const QSize& pageSize)
{
    ReadSkinSection();
    if (pageSize.width() < 1 || pageSize.height() < 1)
        return;
    if (!painter_.Skinned() || painter_.PageTile().isNull())
        painter.fillRect(part, palette().color(QPalette::Button));
    else
        painter.fillRect(part, QBrush(painter_.PageTile())); // repeated from the page's top-left corner
}

void SkinPageControl::Invalidate(const QRect& part)
{
    outOfDate_ += part;
    update(part);
}

void SkinPageControl::InvalidateAll()
{
    backgroundValid_ = false;
    Invalidate(rect());
}

void SkinPageControl::InvalidateTab(int index)
{
    if (index >= 0 && index < count())
        Invalidate(TabDrawnRect(index));
}

void SkinPageControl::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    PaintPart(p, event->rect());
}

void SkinPageControl::PaintPart(QPainter& painter, const QRect& part)
{
    ReadSkinSection();
    if (tabPosition() != drawnPosition_) { // the tabs moved to another side
        drawnPosition_ = tabPosition();
        TabsChanged();
    }
    if (width() <= 0 || height() <= 0)
        return;
    if (image_.size() != size()) {
        image_ = QImage(size(), QImage::Format_RGB32);
        backgroundValid_ = false;
        outOfDate_ = rect();
    }
    if (!backgroundValid_) {
        background_ = QImage(size(), QImage::Format_RGB32);
        painter_.DrawBackground(background_, Geometry(), Colours());
        backgroundValid_ = true;
    }
    if (!outOfDate_.isEmpty()) {
        QPainter ip(&image_);
        for (const QRect& r : outOfDate_) {
            ip.setClipRect(r);
            ip.drawImage(r.topLeft(), background_, r);
            DrawTabs(ip, r);
        }
        outOfDate_ = QRegion();
    }
    painter.drawImage(part.topLeft(), image_, part);
}

void SkinPageControl::resizeEvent(QResizeEvent* event)
{
    QTabWidget::resizeEvent(event);
    ReadSkinSection();
    UpdateScrollButtons();
    InvalidateAll();
}

void SkinPageControl::SetHotTab(int index)
{
    if (index == hotTab_)
        return;
    prevHotTab_ = hotTab_;
    hotTab_ = index;
    // Only the two tabs concerned are drawn again; the selected one never looks hot.
    if (prevHotTab_ != currentIndex())
        InvalidateTab(prevHotTab_);
    if (hotTab_ != currentIndex())
        InvalidateTab(hotTab_);
}

void SkinPageControl::ClearHotTabs()
{
    const int previous = prevHotTab_, current = hotTab_;
    prevHotTab_ = hotTab_ = -1;
    for (int i : {previous, current})
        if (i != currentIndex())
            InvalidateTab(i);
}

void SkinPageControl::mouseMoveEvent(QMouseEvent* event)
{
    SetHotTab(TabAt(event->position().toPoint()));
    QTabWidget::mouseMoveEvent(event);
}

void SkinPageControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetHotTab(TabAt(event->position().toPoint()));
    QTabWidget::mousePressEvent(event);
}

void SkinPageControl::leaveEvent(QEvent* event)
{
    ClearHotTabs();
    QTabWidget::leaveEvent(event);
}

void SkinPageControl::changeEvent(QEvent* event)
{
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) {
        tabImages_.clear();
        InvalidateAll();
    }
}

bool SkinPageControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tabBar()) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (event->type() == QEvent::MouseMove || mouse->button() == Qt::LeftButton)
                SetHotTab(TabAt(tabBar()->mapTo(this, mouse->position().toPoint())));
            break;
        }
        case QEvent::Leave:
            ClearHotTabs();
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            InvalidateAll();
            break; // the selected tab's image may change size
        default:
            break;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void SkinPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    if (auto* page = Page(index)) // also a page added as a plain tab widget's page
        page->SetPageControl(this);
    TabsChanged();
}

void SkinPageControl::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    hotTab_ = prevHotTab_ = -1;
    TabsChanged();
}

void SkinPageControl::PageCaptionChanged(SkinTabSheet* page)
{
    const int index = indexOf(page);
    if (index < 0)
        return;
    setTabText(index, page->Caption());
    TabsChanged();
}

void SkinPageControl::SelectionChanged()
{
    EnsureSelectedShown();
    if (scrollButtons_)
        scrollButtons_->SetPosition(TabsOutAtLeft());
    emit changed();
    InvalidateAll();
}

} // namespace quorvel
