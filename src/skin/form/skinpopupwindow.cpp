#include "skin/form/skinpopupwindow.h"

#include "skin/data/dataskinobjects.h"
#include "skin/render/effectbmp.h"
#include "skin/form/popupgeometry.h"
#include "skin/data/skindata.h"
#include "skin/render/skinfont.h"
#include "skin/form/skinmenu.h"
#include "skin/render/skinutils.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>

namespace quorvel {
namespace {


bool Contains(const SkinRect& r, const QPoint& p) { return PointHitsRect(p.x(), p.y(), r); }

// The caption glyph an item of the frame's menus shows at its left, by the item's name.
bool NamedGlyph(const std::string& name, CaptionGlyph& glyph)
{
    if (name == "SF_CLOSE" || name == "TRAY_SF_CLOSE")
        glyph = CaptionGlyph::Close;
    else if (name == "SF_MINITEM")
        glyph = CaptionGlyph::Minimize;
    else if (name == "SF_MAXITEM")
        glyph = CaptionGlyph::Maximize;
    else if (name == "SF_RESTORE" || name == "TRAY_SF_RESTORE")
        glyph = CaptionGlyph::Restore;
    else if (name == "SF_ROLLUP")
        glyph = CaptionGlyph::RollUp;
    else if (name == "SF_MINTOTRAY")
        glyph = CaptionGlyph::ToTray;
    else
        return false;
    return true;
}

bool IsRadio(const QAction* action)
{
    return action->actionGroup() && action->actionGroup()->exclusionPolicy() != QActionGroup::ExclusionPolicy::None;
}

} // namespace

SkinPopupWindow::SkinPopupWindow(SkinMenu& engine, int level)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus),
      Engine(engine), Level(level)
{
    // A menu never takes the activation from the window it belongs to.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("SkinPopupWindow"));

    if (const SkinData* skin = Engine.Skin()) {
        if (skin->PopupWindow.windowPictureIndex != -1) {
            PopupData = &skin->PopupWindow;
            WindowPicture = Engine.Pictures().Numbered(PopupData->windowPictureIndex);
            MaskPicture = Engine.Pictures().Numbered(PopupData->maskPictureIndex);
        }
        for (const auto& o : skin->SkinObjects)
            if (const auto* section = dynamic_cast<const DataSkinMenuItem*>(o.get())) {
                ItemSection = section;
                ItemStatePicture = Engine.Pictures().Numbered(section->activePictureIndex);
                break;
            }
    }
    PopupMouseTimer = new QTimer(this);
    PopupMouseTimer->setInterval(50);
    connect(PopupMouseTimer, &QTimer::timeout, this, &SkinPopupWindow::MouseTick);
    ItemMorphTimer = new QTimer(this);
    ItemMorphTimer->setInterval(20);
    connect(ItemMorphTimer, &QTimer::timeout, this, &SkinPopupWindow::MorphTick);
    ScrollTimer = new QTimer(this);
    ScrollTimer->setInterval(100);
    connect(ScrollTimer, &QTimer::timeout, this, [this] { ScrollStep(false); });
}

SkinPopupWindow::~SkinPopupWindow() = default;

// ---------------------------------------------------------------------------------------------
// Opening and geometry

void SkinPopupWindow::Open(QMenu* menu, const QRect& anchor, bool openUpwards, bool submenu, int firstIndex)
{
    Menu = menu;
    if (Engine.UseSkinFont && ItemSection)
        Font = SkinFont(ItemSection->fontName, ItemSection->fontHeight, ItemSection->fontStyle);
    else
        Font = Engine.DefaultItemFont;
    const QList<QAction*> actions = menu->actions();
    bool images = false;
    for (qsizetype i = firstIndex; i < actions.size(); ++i) {
        if (!actions[i]->isVisible())
            continue;
        // Its action brings itself up to date first.
        actions[i]->activate(QAction::Hover);
        Items.push_back(std::make_unique<SkinMenuItem>(*this, actions[i]));
        images = images || !actions[i]->icon().isNull();
    }
    GlyphColumn = images ? 16 + 5 : 19;

    QSize size = ComputeSize();
    Scrolling = false;
    FirstVisible = 0;
    VisibleCount = static_cast<int>(Items.size());
    const QRect area = Engine.MenuWorkArea;
    if (!area.isEmpty() && size.height() > area.height()) {
        size.setHeight(area.height());
        Scrolling = true;
    }
    resize(size);
    PlaceItems();
    if (!MaskPicture.isNull() && PopupData) {
        const PieceGeometry g = Pieces(MaskPicture);
        if (const auto region = BuildMaskedRegion(MaskPicture, g))
            setMask(*region);
    }
    const auto placement = popupgeometry::Position(size, anchor, area, submenu, openUpwards, Scrolling, ItemsArea.top);
    move(placement.position);
    if (Engine.AlphaBlend)
        setWindowOpacity(Engine.AlphaBlendValue / 255.0);
    show();
    raise();
    PopupMouseTimer->start();
    HotItem = -1;
    // The first item that can be chosen is selected at once, as by the keyboard.
    const int first = FindSelectable(0, static_cast<int>(Items.size()), 1);
    if (first != -1)
        SelectItem(first, true);
}

