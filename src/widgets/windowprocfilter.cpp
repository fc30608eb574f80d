#include "widgets/windowprocfilter.h"

#include <QEvent>

namespace quorvel {

WindowProcFilter::WindowProcFilter(QObject* control, Procedure procedure)
    : QObject(control), control_(control), procedure_(std::move(procedure))
{
    control_->installEventFilter(this);
}

void WindowProcFilter::Saved(QEvent* event)
{
    passing_ = true;
    control_->event(event);
    passing_ = false;
}

bool WindowProcFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != control_ || passing_)
        return false;
    procedure_(event);
    return true;
}

} // namespace quorvel
