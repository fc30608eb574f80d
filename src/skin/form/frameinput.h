#pragma once

#include "skin/form/framehittest.h"

#include <QObject>
#include <QPoint>

class QEvent;
class QTimer;

namespace quorvel {

class SkinForm;

// The pointer on the frame: what each point of the frame is, which object is under the pointer
// (hot) and which holds a press, the hover's morph and the objects' animation, and moving the
// window by its caption.
class FrameInput : public QObject {
    Q_OBJECT
public:
    explicit FrameInput(SkinForm& frame);

    int HotIndex = -1, PrevHotIndex = -1, PressedIndex = -1;
    // The window is being moved.
    bool InSizeMove = false;
    // Hover ends when the pointer leaves without a leave event; the morph and animation steps.
    QTimer* const LeaveTimer;
    QTimer* const MorphTimer;
    QTimer* const AnimateTimer;

    int HitTest(int x, int y);
    int SkinnedHitTest(int x, int y);
    int DefaultHitTest(int x, int y);
    void HoverTracking(int x, int y, bool inside);
    void Press(Qt::MouseButton button, int x, int y);
    void Release(Qt::MouseButton button, int x, int y);
    void LeaveTimerTick();
    void MorphTimerTick();
    void AnimateTimerTick();
    void StartMorphTimer();
    void StartAnimateTimer();
    void ResetHoverState();
    // The objects went: no object is hot or pressed.
    void ForgetObjects();
    // A pointer event of the form; true when the frame took it.
    bool HandleMouse(QEvent* event);

private:
    HitTestState HitState(int x, int y) const;
    void EnterSizeMove();
    void ExitSizeMove();
    void MoveByCaption(const QPoint& screen);

    SkinForm& frame_;
    // A press on the caption that may become a move of the window.
    bool captionPressed_ = false;
    QPoint pressScreenPos_;
    QPoint pressWindowPos_;
};

} // namespace quorvel
