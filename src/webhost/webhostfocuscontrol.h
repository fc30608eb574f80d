#pragma once

#include <QObject>

namespace quorvel {

// The focus guard: when a window of the program becomes active again and its active control
// is a web pane whose page does not hold the keyboard focus, the focus goes back into that
// page. One per process.
class WebHostFocusControl : public QObject {
    Q_OBJECT
public:
    static WebHostFocusControl* Create();
    static void Destroy();
    static WebHostFocusControl* Instance();

    // How many times the guard asked a pane to take the focus back.
    int Requests() const { return requests_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WebHostFocusControl();
    ~WebHostFocusControl() override;
    void WindowActivated(QWidget* window);

    int requests_ = 0;
};

} // namespace quorvel
