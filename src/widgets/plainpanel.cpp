#include "widgets/plainpanel.h"

#include "widgets/alignment.h"

#include <QPainter>

namespace quorvel {

PlainPanel::PlainPanel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PlainPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
}

void PlainPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AlignChildren(this, rect());
}

} // namespace quorvel
