#pragma once

#include <QWebEnginePage>

namespace quorvel {

// The page of a web pane, answering as the host's policy says: page dialogs are the program's
// own, script errors stay silent, only the addresses a pane may show are followed, and pages
// asking for a new window get the user's browser instead (web addresses only).
class WebPanePage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit WebPanePage(QObject* parent = nullptr);

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

} // namespace quorvel