int SkinPopupWindow::ItemHeight(const SkinMenuItem& item) const
{
    if (ItemSection)
        return item.IsSeparator() ? ItemSection->dividerRect.Height() : ItemSection->skinRect.Height();
    return item.IsSeparator() ? 4 : Engine.DefaultItemHeight;
}

int SkinPopupWindow::ItemTextWidth(const SkinMenuItem& item) const
{
    QString text = item.Caption();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const QString shortcut = item.ShortcutText();
    if (!shortcut.isEmpty())
        text += QStringLiteral("  ") + shortcut;
    return QFontMetrics(Font).horizontalAdvance(text) + 2;
}

QSize SkinPopupWindow::ComputeSize() const
{
    int widest = 0, height = 0;
    for (const auto& item : Items) {
        if (!item->IsSeparator())
            widest = std::max(widest, ItemTextWidth(*item));
        height += ItemHeight(*item);
    }
    int width = widest + GlyphColumn + 19;
    if (PopupData && ItemSection) {
        const SkinRect& I = PopupData->itemsRect;
        width += WindowPicture.width() - I.Width() + ItemSection->textRect.left + ItemSection->skinRect.Width() -
                 ItemSection->textRect.right;
        height += WindowPicture.height() - I.Height();
    } else if (PopupData) {
        width += WindowPicture.width() - PopupData->itemsRect.Width();
        height += WindowPicture.height() - PopupData->itemsRect.Height();
    } else {
        width += 10;
        height += 4;
    }
    return QSize(width, height);
}

std::vector<int> SkinPopupWindow::Heights() const
{
    std::vector<int> heights;
    heights.reserve(Items.size());
    for (const auto& item : Items)
        heights.push_back(ItemHeight(*item));
    return heights;
}

void SkinPopupWindow::PlaceItems()
{
    ItemsArea = popupgeometry::ItemsArea(PopupData != nullptr, PopupData ? PopupData->itemsRect : SkinRect{},
                                         WindowPicture.width(), WindowPicture.height(), width(), height());
    const auto places = popupgeometry::PlaceItems(Heights(), ItemsArea, FirstVisible, Scrolling);
    VisibleCount = places.visibleCount;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        SkinMenuItem& item = *Items[i];
        item.Rect = places.rects[i];
        item.Visible = places.visible[i];
        if (!item.Visible) {
            // An item out of sight keeps no hover, open or morph state.
            item.Hot = item.Open = item.KeyboardSelected = false;
            item.MorphAmount = 0;
        }
    }
}

bool SkinPopupWindow::LastItemShown() const { return Items.empty() || Items.back()->Visible; }

SkinRect SkinPopupWindow::TopMarker() const
{
    if (!PopupData)
        return SkinRect{3, 3, width() - 3, 13};
    return SkinRect{ItemsArea.left, ItemsArea.top, ItemsArea.right, ItemsArea.top + 10};
}

SkinRect SkinPopupWindow::BottomMarker() const
{
    if (!PopupData)
        return SkinRect{3, height() - 10, width() - 3, height() - 3};
    return SkinRect{ItemsArea.left, ItemsArea.bottom - 10, ItemsArea.right, ItemsArea.bottom};
}

