#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QDialog;
class QWidget;

namespace quorvel {

class CustomWebPane;

// The dialog guard: stands in front of a window (the main window) and treats every dialog
// that takes the activation from it: the application's icon, a caption without the browser's
// brand, and dialogs about scripts closed, about errors ended, as the pane's settings say.
// Mnemonic keys never reach the window's controls. At most one in the process.
class DialogGuard : public QObject {
    Q_OBJECT
public:
    enum class Verdict { Keep, Close, Destroy };

    // Puts a guard in front of the owner for the pane, unless one stands already or there is
    // no owner; the pane keeps what it gets and releases it when it goes.
    static DialogGuard* Install(CustomWebPane& pane, QWidget* owner);
    static bool Installed();
    ~DialogGuard() override;

    // The caption without its first "Microsoft ", with its first "Internet Explorer" replaced.
    static QString ReplacedCaption(const QString& caption, const QString& newCaption);
    // A caption about a script closes its dialog, one about an error ends it.
    static Verdict VerdictFor(const QString& caption);
    // Runs the treatment on one window that takes the activation; only dialogs are touched.
    void HandleDialog(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DialogGuard(CustomWebPane& pane, QWidget* owner);
    bool IsMnemonicForOwner(QObject* receiver, QEvent* event) const;

    CustomWebPane& pane_;
    QPointer<QWidget> owner_;
};

} // namespace quorvel
