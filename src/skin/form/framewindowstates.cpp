#include "skin/form/framewindowstates.h"

#include "skin/form/frameinput.h"
#include "skin/form/framelayout.h"
#include "skin/form/framepainter.h"
#include "skin/form/monitorarea.h"
#include "skin/form/skinform.h"

#include <QTimer>
#include <QWidget>

namespace quorvel {

FrameWindowStates::FrameWindowStates(SkinForm& frame) : frame_(frame) { }

void FrameWindowStates::SetFrameState(FrameState s)
{
    if (s == frameState_)
        return;
    QWidget* form = frame_.Form();
    FrameLayout& layout = frame_.Layout();
    switch (s) {
    case FrameState::Maximized: {
        frameState_ = s;
        if (NormalBounds.isNull())
            NormalBounds = form->geometry();
        QRect target = MonitorWorkArea(form, true);
        // Without a task bar on the monitor a pixel stays free all round, so the desktop's
        // own edge stays reachable.
        if (target == MonitorWorkArea(form, false))
            target.adjust(1, 1, -1, -1);
        layout.ApplyTrackSizes();
        form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        form->setGeometry(target);
        layout.SyncSize();
        break;
    }
    case FrameState::Minimized:
        // The main window: minimizing it minimizes the application, and the frame keeps its
        // state for when it comes back.
        form->showMinimized();
        return;
    case FrameState::Normal: {
        frameState_ = s;
        RolledUpMaximized = false;
        const QSize before = form->size();
        if (!NormalBounds.isNull()) {
            layout.ApplyTrackSizes();
            form->setGeometry(NormalBounds);
            layout.SyncSize();
        }
        frame_.Input().LeaveTimer->start();
        if (form->size() == before)
            layout.NudgeWidth();
        form->update();
        NormalBounds = QRect();
        break;
    }
    }
    layout.ApplyTrackSizes();
    frame_.Painter().SendNcPaint();
}

void FrameWindowStates::SetRollUp(bool value)
{
    if (!frame_.GetBorderIcons().Has(BorderIcon::RollUp) || frameState_ == FrameState::Minimized)
        return;
    if (rolledUp_ && frameState_ == FrameState::Maximized && !RolledUpMaximized)
        return;
    if (frameState_ == FrameState::Maximized)
        RolledUpMaximized = value;
    rolledUp_ = value;
    QWidget* form = frame_.Form();
    FrameLayout& layout = frame_.Layout();
    if (value) {
        HeightBeforeRollUp = form->height();
        layout.ApplyTrackSizes();
        form->resize(form->width(), layout.MinTrackHeight());
    } else {
        layout.ApplyTrackSizes();
        form->resize(form->width(), HeightBeforeRollUp);
    }
    layout.SyncSize();
    frame_.Painter().SendNcPaint();
    if (frame_.OnChangeRollUpState)
        frame_.OnChangeRollUpState();
}

void FrameWindowStates::CaptionDoubleClick() { SetRollUp(!rolledUp_); }

void FrameWindowStates::HandleWindowState()
{
    FrameLayout& layout = frame_.Layout();
    if (frame_.NoBorder()) {
        layout.ApplyRegion(nullptr);
        layout.PlaceClientArea();
        return;
    }
    layout.HandleSize();
}

} // namespace quorvel