PieceGeometry SkinPopupWindow::Pieces(const QImage& picture) const
{
    // The popup picture's (or its mask's) parts, and where they go at the popup's size.
    PieceGeometry g;
    g.picture = picture;
    g.S = SkinRect{0, 0, picture.width(), picture.height()};
    g.LT = PopupData->leftTopPoint;
    g.RT = PopupData->rightTopPoint;
    g.LB = PopupData->leftBottomPoint;
    g.RB = PopupData->rightBottomPoint;
    g.C = PopupData->itemsRect;
    g.leftStretch = PopupData->leftStretch;
    g.rightStretch = PopupData->rightStretch;
    g.topStretch = PopupData->topStretch;
    g.bottomStretch = PopupData->bottomStretch;
    g.DeriveTarget(width(), height());
    return g;
}

// ---------------------------------------------------------------------------------------------
// Item states

void SkinPopupWindow::RedrawItem(int index)
{
    if (index < 0 || index >= static_cast<int>(Items.size()))
        return;
    if (ItemSection && ItemSection->morphing)
        ItemMorphTimer->start();
    update(ToQRect(Items[static_cast<std::size_t>(index)]->Rect));
}

void SkinPopupWindow::SelectItem(int index, bool keyboard)
{
    if (index < 0 || index >= static_cast<int>(Items.size()))
        return;
    SkinMenuItem& item = *Items[static_cast<std::size_t>(index)];
    const bool wasKeyboard = item.KeyboardSelected;
    item.Hot = true;
    item.KeyboardSelected = keyboard;
    HotItem = index;
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (static_cast<int>(i) != index && Items[i]->Open) {
            Items[i]->Open = false;
            RedrawItem(static_cast<int>(i));
        }
    if (wasKeyboard && !keyboard) {
        RedrawItem(index);
        return;
    }
    if (item.Open) {
        Engine.ClosePopupsFrom(Level + 2);
        if (Level + 1 < static_cast<int>(Engine.PopupStack.size()))
            for (auto& sub : Engine.PopupStack[static_cast<std::size_t>(Level + 1)]->Items)
                sub->Open = false;
        return;
    }
    RedrawItem(index);
    Engine.ItemSelected(*this, item, keyboard);
}

void SkinPopupWindow::DeselectItem(int index)
{
    if (index < 0 || index >= static_cast<int>(Items.size()))
        return;
    SkinMenuItem& item = *Items[static_cast<std::size_t>(index)];
    item.Hot = false;
    item.KeyboardSelected = false;
    if (!item.Open)
        RedrawItem(index);
    Engine.ItemDeselected(item);
}

void SkinPopupWindow::ClickItem(int index)
{
    if (index < 0 || index >= static_cast<int>(Items.size()))
        return;
    SkinMenuItem& item = *Items[static_cast<std::size_t>(index)];
    item.KeyboardSelected = false;
    if (item.Open || !item.IsEnabled() || item.IsSeparator())
        return;
    if (!item.HasChildren()) {
        Engine.RunCommand(item);
        return;
    }
    Engine.SubmenuTimer->stop();
    item.Open = true;
    RedrawItem(index);
    Engine.OpenSubmenu(*this, item);
}

// ---------------------------------------------------------------------------------------------
// Pointer

void SkinPopupWindow::MouseTick()
{
    const QPoint cursor = QCursor::pos();
    if (cursor == lastCursor_)
        return;
    lastCursor_ = cursor;
    if (QGuiApplication::topLevelAt(cursor) == windowHandle()) {
        HoverTest(mapFromGlobal(cursor));
    } else if (ScrollTimer->isActive()) {
        ScrollTimer->stop();
        ScrollDirection = 0;
        hoveredMarker_ = 0;
        update();
    }
}

