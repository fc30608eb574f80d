#include "skin/controls/skincustomcontrol.h"

#include "skin/controls/controlfont.h"
#include "skin/controls/skinpicturecache.h"
#include "skin/data/skindata.h"
#include "skin/render/skinfont.h"
#include "skin/render/skinutils.h"

#include <QPainter>
#include <QResizeEvent>

namespace quorvel {
namespace {

// The mask for the control's image: the "skinrect" part of a mask picture laid out like the
// picture, or the whole mask when it is just the element.
QImage SectionMask(const QImage& mask, const SkinRect& r)
{
    if (mask.isNull() || mask.size() == QSize(r.Width(), r.Height()))
        return mask;
    return mask.copy(r.left, r.top, r.Width(), r.Height());
}

} // namespace

bool SkinCustomControl::Section::operator==(const Section& o) const
{
    return picture.cacheKey() == o.picture.cacheKey() && mask.cacheKey() == o.mask.cacheKey() &&
           skinRect == o.skinRect && leftTop == o.leftTop && rightTop == o.rightTop && leftBottom == o.leftBottom &&
           rightBottom == o.rightBottom && clientRect == o.clientRect && resizeKind == o.resizeKind;
}

int SkinCustomControl::ResizeKindOf(const Section& s)
{
    if (s.skinRect.IsEmpty())
        return -1;
    if (s.rightBottom.x != 0 && s.rightBottom.y != 0)
        return 1;
    if (s.rightTop.x != 0 || s.rightTop.y != 0)
        return 2;
    if (s.leftBottom.x != 0 || s.leftBottom.y != 0)
        return 3;
    return 0;
}

void StretchSection(const SkinCustomControl::Section& s, int W, int H, SkinPoint& lt, SkinPoint& rt, SkinPoint& lb,
                    SkinPoint& rb, SkinRect& client)
{
    const int dW = W - s.skinRect.Width(), dH = H - s.skinRect.Height();
    lt = s.leftTop;
    rt = s.rightTop;
    lb = s.leftBottom;
    rb = s.rightBottom;
    client = s.clientRect;
    switch (s.resizeKind) {
    case 1:
        rt.x += dW;
        lb.y += dH;
        rb.x += dW;
        rb.y += dH;
        client.right += dW;
        client.bottom += dH;
        break;
    case 2:
        rt.x += dW;
        client.right += dW;
        break;
    case 3:
        lb.y += dH;
        client.bottom += dH;
        break;
    default:
        break;
    }
}

void ForceSkinSize(const SkinCustomControl::Section& s, int& width, int& height)
{
    // A section without an image fixes no size: the control would vanish.
    if (s.skinRect.IsEmpty())
        return;
    if (s.resizeKind == 0 || s.resizeKind == 3)
        width = s.skinRect.Width();
    if (s.resizeKind == 0 || s.resizeKind == 2)
        height = s.skinRect.Height();
}

SkinCustomControl::SkinCustomControl(QWidget* parent) : SkinControl(parent), defaultFont_(DefaultControlFont()) { }

void SkinCustomControl::SetDefaultWidth(int width)
{
    defaultWidth_ = width;
    if (SkinIndex() == -1 && width > 0)
        resize(width, height());
}

void SkinCustomControl::SetDefaultHeight(int height)
{
    defaultHeight_ = height;
    if (SkinIndex() == -1 && height > 0)
        resize(width(), height);
}

void SkinCustomControl::SetDefaultFont(const QFont& font)
{
    defaultFont_ = font;
    DefaultFontChanged();
}

void SkinCustomControl::SetUseSkinFont(bool use)
{
    useSkinFont_ = use;
    InvalidateImage();
    update();
}

const DataSkinCustomControl* SkinCustomControl::CustomSection() const
{
    const SkinData* data = GetSkinData();
    if (!data || SkinIndex() < 0)
        return nullptr;
    return dynamic_cast<const DataSkinCustomControl*>(data->SkinControls[static_cast<std::size_t>(SkinIndex())].get());
}

void SkinCustomControl::ReadSkinSection()
{
    SkinControl::ReadSkinSection();
    Section s;
    if (const DataSkinCustomControl* c = CustomSection()) {
        s.picture = SkinPicture(GetSkinData(), c->pictureIndex);
        s.mask = SkinPicture(GetSkinData(), c->maskPictureIndex);
        s.skinRect = c->skinRect;
        s.leftTop = c->leftTopPoint;
        s.rightTop = c->rightTopPoint;
        s.leftBottom = c->leftBottomPoint;
        s.rightBottom = c->rightBottomPoint;
        s.clientRect = c->clientRect;
        s.resizeKind = ResizeKindOf(s);
    } else if (SkinIndex() >= 0) {
        // A section of another kind: fixed at the size of its image, and no pictures.
        s.skinRect = GetSkinData()->SkinControls[static_cast<std::size_t>(SkinIndex())]->skinRect;
        s.resizeKind = 0;
    }
    if (!(s == section_)) {
        section_ = s;
        InvalidateImage();
        SkinChangedHook();
    }
}

void SkinCustomControl::CalcSkinSize(int& width, int& height) { ForceSkinSize(section_, width, height); }

SkinCustomControl::StretchedPieces SkinCustomControl::Stretched() const
{
    StretchedPieces p;
    StretchSection(section_, width(), height(), p.leftTop, p.rightTop, p.leftBottom, p.rightBottom, p.clientRect);
    return p;
}

PieceGeometry SkinCustomControl::Pieces(const QImage& picture) const
{
    const Section& s = section_;
    const StretchedPieces n = Stretched();
    PieceGeometry g;
    g.picture = picture;
    g.S = s.skinRect;
    g.LT = s.leftTop;
    g.RT = s.rightTop;
    g.LB = s.leftBottom;
    g.RB = s.rightBottom;
    g.C = s.clientRect;
    g.W = width();
    g.H = height();
    g.NLT = n.leftTop;
    g.NRT = n.rightTop;
    g.NLB = n.leftBottom;
    g.NRB = n.rightBottom;
    g.NC = n.clientRect;
    return g;
}

void SkinCustomControl::ApplySizeLimits()
{
    // The sizes a section fixes hold for every later change of bounds, whoever makes it.
    if (SkinIndex() >= 0 && section_.resizeKind >= 0 && section_.resizeKind != 1 && !section_.skinRect.IsEmpty()) {
        int w = QWIDGETSIZE_MAX, h = QWIDGETSIZE_MAX;
        ForceSkinSize(section_, w, h);
        setMinimumSize(w == QWIDGETSIZE_MAX ? 0 : w, h == QWIDGETSIZE_MAX ? 0 : h);
        setMaximumSize(w, h);
        limitsFromSkin_ = true;
    } else if (limitsFromSkin_) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        limitsFromSkin_ = false;
    }
}

