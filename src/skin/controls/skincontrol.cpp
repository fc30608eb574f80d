#include "skin/controls/skincontrol.h"

#include "skin/controls/skinpicturecache.h"
#include "skin/data/skindata.h"

#include <QPaintEvent>
#include <QPainter>

namespace quorvel {

SkinControl::SkinControl(QWidget* parent) : QWidget(parent)
{
    // Every pixel comes from the control's own paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinControl::SetSkinData(SkinData* data)
{
    disconnect(skinChanges_);
    skinData_ = data;
    if (data)
        skinChanges_ = connect(data, &SkinData::skinChanged, this, &SkinControl::SkinDataChanged);
    // Without skin data the control takes its default look and size again.
    ApplySkin();
}

void SkinControl::SetSkinDataName(const QString& name)
{
    skinDataName_ = name;
    sectionName_ = name.toStdString();
}

void SkinControl::ReadSkinSection()
{
    const SkinData* data = skinData_;
    const int index = !data || data->Empty ? -1 : data->FindControlIndex(sectionName_);
    if (index != skinIndex_)
        InvalidateImage();
    skinIndex_ = index;
}

void SkinControl::DrawDefaultImage(QImage& image) { image.fill(palette().color(QPalette::Button)); }

void SkinControl::DrawSkinImage(QImage& image) { DrawDefaultImage(image); }

void SkinControl::ApplySkin()
{
    ReadSkinSection();
    InvalidateImage();
    update();
}

void SkinControl::ForgetSkinSection()
{
    skinIndex_ = -1;
    ForgetSkinPictures(skinData_);
    InvalidateImage();
}

void SkinControl::SkinDataChanged(SkinMessage kind)
{
    if (kind == SKINMSG_BEFORE_CHANGE)
        ForgetSkinSection();
    else if (kind == SKINMSG_CHANGED)
        ApplySkin();
}

const QImage& SkinControl::ControlImage()
{
    if (!imageValid_ || image_.size() != size()) {
        image_ = QImage(size(), QImage::Format_RGB32);
        if (!image_.isNull()) {
            if (skinIndex_ < 0)
                DrawDefaultImage(image_);
            else
                DrawSkinImage(image_);
        }
        imageValid_ = true;
    }
    return image_;
}

void SkinControl::paintEvent(QPaintEvent* event)
{
    ReadSkinSection();
    if (width() <= 0 || height() <= 0)
        return;
    const QImage& image = ControlImage();
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), image, r);
}

void SkinControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit mouseEnter();
}

void SkinControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit mouseLeave();
}

void SkinControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
        InvalidateImage();
        update();
        break;
    default:
        break;
    }
}

void SkinControl::SetSkinRegion(std::optional<QRegion> region)
{
    if (region == skinRegion_)
        return;
    skinRegion_ = std::move(region);
    if (skinRegion_)
        setMask(*skinRegion_);
    else
        clearMask();
    update();
}

} // namespace quorvel
