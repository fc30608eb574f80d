#pragma once

#include <QByteArray>
#include <QString>

class QKeyEvent;
class QMenu;
class QUrl;
class QWebEnginePage;
class QWebEngineSettings;

namespace quorvel {

// What a web pane lets its pages do, in one place: the pane's page, its key filter, its request
// filter, its context menu and the dialog guard take their answers from here. The program runs
// both of its panes with the defaults.
//
// The rest of the policy has no switch: a page's script errors are never shown and never stop
// its scripts, a download goes where the user says (or nowhere), and the engine asks for nothing
// beyond showing the page (no camera, location, notifications, full screen, passwords).
class HostPolicy {
public:
    // What becomes of a dialog that takes the activation from the guarded window.
    enum class DialogVerdict { Keep, Close, End };

    // Ctrl shortcuts a page never gets, as the letters or digits on their keys: Ctrl+N would ask
    // the engine for a window of its own. Upper case: a lower-case letter names no key. Ctrl with
    // Shift always reaches the page; Alt is not looked at.
    QString RefusedCtrlKeys = QStringLiteral("N");
    // Sent as the user agent of the pane's requests in place of the engine's, when not empty.
    QString UserAgent;

    // A key press, or the shortcut check the toolkit makes before it, that the page does not get.
    bool RefusesKey(const QKeyEvent& event) const;
    // The header UserAgent makes: its first line, and only when that is printable text, so that
    // nothing after a line end becomes a header of its own. Empty: the engine's own agent.
    QByteArray UserAgentHeader() const;

    // The engine settings a pane's page runs with.
    static void Apply(QWebEngineSettings& settings);
    // Whether a pane follows an address: web, local and in-page schemes only. The engine would
    // hand any other to whatever program the desktop has for it.
    static bool Navigates(const QUrl& address);
    // Whether an address a page opens in a new window goes to the user's browser. No window of
    // the program's own ever shows it, and only web addresses leave the program.
    static bool OpensInBrowser(const QUrl& address);
    // The engine's context menu as a pane shows it: without page source and the inspector, which
    // would need a window of the program's own.
    static void TrimContextMenu(QMenu& menu, QWebEnginePage& page);
    // A dialog's caption without the platform browser's brand: the first "Microsoft " and the
    // first "Internet Explorer" go, case-sensitive.
    static QString DialogCaption(const QString& caption);
    // Dialogs about a script are closed, dialogs about an error ended (any letter case).
    static DialogVerdict VerdictFor(const QString& caption);
};

} // namespace quorvel