void SkinPopupWindow::HoverTest(const QPoint& p)
{
    if (Scrolling) {
        int marker = 0;
        if (Contains(TopMarker(), p) && FirstVisible > 0)
            marker = 1;
        else if (Contains(BottomMarker(), p) && !LastItemShown())
            marker = 2;
        if (marker != 0 && marker != ScrollDirection) {
            ScrollDirection = marker;
            hoveredMarker_ = marker;
            Engine.ClosePopupsFrom(Level + 1);
            ScrollTimer->start();
            update();
        } else if (marker == 0 && ScrollTimer->isActive()) {
            ScrollTimer->stop();
            ScrollDirection = 0;
            hoveredMarker_ = 0;
            update();
        }
    }
    int now = HotItem;
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i]->Visible && Contains(Items[i]->Rect, p)) {
            now = static_cast<int>(i);
            break;
        }
    if (now == -1)
        return;
    SkinMenuItem& item = *Items[static_cast<std::size_t>(now)];
    if (now == HotItem) {
        if (item.KeyboardSelected) {
            item.KeyboardSelected = false;
            if (item.HasChildren())
                SelectItem(now, false);
        }
        return;
    }
    PrevHotItem = HotItem;
    if (PrevHotItem != -1) {
        const SkinMenuItem& old = *Items[static_cast<std::size_t>(PrevHotItem)];
        if (old.IsEnabled() && !old.IsSeparator())
            DeselectItem(PrevHotItem);
    }
    HotItem = now;
    if (item.IsEnabled() && !item.IsSeparator())
        SelectItem(now, false);
}

void SkinPopupWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    HoverTest(p);
    for (const auto& item : Items)
        if (item->Visible && Contains(item->Rect, p)) {
            if (HotItem != -1 && !Items[static_cast<std::size_t>(HotItem)]->IsSeparator())
                ClickItem(HotItem);
            return;
        }
}

// ---------------------------------------------------------------------------------------------
// Scrolling and keys

void SkinPopupWindow::ScrollStep(bool wrap)
{
    const auto heights = Heights();
    const int available = ItemsArea.Height() - 20;
    if (ScrollDirection == 1) {
        if (FirstVisible > 0)
            --FirstVisible;
        else if (wrap)
            FirstVisible = popupgeometry::LastPageStart(heights, available);
        else {
            ScrollTimer->stop();
            return;
        }
    } else if (ScrollDirection == 2) {
        if (!LastItemShown())
            ++FirstVisible;
        else if (wrap)
            FirstVisible = 0;
        else {
            ScrollTimer->stop();
            return;
        }
    }
    PlaceItems();
    update();
}

int SkinPopupWindow::FindSelectable(int from, int to, int step) const
{
    for (int i = from; i != to; i += step) {
        const SkinMenuItem& item = *Items[static_cast<std::size_t>(i)];
        if (item.IsEnabled() && !item.IsSeparator())
            return i;
    }
    return -1;
}

bool SkinPopupWindow::KeyDown(int key, const QString& text)
{
    const int n = static_cast<int>(Items.size());
    // An accelerator chooses its item at once.
    if (!text.isEmpty() && text[0].isPrint()) {
        const QChar letter = text[0].toUpper();
        for (int i = 0; i < n; ++i) {
            if (Items[static_cast<std::size_t>(i)]->Accelerator() != letter)
                continue;
            if (HotItem != -1 && HotItem != i)
                DeselectItem(HotItem);
            SelectItem(i, false);
            ClickItem(i);
            return true;
        }
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: ClickItem(HotItem); return true;
    case Qt::Key_Left:
        if (Engine.PopupStack.size() < 2)
            return false;
        [[fallthrough]];
    case Qt::Key_Escape: {
        SkinMenu& engine = Engine;
        const int level = Level;
        engine.ClosePopupsFrom(level);
        if (level > 0) {
            SkinPopupWindow& below = *engine.PopupStack[static_cast<std::size_t>(level - 1)];
            if (below.HotItem != -1) {
                below.Items[static_cast<std::size_t>(below.HotItem)]->Open = false;
                below.RedrawItem(below.HotItem);
            }
        }
        return true;
    }
    case Qt::Key_Down:
    case Qt::Key_Up: {
        if (n == 0)
            return true;
        const bool down = key == Qt::Key_Down;
        int found = -1;
        if (down) {
            const int start = HotItem == -1 || HotItem == n - 1 ? 0 : HotItem + 1;
            found = FindSelectable(start, n, 1);
        } else {
            const int start = HotItem == -1 || HotItem == 0 ? n - 1 : HotItem - 1;
            found = FindSelectable(start, -1, -1);
        }
        if (found == -1)
            return true;
        if (Scrolling) {
            // Keep the chosen item in sight, turning over at either end.
            ScrollDirection = down ? 2 : 1;
            while (!Items[static_cast<std::size_t>(found)]->Visible) {
                const int before = FirstVisible;
                ScrollStep(true);
                if (FirstVisible == before)
                    break;
            }
            ScrollDirection = 0;
        }
        if (HotItem != -1)
            DeselectItem(HotItem);
        SelectItem(found, true);
        return true;
    }
    case Qt::Key_Right:
        if (HotItem != -1 && Items[static_cast<std::size_t>(HotItem)]->HasChildren())
            ClickItem(HotItem);
        return true;
    default: return false;
    }
}

