#include "skin/controls/skintabsheet.h"

#include "skin/controls/skinpagecontrol.h"
#include "widgets/alignment.h"

#include <QPaintEvent>
#include <QPainter>

namespace quorvel {

SkinTabSheet::SkinTabSheet(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void SkinTabSheet::SetCaption(const QString& caption)
{
    caption_ = caption;
    if (pageControl_)
        pageControl_->PageCaptionChanged(this);
}

void SkinTabSheet::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shown();
}

void SkinTabSheet::paintEvent(QPaintEvent* event)
{
    if (width() < 1 || height() < 1)
        return;
    QPainter p(this);
    const QRect r = event->rect();
    if (!pageControl_) {
        p.fillRect(r, palette().color(QPalette::Button));
        return;
    }
    pageControl_->DrawPageBackground(p, r, size());
}

void SkinTabSheet::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignChildren(this, rect());
    update();
}

} // namespace quorvel
