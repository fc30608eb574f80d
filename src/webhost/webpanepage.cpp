#include "webpanepage.h"

#include "shellopen.h"

#include <QUrl>

namespace quorvel {
namespace {

// Catches the first address a new window is asked to load and hands it to the browser.
class OutsidePage : public QWebEnginePage {
public:
    explicit OutsidePage(QObject* parent) : QWebEnginePage(parent) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        const QString scheme = url.scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            ShellOpen(url.toString(QUrl::FullyEncoded));
        deleteLater();
        return false;
    }
};

} // namespace

WebPanePage::WebPanePage(QObject* parent) : QWebEnginePage(parent) {}

QWebEnginePage* WebPanePage::createWindow(WebWindowType) { return new OutsidePage(this); }

void WebPanePage::javaScriptAlert(const QUrl&, const QString&) {}

bool WebPanePage::javaScriptConfirm(const QUrl&, const QString&) { return false; }

bool WebPanePage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) { return false; }

void WebPanePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) {}

} // namespace quorvel
