#include "skin/controls/skinpagecontrol.h"

#include "skin/render/effectbmp.h"
#include "skin/controls/controlfont.h"
#include "skin/render/skinfont.h"
#include "skin/controls/skinpicturecache.h"
#include "skin/controls/skintabsheet.h"
#include "skin/controls/skinupdown.h"
#include "skin/render/skinutils.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStackedWidget>
#include <QTabBar>
#include <algorithm>

namespace quorvel {
namespace {

constexpr int kTabPadding = 6; // blank on each side of a caption
constexpr int kIconGap = 2;


enum Look { Normal, Hot, Selected, SelectedFocused };

// Qt's tab bar, measuring tabs as the page control says and painting nothing: the page control
// paints the tabs under it.
class PageTabBar : public QTabBar {
public:
    explicit PageTabBar(SkinPageControl* owner) : QTabBar(owner), owner_(owner) {}

protected:
    QSize tabSizeHint(int index) const override { return owner_->TabSizeFor(index); }
    QSize minimumTabSizeHint(int index) const override { return owner_->TabSizeFor(index); }
    void paintEvent(QPaintEvent*) override {}

private:
    SkinPageControl* owner_;
};

// Lets the page control answer where its tab bar and its pages go, and keeps its tabs at the
// start of the strip whatever the desktop's style prefers.
class PageControlStyle : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        if (const auto* control = qobject_cast<const SkinPageControl*>(widget)) {
            switch (element) {
            case SE_TabWidgetTabBar: return control->TabBarRect();
            case SE_TabWidgetTabContents: return control->PageArea();
            case SE_TabWidgetTabPane: return ToQRect(control->Geometry().FrameRect());
            case SE_TabWidgetLeftCorner:
            case SE_TabWidgetRightCorner: return {};
            default: break;
            }
        }
        return QProxyStyle::subElementRect(element, option, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_TabBar_Alignment)
            return Qt::AlignLeft;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// One style for every page control, living as long as the application.
QStyle* SharedPageControlStyle()
{
    static QPointer<PageControlStyle> style;
    if (!style) {
        style = new PageControlStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

// ---- Geometry ----

SkinRect TabGeometry::NativePageArea() const
{
    const int d = depth;
    switch (position) {
    case QTabWidget::North: return SkinRect{4, d + 7, W - 4, H - 4};
    case QTabWidget::South: return SkinRect{4, 6, W - 4, H - d - 5};
    case QTabWidget::West: return SkinRect{d + 5, 6, W - 4, H - 4};
    case QTabWidget::East: return SkinRect{4, 6, W - d - 5, H - 4};
    }
    return {};
}

SkinRect TabGeometry::PageArea() const
{
    const SkinRect n = NativePageArea();
    if (!skinned) {
        switch (position) {
        case QTabWidget::North: return SkinRect{1, n.top - 5, W - 1, H - 1};
        case QTabWidget::South: return SkinRect{1, 1, W - 1, n.bottom + 3};
        case QTabWidget::West: return SkinRect{n.left - 3, n.top - 5, W - 1, H - 1};
        case QTabWidget::East: return SkinRect{n.left - 3, n.top - 5, n.right + 3, H - 1};
        }
        return {};
    }
    const SkinRect& c = clientRect;
    const int right = skinWidth - c.right, bottom = skinHeight - c.bottom; // the frame's far edges
    switch (position) {
    case QTabWidget::North: return SkinRect{c.left, n.top + c.top - 6, W - right, H - bottom};
    case QTabWidget::South: return SkinRect{c.left, n.top + c.top - 6, W - right, n.bottom + 4 - bottom};
    case QTabWidget::West: return SkinRect{n.left + c.left - 4, n.top + c.top - 6, W - right, H - bottom};
    case QTabWidget::East: return SkinRect{c.left, n.top + c.top - 6, n.right + 4 - right, H - bottom};
    }
    return {};
}

SkinRect TabGeometry::FrameRect() const
{
    const SkinRect p = PageArea();
    if (!skinned)
        return SkinRect{p.left - 1, p.top - 1, p.right + 1, p.bottom + 1};
    const SkinRect& c = clientRect;
    return SkinRect{p.left - c.left, p.top - c.top, p.right + skinWidth - c.right, p.bottom + skinHeight - c.bottom};
}

SkinRect TabGeometry::StripRect() const
{
    const SkinRect f = FrameRect();
    switch (position) {
    case QTabWidget::North: return SkinRect{0, 0, W, f.top};
    case QTabWidget::South: return SkinRect{0, f.bottom, W, H};
    case QTabWidget::West: return SkinRect{0, 0, f.left, H};
    case QTabWidget::East: return SkinRect{f.right, 0, W, H};
    }
    return {};
}

SkinRect TabGeometry::NativeTabRect(const SkinRect& r) const
{
    auto moved = [&r](int dx, int dy) { return SkinRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; };
    switch (position) {
    case QTabWidget::North: return moved(2, 2);
    case QTabWidget::South: return moved(2, -2);
    case QTabWidget::West: return moved(2, 0);
    case QTabWidget::East: return moved(-2, 0);
    }
    return r;
}

SkinRect TabGeometry::TabRect(const SkinRect& native, bool multiLine) const
{
    SkinRect r = native;
    auto shiftX = [&r](int d) { r.left += d, r.right += d; };
    auto shiftY = [&r](int d) { r.top += d, r.bottom += d; };
    switch (position) {
    case QTabWidget::North:
        if (!multiLine)
            shiftX(-2);
        shiftY(-2);
        break;
    case QTabWidget::South:
        if (!multiLine)
            shiftX(-2);
        shiftY(2);
        break;
    case QTabWidget::West: shiftX(-2); break;
    case QTabWidget::East: shiftX(2); break;
    }
    return r;
}

bool SkinPageControl::TabSection::operator==(const TabSection& o) const
{
    return source == o.source && pictureBytes == o.pictureBytes && backgroundBytes == o.backgroundBytes &&
           skinRect == o.skinRect && clientRect == o.clientRect && leftTop == o.leftTop && rightTop == o.rightTop &&
           leftBottom == o.leftBottom && rightBottom == o.rightBottom && tabRect == o.tabRect &&
           activeTabRect == o.activeTabRect && focusTabRect == o.focusTabRect && mouseInTabRect == o.mouseInTabRect &&
           tabsBGRect == o.tabsBGRect && tabLeftOffset == o.tabLeftOffset && tabRightOffset == o.tabRightOffset &&
           fontName == o.fontName && fontHeight == o.fontHeight && fontStyle == o.fontStyle &&
           fontColor == o.fontColor && activeFontColor == o.activeFontColor && focusFontColor == o.focusFontColor &&
           mouseInFontColor == o.mouseInFontColor && upDown == o.upDown && bgPictureIndex == o.bgPictureIndex;
}

// ---- The control ----

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
    if (skinIndex_ < 0) {
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

namespace {

// The bytes a numbered picture is decoded from; none for no picture.
const char* PictureBytes(const SkinData& data, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= data.ActivePictures.size())
        return nullptr;
    const SkinBitmap& bitmap = data.ActivePictures[static_cast<std::size_t>(index)];
    return bitmap.Empty() ? nullptr : bitmap.Bytes().data();
}

} // namespace

void SkinPageControl::SetSkinDataName(const QString& name)
{
    skinDataName_ = name;
    sectionName_ = name.toStdString();
}

void SkinPageControl::ReadSkinSection()
{
    // Runs before every paint: the values are compared where they lie, and copied (pictures
    // decoded) only when they differ from the copy.
    const SkinData* data = skinData_;
    const int index = !data || data->Empty ? -1 : data->FindControlIndex(sectionName_);
    TabSection s;
    if (index >= 0)
        if (const auto* c = dynamic_cast<const DataSkinTabControl*>(data->SkinControls[static_cast<std::size_t>(index)].get())) {
            s.source = c;
            s.pictureBytes = PictureBytes(*data, c->pictureIndex);
            s.backgroundBytes = PictureBytes(*data, c->bgPictureIndex);
            s.skinRect = c->skinRect;
            s.clientRect = c->clientRect;
            s.leftTop = c->leftTopPoint;
            s.rightTop = c->rightTopPoint;
            s.leftBottom = c->leftBottomPoint;
            s.rightBottom = c->rightBottomPoint;
            s.tabRect = c->tabRect;
            s.activeTabRect = c->activeTabRect.IsEmpty() ? c->tabRect : c->activeTabRect;
            s.focusTabRect = c->focusTabRect.IsEmpty() ? c->activeTabRect : c->focusTabRect;
            s.mouseInTabRect = c->mouseInTabRect;
            s.tabLeftOffset = c->tabLeftOffset;
            s.tabRightOffset = c->tabRightOffset;
            s.tabsBGRect = c->tabsBGRect;
            s.fontName = c->fontName;
            s.fontHeight = c->fontHeight;
            s.fontStyle = c->fontStyle;
            s.fontColor = c->fontColor;
            s.activeFontColor = c->activeFontColor;
            s.focusFontColor = c->focusFontColor;
            s.mouseInFontColor = c->mouseInFontColor;
            s.upDown = c->upDown;
            s.bgPictureIndex = c->bgPictureIndex;
        }
    if (index == skinIndex_ && s == section_)
        return;
    if (const auto* c = static_cast<const DataSkinTabControl*>(s.source)) {
        s.picture = SkinPicture(data, c->pictureIndex);
        s.background = SkinPicture(data, c->bgPictureIndex);
        if (s.bgPictureIndex != -1)
            s.pageTile = s.background;
        else if (!s.picture.isNull() && !s.clientRect.IsEmpty())
            s.pageTile = s.picture.copy(s.skinRect.left + s.clientRect.left, s.skinRect.top + s.clientRect.top,
                                        s.clientRect.Width(), s.clientRect.Height());
    }
    skinIndex_ = index;
    section_ = std::move(s);
    tabImages_.clear();
    InvalidateAll();
    for (int i = 0; i < count(); ++i)
        if (QWidget* page = widget(i))
            page->update();
}

void SkinPageControl::ApplySkin()
{
    ReadSkinSection();
    if (skinIndex_ < 0) {
        controlFont_ = defaultFont_;
        tabHeight_ = tabHeightSetting_ > 0 ? tabHeightSetting_ : defaultItemHeight_;
    } else {
        controlFont_ = useSkinFont_ ? SkinFont(section_.fontName, section_.fontHeight, section_.fontStyle) : defaultFont_;
        tabHeight_ = tabHeightSetting_ > 0 ? tabHeightSetting_ : section_.tabRect.Height();
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
                w += iconSize().width() + kIconGap;
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
    case North: return QRect(-offset, 0, length, tabHeight_);
    case South: return QRect(-offset, height() - tabHeight_, length, tabHeight_);
    case West: return QRect(0, -offset, tabHeight_, length);
    case East: return QRect(width() - tabHeight_, -offset, tabHeight_, length);
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
    g.skinned = skinIndex_ >= 0;
    g.skinWidth = section_.skinRect.Width();
    g.skinHeight = section_.skinRect.Height();
    g.clientRect = section_.clientRect;
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
    const QRect r = TabRect(index);
    switch (tabPosition()) {
    case North:
    case West: return QRect(r.topLeft(), size);
    case South: return QRect(QPoint(r.left(), r.top() + r.height() - size.height()), size);
    case East: return QRect(QPoint(r.left() + r.width() - size.width(), r.top()), size);
    }
    return r;
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
    const bool focused = selected && hasFocus();
    const int look = selected ? (focused ? SelectedFocused : Selected) : (hot ? Hot : Normal);
    const auto key = std::make_pair(index, look);
    if (auto it = tabImages_.find(key); it != tabImages_.end())
        return it->second;

    const QRect r = TabRect(index);
    const int w = Horizontal() ? r.width() : r.height(), h = Horizontal() ? r.height() : r.width();
    if (w <= 0 || h <= 0)
        return {};
    QImage image;
    QColor text;
    if (skinIndex_ < 0) {
        image = QImage(w, h, QImage::Format_RGB32);
        static const QColor lit(182, 189, 210), focusFill(133, 146, 181), navy(0, 0, 128);
        image.fill(look == Normal ? palette().color(QPalette::Button) : look == SelectedFocused ? focusFill : lit);
        if (selected) {
            QPainter p(&image);
            DrawPixelRect(p, 0, 0, w, h, navy, false);
        }
        text = palette().color(QPalette::ButtonText);
    } else {
        const TabSection& s = section_;
        const bool mouseIn = look == Hot && !s.mouseInTabRect.IsEmpty();
        const SkinRect& from = mouseIn ? s.mouseInTabRect
                               : look == SelectedFocused ? s.focusTabRect
                               : !selected ? s.tabRect
                                           : s.activeTabRect;
        if (!from.IsEmpty())
            BuildHStrip(s.picture, from, s.tabLeftOffset, s.tabRightOffset, w, image);
        if (image.isNull()) { // no image in the skin: a blank tab
            image = QImage(w, h, QImage::Format_RGB32);
            image.fill(Qt::black);
        } else if (tabHeightSetting_ > 0 && image.height() != h) {
            image = image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        }
        const SkinColor colour = look == Hot ? s.mouseInFontColor
                                 : look == SelectedFocused ? s.focusFontColor
                                 : look == Normal ? s.fontColor
                                                  : s.activeFontColor;
        text = SkinColorToQColor(colour);
        if (tabPosition() == South) { // the image upside down, its caption upright
            const EffectBmp source(image);
            EffectBmp flipped(0, 0);
            source.Flip(flipped);
            image = flipped.Image().convertToFormat(QImage::Format_RGB32);
        }
    }
    {
        QPainter p(&image);
        p.setFont(controlFont_);
        p.setPen(text);
        const QString caption = tabText(index);
        const QIcon icon = tabIcon(index);
        const QRect area(0, 0, image.width(), image.height());
        if (icon.isNull()) {
            p.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, caption);
        } else {
            const QSize is = iconSize();
            const int textWidth = p.fontMetrics().horizontalAdvance(caption) + 2;
            const int left = (area.width() - (is.width() + kIconGap + textWidth)) / 2;
            const QPixmap pixmap = icon.pixmap(is, isTabEnabled(index) ? QIcon::Normal : QIcon::Disabled);
            p.drawPixmap(left, (area.height() - is.height()) / 2, pixmap);
            p.drawText(QRect(left + is.width() + kIconGap, 0, textWidth, area.height()),
                       Qt::AlignCenter | Qt::TextSingleLine, caption);
        }
    }
    if (tabPosition() == West || tabPosition() == East) { // turned with its caption
        const EffectBmp source(image);
        EffectBmp turned(0, 0);
        if (tabPosition() == West)
            source.TurnLeft(turned);
        else
            source.TurnRight(turned);
        image = turned.Image().convertToFormat(QImage::Format_RGB32);
    }
    tabImages_[key] = image;
    return image;
}

void SkinPageControl::DrawBackground(QImage& image) const
{
    const TabGeometry g = Geometry();
    if (skinIndex_ < 0) {
        image.fill(palette().color(QPalette::Button));
        QPainter p(&image);
        const SkinRect f = g.FrameRect();
        DrawPixelRect(p, f.left, f.top, f.right, f.bottom, palette().color(QPalette::Dark), false);
        return;
    }
    image.fill(Qt::black);
    const TabSection& s = section_;
    if (s.picture.isNull())
        return;
    QPainter p(&image);
    if (!s.tabsBGRect.IsEmpty())
        TileArea(p, s.picture, s.tabsBGRect, g.StripRect());
    // The frame, from the section's edges and corners, around the page area.
    const SkinRect f = g.FrameRect();
    const SkinRect& S = s.skinRect;
    const SkinRect& c = s.clientRect;
    const int W0 = S.Width(), H0 = S.Height(), dW = f.Width() - W0, dH = f.Height() - H0;
    const SkinPoint &lt = s.leftTop, &rt = s.rightTop, &lb = s.leftBottom, &rb = s.rightBottom;
    auto src = [&S](int l, int t, int r, int b) { return SkinRect{S.left + l, S.top + t, S.left + r, S.top + b}; };
    p.translate(f.left, f.top);
    TileX(p, s.picture, src(lt.x, 0, rt.x, c.top), lt.x, rt.x + dW, 0, c.top);
    TileX(p, s.picture, src(lb.x, c.bottom, rb.x, H0), lb.x, rb.x + dW, f.Height() - (H0 - c.bottom), f.Height());
    TileY(p, s.picture, src(0, lt.y, c.left, lb.y), lt.y, lb.y + dH, 0, c.left);
    TileY(p, s.picture, src(c.right, rt.y, W0, rb.y), rt.y, rb.y + dH, f.Width() - (W0 - c.right), f.Width());
    CopyPart(p, s.picture, src(0, 0, lt.x, lt.y), SkinRect{0, 0, lt.x, lt.y});
    CopyPart(p, s.picture, src(rt.x, 0, W0, rt.y), SkinRect{rt.x + dW, 0, W0 + dW, rt.y});
    CopyPart(p, s.picture, src(0, lb.y, lb.x, H0), SkinRect{0, lb.y + dH, lb.x, H0 + dH});
    CopyPart(p, s.picture, src(rb.x, rb.y, W0, H0), SkinRect{rb.x + dW, rb.y + dH, W0 + dW, H0 + dH});
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
    if (skinIndex_ < 0 || section_.pageTile.isNull())
        painter.fillRect(part, palette().color(QPalette::Button));
    else
        painter.fillRect(part, QBrush(section_.pageTile)); // repeated from the page's top-left corner
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
        DrawBackground(background_);
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
        case QEvent::Leave: ClearHotTabs(); break;
        case QEvent::FocusIn:
        case QEvent::FocusOut: InvalidateAll(); break; // the selected tab's image may change size
        default: break;
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

// ---- Scroll buttons ----

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
        scrollButtons_->SetSkinDataName(QString::fromStdString(section_.upDown));
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
