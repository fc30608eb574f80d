#include "skin/controls/skinpanel.h"

#include "skin/controls/controlfont.h"
#include "skin/controls/skinpicturecache.h"
#include "skin/data/dataskincontrols.h"
#include "skin/data/skindata.h"
#include "skin/render/skinfont.h"
#include "skin/render/skinutils.h"
#include "widgets/alignment.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quorvel {
namespace {

// A small filled triangle in a 10-pixel wide column: pointing down or up.
void DrawRollArrow(QPainter& p, const QRect& column, bool down, const QColor& colour)
{
    const int cx = column.left() + column.width() / 2, cy = column.top() + column.height() / 2;
    for (int i = 0; i < 4; ++i) {
        const int y = down ? cy - 2 + i : cy + 1 - i;
        p.fillRect(cx - 3 + i, y, 7 - 2 * i, 1, colour);
    }
}

} // namespace

QRect DefaultPanelClientRect(const QSize& size, SkinPanel::BorderStyle border, bool captionMode, int captionHeight)
{
    QRect r(QPoint(0, 0), size);
    if (border != SkinPanel::BorderStyle::bvNone)
        r.adjust(1, 1, -1, -1);
    if (captionMode)
        r.setTop(r.top() + captionHeight);
    return r;
}

SkinRect StretchPanelRect(const SkinRect& r, const SkinCustomControl::Section& s, int W, int H)
{
    SkinRect out = r;
    const int dW = W - s.skinRect.Width(), dH = H - s.skinRect.Height();
    // A part that begins in the right (or bottom) corner region moves; one that reaches it
    // from the growing middle stretches.
    if (s.resizeKind == 1 || s.resizeKind == 2) {
        if (r.left >= s.rightTop.x) {
            out.left += dW;
            out.right += dW;
        } else if (r.right >= s.rightTop.x) {
            out.right += dW;
        }
    }
    if (s.resizeKind == 1 || s.resizeKind == 3) {
        if (r.top >= s.leftBottom.y) {
            out.top += dH;
            out.bottom += dH;
        } else if (r.bottom >= s.leftBottom.y) {
            out.bottom += dH;
        }
    }
    return out;
}

bool SkinPanel::PanelSection::operator==(const PanelSection& o) const
{
    return bgPictureIndex == o.bgPictureIndex && bgPicture.cacheKey() == o.bgPicture.cacheKey() &&
           captionRect == o.captionRect && alignment == o.alignment && fontName == o.fontName &&
           fontHeight == o.fontHeight && fontStyle == o.fontStyle && fontColor == o.fontColor &&
           checkImageRect == o.checkImageRect && uncheckImageRect == o.uncheckImageRect;
}

SkinPanel::SkinPanel(QWidget* parent) : SkinCustomControl(parent)
{
    SetSkinDataName(QStringLiteral("panel"));
    resize(150, 150);
}

void SkinPanel::Changed(bool realign)
{
    InvalidateImage();
    update();
    if (realign)
        Realign();
}

void SkinPanel::SetBorderStyle(BorderStyle style)
{
    borderStyle_ = style;
    Changed(true); // the client rectangle of an unframed skinned panel changes too
}

void SkinPanel::SetCaptionMode(bool on)
{
    captionMode_ = on;
    Changed(true);
}

void SkinPanel::SetDefaultCaptionHeight(int height)
{
    defaultCaptionHeight_ = height;
    Changed(SkinIndex() < 0 && captionMode_);
}

void SkinPanel::SetDefaultAlignment(TextAlignment alignment)
{
    defaultAlignment_ = alignment;
    Changed(false);
}

void SkinPanel::SetCaption(const QString& caption)
{
    caption_ = caption;
    Changed(false);
}

void SkinPanel::SetGlyph(const QImage& glyph)
{
    glyph_ = glyph;
    Changed(false);
}

void SkinPanel::SetNumGlyphs(int count)
{
    numGlyphs_ = count < 1 ? 1 : count;
    Changed(false);
}

void SkinPanel::SetSpacing(int spacing)
{
    spacing_ = spacing;
    Changed(false);
}

void SkinPanel::SetCheckedMode(bool on)
{
    checkedMode_ = on;
    Changed(false);
}

