#pragma once

#include "app/sourcekind.h"
#include "base/requestoptions.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QMenu;
class QModelIndex;
class QThread;
class QTimer;
class QWidget;

namespace quorvel {

class ChannelTree;
class ChannelTreeView;
class PlaylistWorker;
class ProviderAccounts;
class ProviderLogin;
class ViewerDatabase;

// The window's side of playlist sources: "Add playlist…", "Refresh playlists" and "Remove
// playlist…" in the channel tree's context menu, playlists dropped onto the window, the reading
// of old sources after start, and a status line over the bottom of the tree with the progress
// and a short summary. The work runs on a PlaylistWorker's thread; when it changed the
// catalogue the tree is filled again at once, keeping the open categories, the selection and
// the playing channel (which is never interrupted).
class PlaylistManager : public QObject {
public:
    static constexpr long long kStaleAfterSeconds = 24 * 60 * 60;

    PlaylistManager(QWidget* window, ChannelTreeView* tree, std::string catalogueFile);
    ~PlaylistManager() override;

    // A further entry of the tree's menu, below the playlists' own.
    void AddMenuEntry(const QString& text, std::function<void()> action);

    // Reads again, in the background, the sources last read more than a day ago.
    void Start();
    // The dialog, with the location filled in (a drop) or empty.
    void AddPlaylist(const QString& location = QString());
    // Reads the playlist at location as a source, or remembers a programme guide, without asking.
    void Add(const QString& location, SourceKind kind = SourceKind::Playlist);
    // Reads a provider account (a login given in the dialog) without asking.
    void AddAccount(const ProviderLogin& login);
    void RefreshPlaylists();
    void RemovePlaylist();

    // What the channel's server must see in its requests, as its playlist gave it.
    RequestOptions RequestOptionsFor(const QString& channel);
    // A provider channel's address as opened, with its account's password; any other as it is.
    QString OpenedAddress(const QString& kept) const;
    // The address as the catalogue keeps it, for what is stored or shown; any other as it is.
    QString KeptAddress(const QString& opened) const;
    // Whether the channel's account takes one stream at a time: nothing is opened beside it.
    bool SingleConnection(const QString& address) const;

    // Called after playlists were read (added or refreshed), so what hangs on them follows.
    void OnSourcesRead(std::function<void()> then) { sourcesRead_ = std::move(then); }
    // Shows the text in the status line for that long (0: until the next).
    void Say(const QString& text, int milliseconds);
    // A line for Say whose "details" link opens the details in a window of their own: what
    // would cover the tree (a list of guides that could not be read) stays one short line.
    static QString WithDetails(const QString& line, const QString& details);
    // Called after the tree is filled again, before the viewer's place in it is put back.
    void SetRefilled(std::function<void()> refilled) { refilled_ = std::move(refilled); }
    // Adds entries to the context menu for the row under the mouse (invalid over empty space).
    void SetMenuExtension(std::function<void(QMenu&, const QModelIndex&)> extend) { extendMenu_ = std::move(extend); }

    // Jobs queued or running.
    int Pending() const { return pending_; }
    QLabel* Status() const { return status_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Post(const std::function<void(PlaylistWorker&)>& job);
    void Finished(const QString& summary, bool failed, const std::shared_ptr<const ChannelTree>& tree,
                  const QString& details);
    // The summary with a link to a box whose details list the entries skipped.
    void SayWithDetails(const QString& summary, const QString& details, int milliseconds);
    void ShowTree(const std::shared_ptr<const ChannelTree>& catalogue);
    void PlaceStatus();
    void ShowMenu(const QPoint& at);
    void ShowDetails(const QString& link);
    ViewerDatabase* Database();

    QWidget* window_;
    ChannelTreeView* tree_;
    std::string catalogue_;
    QLabel* status_;
    QTimer* hide_;
    QThread* thread_;
    PlaylistWorker* worker_ = nullptr;
    std::atomic<bool> cancel_{false};
    std::unique_ptr<ViewerDatabase> db_; // this thread's connection, for lookups
    std::unique_ptr<ProviderAccounts> accounts_;
    std::function<void()> refilled_;
    std::function<void(QMenu&, const QModelIndex&)> extendMenu_;
    int pending_ = 0;
    bool noticeShown_ = false;
    QString details_; // of the summary shown
    std::vector<std::pair<QString, std::function<void()>>> extraEntries_;
    std::function<void()> sourcesRead_;
};

} // namespace quorvel
