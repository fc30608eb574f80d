#pragma once

#include <QObject>

class QWheelEvent;

namespace quorvel {

// The wheel guard: turning the wheel over a web pane whose page does not hold the keyboard
// focus moves the focus into the page under the pointer and drops that one turn; the next
// turns scroll the page. The web host's module runs one for the process.
class WebHostMouseHook : public QObject {
    Q_OBJECT
public:
    WebHostMouseHook();
    ~WebHostMouseHook() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the turn was taken: the focus moved and the turn is dropped.
    bool Wheel(QWheelEvent* event);
};

} // namespace quorvel