void SkinPanel::SetChecked(bool checked)
{
    checked_ = checked;
    if (checkedMode_)
        Changed(false);
    if (autoEnabledControls_ && checkedMode_)
        for (QObject* o : children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
                w->setEnabled(checked);
    emit this->checked();
}

void SkinPanel::SetRollUpMode(bool on)
{
    rollUpMode_ = on;
    Changed(false);
}

int SkinPanel::RolledUpHeight() const
{
    if (SkinIndex() < 0)
        return defaultCaptionHeight_ + 1;
    SkinPoint lt, rt, lb, rb;
    SkinRect client;
    StretchSection(CopiedSection(), width(), realHeight_, lt, rt, lb, rb, client);
    return realHeight_ - client.Height();
}

void SkinPanel::SetRollUpState(bool rolledUp)
{
    if (!rollUpMode_ || rolledUp == rollUpState_)
        return;
    rollUpState_ = rolledUp;
    if (rolledUp) {
        realHeight_ = height();
        hiddenByRollUp_.clear();
        for (QObject* o : children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow() && !w->isHidden()) {
                hiddenByRollUp_.append(w);
                w->hide();
            }
        resize(width(), RolledUpHeight());
    } else {
        const int h = realHeight_;
        realHeight_ = -1;
        resize(width(), h);
        for (const QPointer<QWidget>& w : hiddenByRollUp_)
            if (w)
                w->show();
        hiddenByRollUp_.clear();
        Realign();
    }
    Changed(false);
}

QRect SkinPanel::ClientRect() const
{
    if (SkinIndex() < 0)
        return DefaultPanelClientRect(size(), borderStyle_, captionMode_, defaultCaptionHeight_);
    if (panelSection_.bgPictureIndex != -1 ||
        (borderStyle_ == BorderStyle::bvNone && !captionMode_ && ResizeKind() == 1))
        return rect();
    return ToQRect(StretchedClientRect());
}

void SkinPanel::Realign() { AlignChildren(this, ClientRect()); }

SkinRect SkinPanel::StretchedCaptionRect() const
{
    return StretchPanelRect(panelSection_.captionRect, CopiedSection(), width(), height());
}

void SkinPanel::ReadSkinSection()
{
    SkinCustomControl::ReadSkinSection();
    PanelSection s;
    const SkinData* data = GetSkinData();
    if (data && SkinIndex() >= 0)
        if (const auto* c = dynamic_cast<const DataSkinPanelControl*>(
                data->SkinControls[static_cast<std::size_t>(SkinIndex())].get())) {
            s.bgPictureIndex = c->bgPictureIndex;
            s.bgPicture = SkinPicture(data, c->bgPictureIndex);
            s.captionRect = c->captionRect;
            s.alignment = c->alignment;
            s.fontName = c->fontName;
            s.fontHeight = c->fontHeight;
            s.fontStyle = c->fontStyle;
            s.fontColor = c->fontColor;
            s.checkImageRect = c->checkImageRect;
            s.uncheckImageRect = c->uncheckImageRect;
        }
    if (!(s == panelSection_)) {
        panelSection_ = s;
        InvalidateImage();
    }
}

void SkinPanel::ApplySkin()
{
    SkinCustomControl::ApplySkin();
    if (rollUpState_)
        resize(width(), RolledUpHeight());
    else
        Realign();
}

void SkinPanel::DefaultFontChanged()
{
    // The default font draws the caption of an unskinned panel, and of a skinned one that
    // does not use the skin's font.
    InvalidateImage();
    update();
}

void SkinPanel::DrawCaptionText(QPainter& p, const QRect& area, TextAlignment alignment, int leftInset) const
{
    QImage glyph;
    if (!glyph_.isNull()) {
        const int n = numGlyphs_ < 1 ? 1 : numGlyphs_;
        const int fw = glyph_.width() / n;
        const int frame = !isEnabled() && n == 2 ? 1 : 0;
        glyph = glyph_.copy(fw * frame, 0, fw, glyph_.height());
    }
    const QFontMetrics fm(p.font());
    const int textWidth = caption_.isEmpty() ? 0 : fm.horizontalAdvance(caption_);
    const int glyphWidth = glyph.isNull() ? 0 : glyph.width() + spacing_;
    const int groupWidth = glyphWidth + textWidth;
    int x = area.left() + leftInset;
    if (alignment == TextAlignment::Right)
        x = area.right() + 1 - groupWidth;
    else if (alignment == TextAlignment::Center)
        x = area.left() + (area.width() - groupWidth) / 2;
    p.save();
    p.setClipRect(area);
    if (!glyph.isNull()) {
        DrawTransparent(p, x, area.top() + (area.height() - glyph.height()) / 2, glyph);
        x += glyphWidth;
    }
    if (!caption_.isEmpty())
        p.drawText(QRect(x, area.top(), area.right() + 1 - x, area.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
    p.restore();
}

void SkinPanel::DrawDefaultImage(QImage& image)
{
    const QPalette& pal = palette();
    const int w = image.width(), h = image.height();
    const QColor face = pal.color(QPalette::Button), shadow = pal.color(QPalette::Dark),
                 light = pal.color(QPalette::Light), text = pal.color(QPalette::ButtonText);
    image.fill(face);
    QPainter p(&image);
    auto frame = [&p](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        p.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
        p.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
        p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    };
    switch (borderStyle_) {
    case BorderStyle::bvNone:
        break;
    case BorderStyle::bvFrame:
        frame(QRect(0, 0, w, h), shadow, shadow);
        break;
    case BorderStyle::bvRaised:
        frame(QRect(0, 0, w, h), light, shadow);
        break;
    case BorderStyle::bvLowered:
        frame(QRect(0, 0, w, h), shadow, light);
        break;
    }
    if (!captionMode_)
        return;
    QRect strip;
    if (borderStyle_ != BorderStyle::bvNone) {
        strip = QRect(QPoint(1, 1), QPoint(w - 2, defaultCaptionHeight_ - 1));
        frame(strip, shadow, light);
        frame(strip.adjusted(1, 1, -1, -1), light, shadow);
    } else {
        strip = QRect(0, 0, w, defaultCaptionHeight_);
        frame(strip, shadow, shadow);
        frame(strip.adjusted(1, 1, -1, -1), light, face);
    }
    QRect textArea = strip;
    if (checkedMode_) {
        const QRect box(strip.left() + 5, strip.top() + (strip.height() - 14) / 2, 14, 14);
        frame(box, shadow, shadow);
        if (checked_)
            DrawCheckMark(p, box.left() + 3, box.top() + 3, text);
        textArea.setLeft(textArea.left() + 20);
    }
    if (rollUpMode_) {
        textArea.setRight(textArea.right() - 10);
        DrawRollArrow(p, QRect(textArea.right() + 1, strip.top(), 10, strip.height()), rollUpState_, text);
    }
    p.setFont(DefaultFont());
    p.setPen(pal.color(QPalette::WindowText));
    DrawCaptionText(p, textArea, defaultAlignment_, 2);
}

void SkinPanel::DrawSkinImage(QImage& image)
{
    const PanelSection& s = panelSection_;
    if (s.bgPictureIndex != -1) {
        // A background picture fills the whole panel, without frame or caption.
        image.fill(Qt::black);
        if (!s.bgPicture.isNull()) {
            QPainter p(&image);
            const int pw = s.bgPicture.width(), ph = s.bgPicture.height();
            for (int row = 0; row <= image.height() / ph; ++row)
                for (int col = 0; col <= image.width() / pw; ++col)
                    p.drawImage(col * pw, row * ph, s.bgPicture);
        }
        return;
    }
    const Section& section = CopiedSection();
    if (borderStyle_ == BorderStyle::bvNone && ResizeKind() == 1 && !captionMode_) {
        // No frame: the client texture over the whole panel.
        image.fill(Qt::black);
        const SkinRect& c = section.clientRect;
        const SkinRect part{section.skinRect.left + c.left, section.skinRect.top + c.top,
                            section.skinRect.left + c.right, section.skinRect.top + c.bottom};
        if (!section.picture.isNull()) {
            QPainter p(&image);
            TileArea(p, section.picture, part, SkinRect{0, 0, image.width(), image.height()});
        }
        return;
    }
    SkinCustomControl::DrawSkinImage(image);
    if (caption_.isEmpty() || s.captionRect.IsEmpty())
        return;
    const QColor colour = SkinColorToQColor(s.fontColor);
    QPainter p(&image);
    QRect area = ToQRect(StretchedCaptionRect());
    if (checkedMode_) {
        const SkinRect& r = checked_ ? s.checkImageRect : s.uncheckImageRect;
        if (!r.IsEmpty() && !section.picture.isNull()) {
            DrawTransparent(p, area.left(), area.top() + (area.height() - r.Height()) / 2,
                            section.picture.copy(ToQRect(r)));
            area.setLeft(area.left() + r.Width() + spacing_);
        }
    }
    if (rollUpMode_) {
        const QRect arrow(area.right() + 1 - 12, area.top(), 10, area.height());
        area.setRight(area.right() - 12);
        DrawRollArrow(p, arrow, rollUpState_, colour);
    }
    p.setFont(UseSkinFont() ? SkinFont(s.fontName, s.fontHeight, s.fontStyle) : DefaultFont());
    p.setPen(colour);
    DrawCaptionText(p, area, s.alignment, 0);
}

void SkinPanel::resizeEvent(QResizeEvent* event)
{
    SkinCustomControl::resizeEvent(event);
    Realign();
}

void SkinPanel::childEvent(QChildEvent* event)
{
    SkinCustomControl::childEvent(event);
    if (event->type() == QEvent::ChildPolished)
        Realign();
}

void SkinPanel::mouseReleaseEvent(QMouseEvent* event)
{
    SkinCustomControl::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !captionMode_)
        return;
    const QPoint pos = event->position().toPoint();
    const QRect caption = SkinIndex() >= 0 ? ToQRect(StretchedCaptionRect())
                                           : QRect(QPoint(1, 1), QPoint(width() - 2, defaultCaptionHeight_ - 1));
    if (!caption.contains(pos))
        return;
    if (checkedMode_)
        SetChecked(!checked_);
    if (rollUpMode_)
        SetRollUpState(!rollUpState_);
}

} // namespace quorvel
