#include "webhost/webpanepage.h"

#include "platform/shellopen.h"
#include "webhost/hostpolicy.h"

#include <QAuthenticator>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineView>

namespace quorvel {
namespace {

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

// Catches the first address a new window is asked to load and hands it to the user's browser:
// a window of ours never shows it.
class OutsidePage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        if (HostPolicy::OpensInBrowser(url))
            ShellOpen(url.toString(QUrl::FullyEncoded));
        deleteLater();
        return false;
    }
};

} // namespace

WebPanePage::WebPanePage(QObject* parent) : QWebEnginePage(parent)
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
    // A page that asks for a password gets none: the authenticator left as it is refuses.
    connect(this, &QWebEnginePage::authenticationRequired, this, [](const QUrl&, QAuthenticator*) {});
}

QWebEnginePage* WebPanePage::createWindow(WebWindowType) { return new OutsidePage(this); }

void WebPanePage::javaScriptAlert(const QUrl&, const QString& message)
{
    ExecPageDialog(
        new QMessageBox(QMessageBox::Warning, QString(), message, QMessageBox::Ok, QWebEngineView::forPage(this)));
}

bool WebPanePage::javaScriptConfirm(const QUrl&, const QString& message)
{
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

void WebPanePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&)
{
    // What pages write to their console, their uncaught errors included, does not concern the
    // user: the scripts go on and nothing is shown.
}

bool WebPanePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (!HostPolicy::Navigates(url))
        return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

} // namespace quorvel
