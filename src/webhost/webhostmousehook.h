#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QWheelEvent;
class QWidget;

namespace quorvel {

// The wheel guard: turning the wheel over a web pane whose page does not hold the keyboard
// focus moves the focus into the page under the pointer and drops that one turn; the next
// turns scroll the page. One per process, shared by whoever starts it.
class WebHostMouseHook : public QObject {
    Q_OBJECT
public:
    using WheelHandler = std::function<void(QPoint point, QWidget* target, bool& skip, QWheelEvent* event)>;

    // The one hook, created on first use; every Create is matched by a Release.
    static WebHostMouseHook* Create();
    void Release();
    static WebHostMouseHook* Instance();

    void SetOnMouseWheel(WheelHandler handler) { onMouseWheel_ = std::move(handler); }
    // Only turns over the active window count.
    void SetActiveFormOnly(bool activeFormOnly) { activeFormOnly_ = activeFormOnly; }
    bool ActiveFormOnly() const { return activeFormOnly_; }
    void Hook();
    void Unhook();
    bool Hooked() const { return hooked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WebHostMouseHook() = default;
    ~WebHostMouseHook() override;
    // Whether the turn was taken: the focus moved and the turn is dropped.
    bool Wheel(QWheelEvent* event);

    WheelHandler onMouseWheel_;
    bool activeFormOnly_ = false;
    bool hooked_ = false;
    int uses_ = 0;
};

} // namespace quorvel