void SkinCustomControl::ApplySkin()
{
    ReadSkinSection();
    const QSize before = size();
    ApplySizeLimits();
    if (SkinIndex() < 0) {
        if (defaultWidth_ > 0 || defaultHeight_ > 0)
            resize(defaultWidth_ > 0 ? defaultWidth_ : width(), defaultHeight_ > 0 ? defaultHeight_ : height());
    } else {
        int w = width(), h = height();
        CalcSkinSize(w, h);
        resize(w, h);
    }
    // A new size has already been dealt with by the resize.
    if (size() == before) {
        UpdateSkinRegion();
        InvalidateImage();
        update();
    }
}

void SkinCustomControl::ForgetSkinSection()
{
    SkinControl::ForgetSkinSection();
    section_ = Section{};
}

void SkinCustomControl::SkinChangedHook() { }

void SkinCustomControl::DefaultFontChanged()
{
    if (SkinIndex() < 0) {
        InvalidateImage();
        update();
    }
}

void SkinCustomControl::UpdateSkinRegion()
{
    const Section& s = section_;
    if (SkinIndex() < 0 || s.mask.isNull() || s.resizeKind < 0) {
        SetSkinRegion(std::nullopt);
        return;
    }
    const QImage mask = SectionMask(s.mask, s.skinRect);
    if (s.resizeKind == 0) {
        SetSkinRegion(RegionFromMask(mask));
        return;
    }
    PieceGeometry g = Pieces(QImage());
    g.S = SkinRect{0, 0, mask.width(), mask.height()};
    SetSkinRegion(BuildMaskedRegion(mask, g));
}

void SkinCustomControl::DrawSkinImage(QImage& image)
{
    const Section& s = section_;
    const int W = image.width(), H = image.height();
    QImage built;
    switch (s.resizeKind) {
    case 0:
        if (!s.picture.isNull())
            built = s.picture.copy(s.skinRect.left, s.skinRect.top, s.skinRect.Width(), s.skinRect.Height());
        break;
    case 1:
        BuildTiledNinePieceImage(Pieces(s.picture), true, image);
        return;
    case 2:
        if (!s.picture.isNull())
            BuildHStrip(s.picture, s.skinRect, s.leftTop.x, s.skinRect.Width() - s.rightTop.x, W, built);
        break;
    case 3:
        if (!s.picture.isNull())
            BuildVStrip(s.picture, s.skinRect, s.leftTop.y, s.skinRect.Height() - s.leftBottom.y, H, built);
        break;
    default:
        break;
    }
    // What the pieces do not cover (no picture, degenerate corners) stays black, as a blank
    // image of the skin would.
    image.fill(Qt::black);
    if (!built.isNull()) {
        QPainter p(&image);
        p.drawImage(0, 0, built);
    }
}

void SkinCustomControl::resizeEvent(QResizeEvent* event)
{
    SkinControl::resizeEvent(event);
    ReadSkinSection();
    if (SkinIndex() >= 0)
        UpdateSkinRegion();
    InvalidateImage();
    update();
    emit resized();
}

} // namespace quorvel
