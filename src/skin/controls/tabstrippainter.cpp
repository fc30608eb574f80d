#include "skin/controls/tabstrippainter.h"

#include "skin/controls/skinpicturecache.h"
#include "skin/render/effectbmp.h"
#include "skin/render/skinutils.h"

#include <QPainter>

namespace quorvel {

TabStripPainter::Look TabStripPainter::LookOf(bool hot, bool selected, bool focused)
{
    return selected ? (focused ? SelectedFocused : Selected) : (hot ? Hot : Normal);
}

bool TabStripPainter::SetSection(const SkinData* data, const TabSection& section)
{
    if (section == section_)
        return false;
    section_ = section;
    picture_ = background_ = pageTile_ = QImage();
    if (section_.source) {
        picture_ = SkinPicture(data, section_.pictureIndex);
        background_ = SkinPicture(data, section_.bgPictureIndex);
        const TabSection& s = section_;
        if (s.bgPictureIndex != -1)
            pageTile_ = background_;
        else if (!picture_.isNull() && !s.clientRect.IsEmpty())
            pageTile_ = picture_.copy(s.skinRect.left + s.clientRect.left, s.skinRect.top + s.clientRect.top,
                                      s.clientRect.Width(), s.clientRect.Height());
    }
    return true;
}

void TabStripPainter::DrawBackground(QImage& image, const TabGeometry& g, const Palette& palette) const
{
    if (!Skinned()) {
        image.fill(palette.face);
        QPainter p(&image);
        const SkinRect f = g.FrameRect();
        DrawPixelRect(p, f.left, f.top, f.right, f.bottom, palette.shadow, false);
        return;
    }
    image.fill(Qt::black);
    const TabSection& s = section_;
    if (picture_.isNull())
        return;
    QPainter p(&image);
    if (!s.tabsBGRect.IsEmpty())
        TileArea(p, picture_, s.tabsBGRect, g.StripRect());
    // The frame, from the section's edges and corners, around the page area.
    const SkinRect f = g.FrameRect();
    const SkinRect& S = s.skinRect;
    const SkinRect& c = s.clientRect;
    const int W0 = S.Width(), H0 = S.Height(), dW = f.Width() - W0, dH = f.Height() - H0;
    const SkinPoint &lt = s.leftTop, &rt = s.rightTop, &lb = s.leftBottom, &rb = s.rightBottom;
    auto src = [&S](int l, int t, int r, int b) { return SkinRect{S.left + l, S.top + t, S.left + r, S.top + b}; };
    p.translate(f.left, f.top);
    TileX(p, picture_, src(lt.x, 0, rt.x, c.top), lt.x, rt.x + dW, 0, c.top);
    TileX(p, picture_, src(lb.x, c.bottom, rb.x, H0), lb.x, rb.x + dW, f.Height() - (H0 - c.bottom), f.Height());
    TileY(p, picture_, src(0, lt.y, c.left, lb.y), lt.y, lb.y + dH, 0, c.left);
    TileY(p, picture_, src(c.right, rt.y, W0, rb.y), rt.y, rb.y + dH, f.Width() - (W0 - c.right), f.Width());
    CopyPart(p, picture_, src(0, 0, lt.x, lt.y), SkinRect{0, 0, lt.x, lt.y});
    CopyPart(p, picture_, src(rt.x, 0, W0, rt.y), SkinRect{rt.x + dW, 0, W0 + dW, rt.y});
    CopyPart(p, picture_, src(0, lb.y, lb.x, H0), SkinRect{0, lb.y + dH, lb.x, H0 + dH});
    CopyPart(p, picture_, src(rb.x, rb.y, W0, H0), SkinRect{rb.x + dW, rb.y + dH, W0 + dW, H0 + dH});
}

QImage TabStripPainter::BuildTab(Look look, int w, int h, const Content& content, const Style& style) const
{
    if (w <= 0 || h <= 0)
        return {};
    const bool selected = look == Selected || look == SelectedFocused;
    QImage image;
    QColor text;
    if (!Skinned()) {
        image = QImage(w, h, QImage::Format_RGB32);
        static const QColor lit(182, 189, 210), focusFill(133, 146, 181), navy(0, 0, 128);
        image.fill(look == Normal ? style.palette.face : look == SelectedFocused ? focusFill : lit);
        if (selected) {
            QPainter p(&image);
            DrawPixelRect(p, 0, 0, w, h, navy, false);
        }
        text = style.palette.text;
    } else {
        const TabSection& s = section_;
        const bool mouseIn = look == Hot && !s.mouseInTabRect.IsEmpty();
        const SkinRect& from = mouseIn                   ? s.mouseInTabRect
                               : look == SelectedFocused ? s.focusTabRect
                               : !selected               ? s.tabRect
                                                         : s.activeTabRect;
        if (!from.IsEmpty())
            BuildHStrip(picture_, from, s.tabLeftOffset, s.tabRightOffset, w, image);
        if (image.isNull()) { // no image in the skin: a blank tab
            image = QImage(w, h, QImage::Format_RGB32);
            image.fill(Qt::black);
        } else if (style.fixedHeight && image.height() != h) {
            image = image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        }
        const SkinColor colour = look == Hot               ? s.mouseInFontColor
                                 : look == SelectedFocused ? s.focusFontColor
                                 : look == Normal          ? s.fontColor
                                                           : s.activeFontColor;
        text = SkinColorToQColor(colour);
        if (style.position == QTabWidget::South) { // the image upside down, its caption upright
            const EffectBmp source(image);
            EffectBmp flipped(0, 0);
            source.Flip(flipped);
            image = flipped.Image().convertToFormat(QImage::Format_RGB32);
        }
    }
    DrawContent(image, content, style.font, text);
    if (style.position == QTabWidget::West || style.position == QTabWidget::East) { // turned with its caption
        const EffectBmp source(image);
        EffectBmp turned(0, 0);
        if (style.position == QTabWidget::West)
            source.TurnLeft(turned);
        else
            source.TurnRight(turned);
        image = turned.Image().convertToFormat(QImage::Format_RGB32);
    }
    return image;
}

void TabStripPainter::DrawContent(QImage& image, const Content& content, const QFont& font, const QColor& colour) const
{
    QPainter p(&image);
    p.setFont(font);
    p.setPen(colour);
    const QRect area(0, 0, image.width(), image.height());
    if (content.icon.isNull()) {
        p.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, content.caption);
        return;
    }
    const QSize is = content.iconSize;
    const int textWidth = p.fontMetrics().horizontalAdvance(content.caption) + 2;
    const int left = (area.width() - (is.width() + kIconGap + textWidth)) / 2;
    const QPixmap pixmap = content.icon.pixmap(is, content.enabled ? QIcon::Normal : QIcon::Disabled);
    p.drawPixmap(left, (area.height() - is.height()) / 2, pixmap);
    p.drawText(QRect(left + is.width() + kIconGap, 0, textWidth, area.height()), Qt::AlignCenter | Qt::TextSingleLine,
               content.caption);
}

} // namespace quorvel
