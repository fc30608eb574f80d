#include "webhost/dialogguard.h"

#include "webhost/customwebpane.h"

#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QShortcutEvent>
#include <QTimer>

namespace quorvel {
namespace {

DialogGuard* gGuard = nullptr;

} // namespace

DialogGuard* DialogGuard::Install(CustomWebPane& pane, QWidget* owner)
{
    if (gGuard || !owner || !qApp)
        return nullptr;
    gGuard = new DialogGuard(pane, owner);
    return gGuard;
}

bool DialogGuard::Installed() { return gGuard != nullptr; }

DialogGuard::DialogGuard(CustomWebPane& pane, QWidget* owner) : pane_(pane), owner_(owner)
{
    qApp->installEventFilter(this);
}

DialogGuard::~DialogGuard()
{
    if (qApp)
        qApp->removeEventFilter(this);
    if (gGuard == this)
        gGuard = nullptr;
}

QString DialogGuard::ReplacedCaption(const QString& caption, const QString& newCaption)
{
    QString result = caption;
    const qsizetype brand = result.indexOf(QLatin1String("Microsoft "));
    if (brand >= 0)
        result.remove(brand, 10);
    const qsizetype browser = result.indexOf(QLatin1String("Internet Explorer"));
    if (browser >= 0)
        result.replace(browser, 17, newCaption);
    return result;
}

DialogGuard::Verdict DialogGuard::VerdictFor(const QString& caption)
{
    const QString upper = caption.toUpper();
    if (upper.contains(QLatin1String("SCRIPT")))
        return Verdict::Close;
    if (upper.contains(QLatin1String("ERROR")))
        return Verdict::Destroy;
    return Verdict::Keep;
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
    QString caption = dialog->windowTitle();
    DialogBoxesOptions& boxes = pane_.DialogBoxes;
    if (pane_.OnShowDialog)
        pane_.OnShowDialog(pane_, dialog, boxes.DisableAll, boxes.NewCaption, caption);
    QPointer<QDialog> guarded(dialog);
    // Closing and ending happen once the activation is through: the dialog may be in the
    // middle of showing itself.
    const auto close = [guarded] {
        if (guarded)
            guarded->close();
    };
    if (boxes.DisableAll)
        QTimer::singleShot(0, dialog, close);
    if (boxes.ReplaceIcon)
        dialog->setWindowIcon(QApplication::windowIcon());
    if (boxes.ReplaceCaption) {
        caption = ReplacedCaption(caption, boxes.NewCaption);
        dialog->setWindowTitle(caption);
    }
    if (!pane_.DisableErrors.ScriptErrorsSuppressed)
        return;
    switch (VerdictFor(caption)) {
    case Verdict::Close:
        QTimer::singleShot(0, dialog, close);
        break;
    case Verdict::Destroy:
        // Ended whether or not the dialog would agree to close.
        QTimer::singleShot(0, dialog, [guarded] {
            if (guarded)
                guarded->done(QDialog::Rejected);
        });
        break;
    case Verdict::Keep:
        break;
    }
}

} // namespace quorvel
