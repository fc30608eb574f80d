#include "skin/form/frameclient.h"

#include "skin/form/framepainter.h"
#include "skin/form/skinform.h"
#include "widgets/alignment.h"

#include <QPaintEvent>
#include <QPainter>

namespace quorvel {

FrameClient::FrameClient(SkinForm& frame, QWidget* form) : QWidget(form), frame_(&frame)
{
    setObjectName(QStringLiteral("ClientArea"));
    // The frame paints every pixel of the background itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FrameClient::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (frame_)
        frame_->Painter().PaintClientBackground(painter, rect());
}

void FrameClient::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignChildren(this, rect());
}

} // namespace quorvel
