#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QTimer;
class QWidget;
class QWindow;

namespace quorvel {

// In full screen the picture has the screen to itself: the control bar and the pointer go after
// a while without pointer movement and come back as soon as it moves. They stay while a menu is
// open or the pointer rests on the bar, where the viewer is about to use it.
class PointerIdleHider : public QObject {
    Q_OBJECT
public:
    static constexpr int kIdleMs = 2500;

    // player: the widget whose pointer goes; bar: the controls that go with it; video: the
    // native window over the player, which has a pointer of its own.
    PointerIdleHider(QWidget* player, QWidget* bar, QWindow* video);

    // On in full screen; off brings bar and pointer back and stops watching.
    void SetActive(bool on);
    bool IsActive() const { return active_; }
    bool ControlsHidden() const { return hidden_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Idle();
    void Reveal();
    bool MayHide() const;

    QWidget* player_;
    QWidget* bar_;
    QPointer<QWindow> video_;
    QTimer* timer_;
    bool active_ = false;
    bool hidden_ = false;
    QPoint lastPointer_;
};

} // namespace quorvel
