#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace quorvel {

// The dialog guard: stands in front of a window (the main window) and treats every dialog that
// takes the activation from it as the host's policy says: the application's icon, a caption
// without the platform browser's brand, dialogs about scripts closed, about errors ended.
// Mnemonic keys never reach the window's controls. At most one in the process.
class DialogGuard : public QObject {
    Q_OBJECT
public:
    // Puts a guard in front of the owner, unless one stands already or there is no owner; the
    // pane that asked keeps what it gets and releases it when it goes.
    static DialogGuard* Install(QWidget* owner);
    static bool Installed();
    ~DialogGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DialogGuard(QWidget* owner);
    // Runs the treatment on one window that takes the activation; only dialogs are touched.
    void HandleDialog(QWidget* window);
    bool IsMnemonicForOwner(QObject* receiver, QEvent* event) const;

    QPointer<QWidget> owner_;
};

} // namespace quorvel
