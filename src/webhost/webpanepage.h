#pragma once

#include <QWebEnginePage>

namespace quorvel {

class WebPane;

// The page of a web pane, with the host's answers: page dialogs as the program's own, script
// errors to the pane, only the addresses a page may reach here, and pages asking for a new
// window get the user's browser instead (web addresses only).
class WebPanePage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit WebPanePage(WebPane& pane, QObject* parent = nullptr);

    // Scripts stopped after a script error, until the next page.
    bool ScriptsStopped() const { return scriptsStopped_; }
    void StopScripts();
    // Whether the engine may show an address of that scheme in a pane.
    static bool IsPaneScheme(const QString& scheme);

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    WebPane& pane_;
    bool scriptsStopped_ = false;
};

} // namespace quorvel
