#include "webhost/hostpolicy.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace quorvel {
namespace {

bool IsWebScheme(const QString& scheme) { return scheme == QLatin1String("http") || scheme == QLatin1String("https"); }

// No separator at either end or next to another.
void TidySeparators(QMenu& menu)
{
    QAction* previous = nullptr;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator() && (!previous || previous->isSeparator()))
            menu.removeAction(action);
        else
            previous = action;
    }
    const auto actions = menu.actions();
    if (!actions.isEmpty() && actions.back()->isSeparator())
        menu.removeAction(actions.back());
}

} // namespace

bool HostPolicy::RefusesKey(const QKeyEvent& event) const
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::ShortcutOverride)
        return false;
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (!mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::ShiftModifier))
        return false;
    // The toolkit's codes of letter and digit keys are their upper-case characters.
    const int key = event.key();
    const bool letterOrDigit = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
    return letterOrDigit && RefusedCtrlKeys.contains(QChar(key));
}

QByteArray HostPolicy::UserAgentHeader() const
{
    const QString line = UserAgent.section(QRegularExpression(QStringLiteral("[\\r\\n]")), 0, 0).trimmed();
    for (const QChar c : line)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return {};
    return line.toLatin1();
}

void HostPolicy::Apply(QWebEngineSettings& settings)
{
    settings.setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings.setAttribute(QWebEngineSettings::AutoLoadImages, true);
    settings.setAttribute(QWebEngineSettings::ShowScrollBars, true);
    // The panes show local pages that link to and show things from the web.
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    // Links of schemes the engine does not know would go to the desktop, which runs whatever
    // program claims them.
    settings.setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    // A page may take the focus for itself (its window's focus()).
    settings.setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, true);
    // What is dropped on a page is opened there, as the browser would.
    settings.setAttribute(QWebEngineSettings::NavigateOnDropEnabled, true);
    // Plug-ins stay as the engine has them, off: its only one, the document viewer, costs a
    // third of a second at every start; documents a page offers are downloads.
}

bool HostPolicy::Navigates(const QUrl& address)
{
    const QString s = address.scheme().toLower();
    return IsWebScheme(s) || s == QLatin1String("file") || s == QLatin1String("data") || s == QLatin1String("blob") ||
           s == QLatin1String("about");
}

bool HostPolicy::OpensInBrowser(const QUrl& address) { return IsWebScheme(address.scheme().toLower()); }

void HostPolicy::TrimContextMenu(QMenu& menu, QWebEnginePage& page)
{
    menu.removeAction(page.action(QWebEnginePage::ViewSource));
    menu.removeAction(page.action(QWebEnginePage::InspectElement));
    TidySeparators(menu);
}

QString HostPolicy::DialogCaption(const QString& caption)
{
    QString result = caption;
    const qsizetype brand = result.indexOf(QLatin1String("Microsoft "));
    if (brand >= 0)
        result.remove(brand, 10);
    const qsizetype browser = result.indexOf(QLatin1String("Internet Explorer"));
    if (browser >= 0)
        result.remove(browser, 17);
    return result;
}

HostPolicy::DialogVerdict HostPolicy::VerdictFor(const QString& caption)
{
    const QString upper = caption.toUpper();
    if (upper.contains(QLatin1String("SCRIPT")))
        return DialogVerdict::Close;
    if (upper.contains(QLatin1String("ERROR")))
        return DialogVerdict::End;
    return DialogVerdict::Keep;
}

} // namespace quorvel
