#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QUrl;
class QWebEnginePage;
class QWebEngineView;

namespace quorvel {

// A pane of the window that hosts a browser engine and shows one page at a time.
class WebPane : public QWidget {
    Q_OBJECT
public:
    // Called while Navigate waits, with the start time and the time-out; set cancel to stop.
    using BusyWait = std::function<void(WebPane* sender, qint64 startTick, bool& cancel, quint32& timeOut)>;

    explicit WebPane(QWidget* parent = nullptr);
    ~WebPane() override;

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

    // Ctrl shortcuts the page does not get, as key letters ("N": no new windows).
    QString DisableCtrlShortcuts() const { return disableCtrlShortcuts_; }
    void SetDisableCtrlShortcuts(const QString& letters) { disableCtrlShortcuts_ = letters.toUpper(); }
    void SetOnBusyWait(BusyWait handler) { onBusyWait_ = std::move(handler); }

    bool IsLoadComplete() const { return complete_; }
    QString CurrentUrl() const;
    QWebEngineView* View() const { return view_; }
    QWebEnginePage* Page() const { return page_; }

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

    QWebEngineView* view_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    QString disableCtrlShortcuts_ = QStringLiteral("N");
    BusyWait onBusyWait_;
    bool visibleState_ = true;
    bool complete_ = false;
    bool stopping_ = false;
};

} // namespace quorvel
