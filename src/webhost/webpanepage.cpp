#include "webhost/webpanepage.h"

#include "widgets/errorbox.h"
#include "platform/shellopen.h"
#include "webhost/webpane.h"

#include <QAuthenticator>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace quorvel {
namespace {

// The message-box kinds a page's dialogs are, for a handler that answers them.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr int IDOK = 1;

// Runs a page's dialog; the view it belongs to, and the dialog with it, may go meanwhile.
int ExecPageDialog(QDialog* dialog)
{
    const QPointer<QDialog> guarded(dialog);
    const int result = dialog->exec();
    if (!guarded)
        return QDialog::Rejected;
    delete guarded.data();
    return result;
}

bool IsWebScheme(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Catches the first address a new window is asked to load and hands it to the user's browser:
// a window of ours never shows it.
class OutsidePage : public QWebEnginePage {
public:
    OutsidePage(WebPane& pane, QObject* parent) : QWebEnginePage(parent), pane_(pane) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        const QString address = url.toString(QUrl::FullyEncoded);
        HResult verdict = E_FAIL;
        RunHandler([&] {
            if (pane_.FindService(SID_SNewWindowManager, IID_INewWindowManager))
                verdict = pane_.EvaluateNewWindow(address, 0);
        });
        // The host's new-window manager may refuse the window outright.
        if (verdict != S_FALSE && IsWebScheme(url.scheme().toLower()))
            ShellOpen(address);
        deleteLater();
        return false;
    }

private:
    WebPane& pane_;
};

} // namespace

WebPanePage::WebPanePage(WebPane& pane, QObject* parent) : QWebEnginePage(parent), pane_(pane)
{
    // Nothing a page asks for beyond showing itself is granted: no camera, microphone, screen,
    // location or notifications, no protocol handlers, no file-system access, no full screen.
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::quotaRequested, this, [](QWebEngineQuotaRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::authenticationRequired, this, [this](const QUrl&, QAuthenticator* authenticator) {
        RunHandler([&] {
            if (!pane_.FindService(IID_IAuthenticate, IID_IAuthenticate))
                return;
            std::optional<QString> user;
            std::optional<QString> password;
            if (pane_.Authenticate(&user, &password) == S_OK && user) {
                authenticator->setUser(*user);
                authenticator->setPassword(password.value_or(QString()));
            }
        });
    });
    // A new page runs its scripts again.
    connect(this, &QWebEnginePage::loadStarted, this, [this] { scriptsStopped_ = false; });
}

void WebPanePage::StopScripts()
{
    scriptsStopped_ = true;
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
}

bool WebPanePage::IsPaneScheme(const QString& scheme)
{
    const QString s = scheme.toLower();
    return IsWebScheme(s) || s == QLatin1String("file") || s == QLatin1String("data") || s == QLatin1String("blob") ||
           s == QLatin1String("about");
}

QWebEnginePage* WebPanePage::createWindow(WebWindowType)
{
    // Pages that may not open windows navigate in place, as the option asks.
    if (pane_.HostUIFlags() & DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION)
        return this;
    return new OutsidePage(pane_, this);
}

void WebPanePage::javaScriptAlert(const QUrl&, const QString& message)
{
    int result = 0;
    HResult answer = S_FALSE;
    RunHandler([&] { answer = pane_.ShowMessage(message, QString(), MB_OK | MB_ICONWARNING, &result); });
    if (answer == S_FALSE)
        ExecPageDialog(new QMessageBox(QMessageBox::Warning, QString(), message, QMessageBox::Ok,
                                       QWebEngineView::forPage(this)));
}

bool WebPanePage::javaScriptConfirm(const QUrl&, const QString& message)
{
    int result = 0;
    HResult answer = S_FALSE;
    RunHandler([&] { answer = pane_.ShowMessage(message, QString(), MB_OKCANCEL | MB_ICONWARNING, &result); });
    if (answer != S_FALSE)
        return result == IDOK;
    return ExecPageDialog(new QMessageBox(QMessageBox::Question, QString(), message,
                                          QMessageBox::Ok | QMessageBox::Cancel, QWebEngineView::forPage(this))) ==
           QMessageBox::Ok;
}

bool WebPanePage::javaScriptPrompt(const QUrl&, const QString& message, const QString& defaultValue, QString* result)
{
    auto* dialog = new QInputDialog(QWebEngineView::forPage(this));
    dialog->setLabelText(message);
    dialog->setTextValue(defaultValue);
    const QPointer<QInputDialog> guarded(dialog);
    const bool ok = dialog->exec() == QDialog::Accepted && guarded;
    if (ok && result)
        *result = dialog->textValue();
    delete guarded.data();
    return ok;
}

void WebPanePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                           const QString& source)
{
    // An error no script caught ends up here; what pages write to their console does not
    // concern the user.
    if (level == ErrorMessageLevel && message.startsWith(QLatin1String("Uncaught")))
        pane_.PageScriptError(message, line, source);
}

bool WebPanePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // Addresses of other schemes would be handed to whatever program the desktop has for them.
    if (!IsPaneScheme(url.scheme()))
        return false;
    if (type == NavigationTypeReload) {
        HResult answer = OLECMDERR_E_NOTSUPPORTED;
        RunHandler([&] {
            answer = pane_.Exec(&CGID_DocHostCommandHandler, CustomWebPane::IDM_REFRESH, 0, QVariant(), nullptr);
        });
        // The host's refresh handler cancelled it.
        if (answer == S_OK)
            return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

} // namespace quorvel
