#include "player/jumpslider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace quorvel {

JumpSlider::JumpSlider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) { }

int JumpSlider::ValueAt(const QPoint& point) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The handle's centre travels the groove less half a handle at each end.
    if (orientation() == Qt::Horizontal) {
        const int span = groove.width() - handle.width();
        return QStyle::sliderValueFromPosition(minimum(), maximum(), point.x() - groove.x() - handle.width() / 2,
                                               qMax(1, span), option.upsideDown);
    }
    const int span = groove.height() - handle.height();
    return QStyle::sliderValueFromPosition(minimum(), maximum(), point.y() - groove.y() - handle.height() / 2,
                                           qMax(1, span), option.upsideDown);
}

void JumpSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QStyle::SubControl hit =
            style()->hitTestComplexControl(QStyle::CC_Slider, &option, event->position().toPoint(), this);
        // On the handle it is a plain drag; elsewhere the handle comes under the pointer first,
        // so that the press below takes hold of it and a drag goes on from there.
        if (hit != QStyle::SC_SliderHandle)
            setValue(ValueAt(event->position().toPoint()));
    }
    QSlider::mousePressEvent(event);
}

} // namespace quorvel
