#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace quorvel {

class SkinMenu;

// While a skinned menu of a form is open: keys go to the menu and reach nothing else, the wheel
// does nothing, and a press anywhere on the form, a move, a resize or the form losing the
// activation closes the menu before anything else sees it.
class SkinMenuMode : public QObject {
    Q_OBJECT
public:
    SkinMenuMode(QWidget* form, SkinMenu& menu);
    ~SkinMenuMode() override;

    void Enter();
    void Leave();
    bool Active() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnForm(QObject* watched) const;
    void Dismiss();

    QPointer<QWidget> form_;
    SkinMenu& menu_;
    bool active_ = false;
};

} // namespace quorvel
