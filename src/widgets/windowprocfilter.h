#pragma once

#include <QObject>

#include <functional>

namespace quorvel {

// Puts a procedure in front of every event of one control, the way a window procedure is
// replaced: the procedure sees each event first and decides whether and how it goes on.
// Saved() delivers an event to the control's own handling.
class WindowProcFilter : public QObject {
    Q_OBJECT
public:
    using Procedure = std::function<void(QEvent*)>;

    WindowProcFilter(QObject* control, Procedure procedure);
    void Saved(QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* control_;
    Procedure procedure_;
    bool passing_ = false;
};

} // namespace quorvel
