#include "skintabsheet.h"

#include "alignment.h"

#include <QPainter>

namespace quorvel {

SkinTabSheet::SkinTabSheet(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void SkinTabSheet::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shown();
}

void SkinTabSheet::paintEvent(QPaintEvent*)
{
    if (width() < 1 || height() < 1)
        return;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
}

void SkinTabSheet::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignChildren(this, rect());
    update();
}

} // namespace quorvel
