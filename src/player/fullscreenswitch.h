#pragma once

#include "widgets/alignment.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

namespace quorvel {

// Full screen for a child control: its window goes full screen with the control covering all
// of it, and comes back as it was (place in the window, stacking, size limits, keyboard focus).
// The control keeps its native windows, and so the video its GL context. Escape leaves, wherever
// the keyboard focus went.
class FullScreenSwitch : public QObject {
    Q_OBJECT
public:
    explicit FullScreenSwitch(QWidget* subject);

    bool IsOn() const { return on_; }
    void Set(bool on);

signals:
    void switched(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Enter();
    void Leave();
    void CoverScreen();

    QWidget* subject_;
    bool on_ = false;
    QPointer<QWidget> homeParent_;
    QPointer<QWidget> homeAbove_;
    QPointer<QWidget> homeFocus_;
    QRect homeGeometry_;
    Align homeAlign_ = Align::None;
    Qt::WindowStates homeWindowState_;
    QRect homeWindowGeometry_;
    QSize homeMinimumSize_;
    QSize homeMaximumSize_;
    // How long the window manager gets to make the window full screen.
    static constexpr int kFullScreenGraceMs = 300;
};

} // namespace quorvel
