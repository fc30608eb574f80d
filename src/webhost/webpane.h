#pragma once

#include "webhost/customwebpane.h"

#include <QEvent>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;
class QUrl;
class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineView;

namespace quorvel {

class DialogGuard;
class WebPanePage;
class WebPaneInterceptor;

// A pane of the window that hosts a browser engine and shows one page at a time. The host's
// answers (CustomWebPane) become the engine's settings, its page's overrides and a filter on the
// engine's own widgets.
class WebPane : public QWidget, public CustomWebPane {
    Q_OBJECT
public:
    // Called while Navigate waits, with the start time and the time-out; set cancel to stop.
    using BusyWait = std::function<void(WebPane* sender, qint64 startTick, bool& cancel, quint32& timeOut)>;
    // Asks where a download goes: the full file name, or empty to cancel it.
    using SaveAsk = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
    // The request the focus guard sends a pane to take the focus back into its page.
    static constexpr QEvent::Type FocusRequestEvent = static_cast<QEvent::Type>(QEvent::User + 68);

    explicit WebPane(QWidget* parent = nullptr);
    ~WebPane() override;

    // Runs once the window has set the pane's properties: puts the dialog guard in front of the
    // pane's window when no other pane did, makes the script-error answer and the
    // floating-point environment what the pane's DisableErrors says.
    void Loaded();

    // Starts loading the address. With a time-out of 0 it returns true at once; otherwise it
    // waits (processing events) until the page is complete, and returns false when the wait
    // was cancelled or took longer than timeOut milliseconds. A rejected address throws.
    bool Navigate(const QString& url, quint32 timeOut = 0);

    bool Visible() const { return visibleState_; }
    void SetVisible(bool visible);
    bool VisibleState() const { return visibleState_; }
    // Gives the pane the keyboard focus when it can take it; otherwise does nothing.
    void FocusRequest();
    bool CanFocus() const;
    // Whether the keyboard focus is in the pane's page.
    bool PageHasFocus() const;
    // Puts the focus into the page and makes the pane its window's active control; false when
    // there is no page yet.
    bool UIActivate();

    void SetOnBusyWait(BusyWait handler) { onBusyWait_ = std::move(handler); }
    // The pane's own menu, shown where a context menu is suppressed.
    QPointer<QMenu> PopupMenu;
    // Replaces the question where a download goes (tests answer it themselves).
    static void SetSaveAsk(SaveAsk ask);

    bool IsLoadComplete() const { return complete_; }
    QString CurrentUrl() const;
    QWebEngineView* View() const { return view_; }
    QWebEnginePage* Page() const;
    // Whether the dialog guard stands because of this pane.
    bool HoldsDialogGuard() const { return dialogGuard_ != nullptr; }

    // Applies the answers that the engine keeps as settings; run again when they change.
    void ApplySettings();

    // The page's reports, turned into the host's questions.
    void PageScriptError(const QString& message, int line, const QString& source);
    void PageContextMenu(const QPoint& pos);

signals:
    // The pane started loading an address (every navigation, also reloads of the same page).
    void navigationStarted(const QString& url);
    void loadFinished(bool ok);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void AmbientPropertyChanged(int dispId) override;
    bool ShowPopupMenu(QPoint ppt) override;
    bool ShowHostMenu(unsigned dwID, QPoint ppt) override;
    void SetRegisterAsDropTarget(bool registered) override;
    bool HasInnerWindows() const override;
    void SubclassInnerWindows() override;

private:
    void LoadAddress(const QUrl& address);
    void WatchInnerWidget(QWidget* widget);
    bool FilterKey(QEvent* event);
    void DownloadRequested(QWebEngineDownloadRequest* download);
    unsigned ContextMenuKind() const;
    QMenu* StandardMenu();

    QWebEngineView* view_ = nullptr;
    WebPanePage* page_ = nullptr;
    WebPaneInterceptor* interceptor_ = nullptr;
    std::unique_ptr<DialogGuard> dialogGuard_;
    BusyWait onBusyWait_;
    bool visibleState_ = true;
    bool complete_ = false;
    bool stopping_ = false;
    bool askingAboutScript_ = false;
};

} // namespace quorvel
