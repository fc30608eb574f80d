#pragma once

#include <QWebEnginePage>

namespace quorvel {

// The page of a web pane, with the host's answers: no script dialogs or errors in the user's
// face, and pages asking for a new window get the user's browser instead (web addresses only).
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
};

} // namespace quorvel
