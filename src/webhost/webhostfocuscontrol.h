#pragma once

#include <QObject>

class QWidget;

namespace quorvel {

// The focus guard: when a window of the program becomes active again and its active control
// is a web pane whose page does not hold the keyboard focus, the focus goes back into that
// page. The web host's module runs one for the process.
class WebHostFocusControl : public QObject {
    Q_OBJECT
public:
    WebHostFocusControl();
    ~WebHostFocusControl() override;

    // How many times the guard asked a pane to take the focus back.
    int Requests() const { return requests_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WindowActivated(QWidget* window);

    int requests_ = 0;
};

} // namespace quorvel
