#include "webhost/dialogguard.h"

#include "webhost/hostpolicy.h"

#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QShortcutEvent>
#include <QTimer>

namespace quorvel {
namespace {

DialogGuard* gGuard = nullptr;

} // namespace

DialogGuard* DialogGuard::Install(QWidget* owner)
{
    if (gGuard || !owner || !qApp)
        return nullptr;
    gGuard = new DialogGuard(owner);
    return gGuard;
}

bool DialogGuard::Installed() { return gGuard != nullptr; }

DialogGuard::DialogGuard(QWidget* owner) : owner_(owner) { qApp->installEventFilter(this); }

DialogGuard::~DialogGuard()
{
    if (qApp)
        qApp->removeEventFilter(this);
    if (gGuard == this)
        gGuard = nullptr;
}

bool DialogGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && watched == owner_) {
        // The toolkit names the window that takes the activation before it tells the old one.
        QWidget* next = QApplication::activeWindow();
        if (next && next != owner_)
            HandleDialog(next);
    } else if (event->type() == QEvent::Shortcut && IsMnemonicForOwner(watched, event)) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool DialogGuard::IsMnemonicForOwner(QObject* receiver, QEvent* event) const
{
    if (!owner_ || !receiver->isWidgetType() || static_cast<QWidget*>(receiver)->window() != owner_)
        return false;
    const QKeySequence& key = static_cast<QShortcutEvent*>(event)->key();
    return key.count() == 1 && key[0].keyboardModifiers() == Qt::AltModifier;
}

void DialogGuard::HandleDialog(QWidget* window)
{
    auto* dialog = qobject_cast<QDialog*>(window);
    if (!dialog)
        return;
    dialog->setWindowIcon(QApplication::windowIcon());
    const QString caption = HostPolicy::DialogCaption(dialog->windowTitle());
    dialog->setWindowTitle(caption);
    // Closing and ending happen once the activation is through: the dialog may be in the middle
    // of showing itself.
    const QPointer<QDialog> guarded(dialog);
    switch (HostPolicy::VerdictFor(caption)) {
    case HostPolicy::DialogVerdict::Close:
        QTimer::singleShot(0, dialog, [guarded] {
            if (guarded)
                guarded->close();
        });
        break;
    case HostPolicy::DialogVerdict::End:
        // Ended whether or not the dialog would agree to close.
        QTimer::singleShot(0, dialog, [guarded] {
            if (guarded)
                guarded->done(QDialog::Rejected);
        });
        break;
    case HostPolicy::DialogVerdict::Keep:
        break;
    }
}

} // namespace quorvel
