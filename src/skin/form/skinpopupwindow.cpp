#include "skin/form/skinpopupwindow.h"

#include "skin/data/dataskinobjects.h"
#include "skin/data/skindata.h"
#include "skin/form/popupgeometry.h"
#include "skin/form/skinmenu.h"
#include "skin/render/effectbmp.h"
#include "skin/render/skinfont.h"
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
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
                           Qt::WindowDoesNotAcceptFocus),
      Engine(engine), Level(level), model_(*this, level)
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
    if (ItemSection)
        model_.SetItemHeights(ItemSection->skinRect.Height(), ItemSection->dividerRect.Height());
    else
        model_.SetItemHeights(Engine.DefaultItemHeight, 4);
    PopupMouseTimer = new QTimer(this);
    PopupMouseTimer->setInterval(50);
    connect(PopupMouseTimer, &QTimer::timeout, this, &SkinPopupWindow::MouseTick);
    ItemMorphTimer = new QTimer(this);
    ItemMorphTimer->setInterval(20);
    connect(ItemMorphTimer, &QTimer::timeout, this, &SkinPopupWindow::MorphTick);
    ScrollTimer = new QTimer(this);
    ScrollTimer->setInterval(100);
    connect(ScrollTimer, &QTimer::timeout, this, [this] { model_.ScrollStep(false); });
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
        model_.AddItem(actions[i]);
        images = images || !actions[i]->icon().isNull();
    }
    GlyphColumn = images ? 16 + 5 : 19;

    QSize size = ComputeSize();
    bool scrolling = false;
    const QRect area = Engine.MenuWorkArea;
    if (!area.isEmpty() && size.height() > area.height()) {
        size.setHeight(area.height());
        scrolling = true;
    }
    resize(size);
    const SkinRect itemsArea =
        popupgeometry::ItemsArea(PopupData != nullptr, PopupData ? PopupData->itemsRect : SkinRect{},
                                 WindowPicture.width(), WindowPicture.height(), width(), height());
    model_.Place(itemsArea, this->size(), scrolling, PopupData != nullptr);
    if (!MaskPicture.isNull() && PopupData) {
        const PieceGeometry g = Pieces(MaskPicture);
        if (const auto region = BuildMaskedRegion(MaskPicture, g))
            setMask(*region);
    }
    const auto placement = popupgeometry::Position(size, anchor, area, submenu, openUpwards, scrolling, itemsArea.top);
    move(placement.position);
    if (Engine.AlphaBlend)
        setWindowOpacity(Engine.AlphaBlendValue / 255.0);
    show();
    raise();
    PopupMouseTimer->start();
    model_.SelectFirst();
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
    int widest = 0;
    for (const auto& item : model_.Items())
        if (!item->IsSeparator())
            widest = std::max(widest, ItemTextWidth(*item));
    int height = model_.TotalHeight();
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
// What the model asks of the window and the menu

void SkinPopupWindow::ItemChanged(int index)
{
    if (index < 0 || index >= model_.Count())
        return;
    if (ItemSection && ItemSection->morphing)
        ItemMorphTimer->start();
    update(ToQRect(model_.Item(index).Rect));
}

void SkinPopupWindow::ListChanged() { update(); }

void SkinPopupWindow::AutoScroll(bool run)
{
    if (run)
        ScrollTimer->start();
    else
        ScrollTimer->stop();
}

int SkinPopupWindow::OpenLevels() const { return static_cast<int>(Engine.PopupStack.size()); }

PopupMenuModel* SkinPopupWindow::LevelModel(int level)
{
    if (level < 0 || level >= static_cast<int>(Engine.PopupStack.size()))
        return nullptr;
    return &Engine.PopupStack[static_cast<std::size_t>(level)]->Model();
}

void SkinPopupWindow::ClosePopupsFrom(int level) { Engine.ClosePopupsFrom(level); }

void SkinPopupWindow::ItemSelected(int index, bool keyboard) { Engine.ItemSelected(*this, index, keyboard); }

void SkinPopupWindow::ItemDeselected(int index) { Engine.ItemDeselected(*this, index); }

void SkinPopupWindow::RunItem(int index) { Engine.RunCommand(model_.Item(index)); }

void SkinPopupWindow::OpenSubmenu(int index)
{
    Engine.SubmenuTimer->stop();
    Engine.OpenSubmenu(*this, model_.Item(index));
}

// ---------------------------------------------------------------------------------------------
// Pointer and morphs

void SkinPopupWindow::MouseTick()
{
    const QPoint cursor = QCursor::pos();
    if (cursor == lastCursor_)
        return;
    lastCursor_ = cursor;
    if (QGuiApplication::topLevelAt(cursor) == windowHandle())
        model_.HoverTest(mapFromGlobal(cursor));
    else
        model_.PointerLeft();
}

void SkinPopupWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        model_.Release(event->position().toPoint());
}

void SkinPopupWindow::MorphTick()
{
    const std::vector<int> moved = model_.StepMorphs();
    for (int index : moved)
        update(ToQRect(model_.Item(index).Rect));
    if (moved.empty())
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
        BuildNinePieceImage(Pieces(WindowPicture), model_.Scrolling(), background);
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
    for (const auto& item : model_.Items())
        if (item->Visible)
            DrawItem(painter, *item);
    if (model_.Scrolling())
        DrawMarkers(painter);
    return image;
}

void SkinPopupWindow::DrawMarkers(QPainter& painter) const
{
    const QPalette palette;
    const SkinRect top = model_.TopMarker(), bottom = model_.BottomMarker();
    const int hovered = model_.HoveredMarker();
    auto colour = [&](int marker) {
        if (PopupData)
            return SkinColorToQColor(hovered == marker ? PopupData->scrollMarkerActiveColor
                                                       : PopupData->scrollMarkerColor);
        return palette.color(hovered == marker ? QPalette::ButtonText : QPalette::Dark);
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
            const QColor colour =
                SkinColorToQColor(lit ? s.activeFontColor : (item.IsEnabled() ? s.fontColor : s.unenabledFontColor));
            if (s.morphing && item.MorphPending()) {
                QImage a(w, h, QImage::Format_RGB32), b(w, h, QImage::Format_RGB32);
                a.fill(Qt::black);
                b.fill(Qt::black);
                {
                    QPainter pa(&a), pb(&b);
                    pa.setFont(Font);
                    pb.setFont(Font);
                    DrawLook(pa, item, false, SkinColorToQColor(item.IsEnabled() ? s.fontColor : s.unenabledFontColor));
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
