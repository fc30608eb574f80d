#include "widgets/editline.h"

#include <QMouseEvent>

namespace quorvel {

EditLine::EditLine(QWidget* parent) : QLineEdit(parent) { }

void EditLine::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void EditLine::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLineEdit::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace quorvel