void SkinPopupWindow::MorphTick()
{
    bool moved = false;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        SkinMenuItem& item = *Items[i];
        if (!item.Visible || !item.MorphPending())
            continue;
        item.MorphAmount = std::clamp(item.MorphAmount + ((item.Hot || item.Open) ? 0.2 : -0.2), 0.0, 1.0);
        if (item.MorphAmount > 0.999)
            item.MorphAmount = 1;
        else if (item.MorphAmount < 0.001)
            item.MorphAmount = 0;
        update(ToQRect(item.Rect));
        moved = true;
    }
    if (!moved)
        ItemMorphTimer->stop();
}

// ---------------------------------------------------------------------------------------------
// Drawing

void SkinPopupWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

QImage SkinPopupWindow::Render() const
{
    const int W = width(), H = height();
    const qreal ratio = devicePixelRatioF();
    QImage background(W, H, QImage::Format_RGB32);
    const QPalette palette;
    if (PopupData && !WindowPicture.isNull()) {
        BuildNinePieceImage(Pieces(WindowPicture), Scrolling, background);
    } else {
        background.fill(palette.color(QPalette::Base));
        QPainter p(&background);
        p.fillRect(0, 0, GlyphColumn + 2, H, palette.color(QPalette::Button));
        DrawPixelRect(p, 0, 0, W, H, palette.color(QPalette::Dark), false);
        DrawPixelRect(p, 1, 1, W - 1, H - 1, palette.color(QPalette::Base), false);
    }
    QImage image = background;
    if (ratio > 1.0) {
        image = background.scaled(qRound(W * ratio), qRound(H * ratio), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        image.setDevicePixelRatio(ratio);
    }
    QPainter painter(&image);
    painter.setFont(Font);
    for (const auto& item : Items)
        if (item->Visible)
            DrawItem(painter, *item);
    if (Scrolling)
        DrawMarkers(painter);
    return image;
}

void SkinPopupWindow::DrawMarkers(QPainter& painter) const
{
    const QPalette palette;
    const SkinRect top = TopMarker(), bottom = BottomMarker();
    auto colour = [&](int marker) {
        if (PopupData)
            return SkinColorToQColor(hoveredMarker_ == marker ? PopupData->scrollMarkerActiveColor
                                                              : PopupData->scrollMarkerColor);
        return palette.color(hoveredMarker_ == marker ? QPalette::ButtonText : QPalette::Dark);
    };
    DrawArrow(painter, top, colour(1), ArrowDirection::Up);
    DrawArrow(painter, bottom, colour(2), ArrowDirection::Down);
}

void SkinPopupWindow::DrawLook(QPainter& painter, const SkinMenuItem& item, bool hot, const QColor& colour) const
{
    const int w = item.Rect.Width();
    QImage strip;
    BuildHStrip(ItemStatePicture, hot ? ItemSection->activeSkinRect : ItemSection->skinRect,
                ItemSection->itemLeftOffset, ItemSection->itemRightOffset, w, strip);
    if (!strip.isNull())
        painter.drawImage(0, 0, strip);
    SkinRect text = ItemSection->textRect;
    text.right += w - ItemSection->skinRect.Width();
    DrawItemContents(painter, item, text, GlyphColumn == 19 ? 16 : GlyphColumn, colour);
}

void SkinPopupWindow::DrawItem(QPainter& painter, const SkinMenuItem& item) const
{
    const int w = item.Rect.Width(), h = item.Rect.Height();
    painter.save();
    painter.translate(item.Rect.left, item.Rect.top);
    painter.setClipRect(0, 0, w, h);
    const QPalette palette;
    if (ItemSection) {
        const DataSkinMenuItem& s = *ItemSection;
        if (item.IsSeparator()) {
            QImage strip;
            BuildHStrip(ItemStatePicture, s.dividerRect, s.dividerLeftOffset, s.dividerRightOffset, w, strip);
            if (!strip.isNull())
                painter.drawImage(0, 0, strip);
        } else {
            const bool lit = item.Hot || item.Open;
            const QColor colour = SkinColorToQColor(lit ? s.activeFontColor
                                                        : (item.IsEnabled() ? s.fontColor : s.unenabledFontColor));
            if (s.morphing && item.MorphPending()) {
                QImage a(w, h, QImage::Format_RGB32), b(w, h, QImage::Format_RGB32);
                a.fill(Qt::black);
                b.fill(Qt::black);
                {
                    QPainter pa(&a), pb(&b);
                    pa.setFont(Font);
                    pb.setFont(Font);
                    DrawLook(pa, item, false,
                             SkinColorToQColor(item.IsEnabled() ? s.fontColor : s.unenabledFontColor));
                    DrawLook(pb, item, true, SkinColorToQColor(s.activeFontColor));
                }
                EffectBmp blend(a);
                blend.Morph(s.morphKind, EffectBmp(b), item.MorphAmount);
                blend.Draw(painter, 0, 0);
            } else {
                DrawLook(painter, item, lit, colour);
            }
        }
    } else {
        const int g = GlyphColumn;
        if (item.IsSeparator()) {
            painter.fillRect(0, 0, g, h, palette.color(QPalette::Button));
            painter.fillRect(g, 0, w - g, h, palette.color(QPalette::Base));
            DrawPixelLine(painter, g, h / 2, w, h / 2, palette.color(QPalette::Dark));
        } else {
            QColor colour = palette.color(item.IsEnabled() ? QPalette::WindowText : QPalette::Dark);
            if (item.Hot || item.Open) {
                painter.fillRect(0, 0, w, h, QColor(0, 0, 128));
                painter.fillRect(1, 1, w - 2, h - 2, QColor(182, 189, 210));
                colour = palette.color(QPalette::WindowText);
            } else {
                painter.fillRect(0, 0, g, h, palette.color(QPalette::Button));
                painter.fillRect(g, 0, w - g, h, palette.color(QPalette::Base));
            }
            DrawItemContents(painter, item, SkinRect{2, 2, w - 2, h - 2}, g, colour);
        }
    }
    painter.restore();
}

void SkinPopupWindow::DrawItemContents(QPainter& painter, const SkinMenuItem& item, const SkinRect& T, int g,
                                       const QColor& colour) const
{
    const bool skinned = ItemSection != nullptr;
    const int rightGap = skinned ? 16 : 19;
    const QFontMetrics metrics(Font, painter.device());
    painter.setPen(colour);
    const QRect text(T.left + g, T.top, T.right - rightGap - (T.left + g), T.Height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine,
                     item.Caption());
    const QString shortcut = item.ShortcutText();
    if (!shortcut.isEmpty()) {
        const QRect right(T.left, T.top, T.right - rightGap - T.left, T.Height());
        painter.drawText(right, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, shortcut);
    }
    const int centre = T.top + T.Height() / 2;
    if (item.HasChildren()) {
        const int x = T.right - 7, y = centre - 4;
        for (int i = 0; i <= 3; ++i)
            DrawPixelLine(painter, x + i, y + i, x + i, y + 7 - i, colour);
    }
    const int gx = skinned ? T.left + 2 : T.left;
    const QIcon icon = item.Action->icon();
    if (!icon.isNull() && GlyphColumn != 19) {
        const QImage image = icon.pixmap(16, 16, item.IsEnabled() ? QIcon::Normal : QIcon::Disabled).toImage();
        const int iy = centre - image.height() / 2;
        painter.drawImage(gx, iy, image);
        if (item.Action->isChecked())
            DrawPixelRect(painter, gx - 1, iy - 1, gx + image.width() + 1, iy + image.height() + 1, colour, false);
        return;
    }
    CaptionGlyph glyph;
    if (NamedGlyph(item.Name(), glyph)) {
        DrawCaptionGlyph(painter, T.left + 2, centre - 4, colour, glyph);
    } else if (item.Action->isChecked()) {
        const int shift = skinned ? 0 : 1;
        if (IsRadio(item.Action)) {
            painter.save();
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(T.left + 2 + shift, centre - 3, 6, 6);
            painter.restore();
        } else {
            DrawCheckMark(painter, T.left + 2 + shift, centre - 4, colour);
        }
    }
}

} // namespace quorvel
