#pragma once

#include "webhost/hostpolicy.h"

#include <QEvent>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QUrl;
class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineView;

namespace quorvel {

class DialogGuard;
class WebPanePage;
class WebPaneInterceptor;

// A pane of the window that hosts a browser engine and shows one page at a time. What its pages
// may do is its policy (HostPolicy); the pane turns it into the engine's settings, its page's
// answers and a filter on the engine's own widgets.
class WebPane : public QWidget {
    Q_OBJECT
public:
    // Asks where a download goes: the full file name, or empty to cancel it.
    using SaveAsk = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
    // The request the focus guard sends a pane to take the focus back into its page.
    static constexpr QEvent::Type FocusRequestEvent = static_cast<QEvent::Type>(QEvent::User + 68);

    explicit WebPane(QWidget* parent = nullptr);
    ~WebPane() override;

    HostPolicy& Policy() { return policy_; }

    // Runs once the window has set the pane up: puts the dialog guard in front of the pane's
    // window when no other pane did, and gives pages the floating-point environment the program
    // started with, whatever a library changed on the way.
    void Loaded();

    // Starts loading the address. With a time-out of 0 it returns true at once; otherwise it
    // waits (processing events) until the page is complete, and returns false when that took
    // longer than timeOut milliseconds. A rejected address throws.
    bool Navigate(const QString& url, quint32 timeOut = 0);

    // The pane's own record of its visibility, kept through every show and hide.
    bool Visible() const { return visibleState_; }
    void SetVisible(bool visible);
    // Gives the pane the keyboard focus when it can take it; otherwise does nothing.
    void FocusRequest();
    // Whether the keyboard focus is in the pane's page.
    bool PageHasFocus() const;

    // Replaces the question where a download goes (tests answer it themselves).
    static void SetSaveAsk(SaveAsk ask);

    bool IsLoadComplete() const { return complete_; }
    QString CurrentUrl() const;
    QWebEngineView* View() const { return view_; }
    QWebEnginePage* Page() const;
    // Whether the dialog guard stands because of this pane.
    bool HoldsDialogGuard() const { return dialogGuard_ != nullptr; }

signals:
    // The pane started loading an address (every navigation, also reloads of the same page).
    void navigationStarted(const QString& url);
    void loadFinished(bool ok);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadAddress(const QUrl& address);
    // The pane and all its parents are visible and enabled.
    bool CanFocus() const;
    // Puts the focus into the page and makes the pane its window's active control; false when
    // there is no page yet.
    bool UIActivate();
    void WatchInnerWidget(QObject* child);
    void ShowContextMenu(const QPoint& pos);
    void DownloadRequested(QWebEngineDownloadRequest* download);

    HostPolicy policy_;
    QWebEngineView* view_ = nullptr;
    WebPanePage* page_ = nullptr;
    WebPaneInterceptor* interceptor_ = nullptr;
    std::unique_ptr<DialogGuard> dialogGuard_;
    bool visibleState_ = true;
    bool complete_ = false;
    bool stopping_ = false;
};

} // namespace quorvel
