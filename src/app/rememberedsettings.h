#pragma once

#include "userdata/settingsstore.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QModelIndex;
class QTimer;
class QWidget;

namespace quorvel {

class ChannelTreeView;
class SkinForm;
class WatchSession;

// What the viewer left as it was, found again at the next start: the volume and the mute, the
// window's place and whether it was maximized, the categories left open and the channel left
// selected. Stored a moment after they change and when the window closes; a first start finds
// nothing and keeps the window's own defaults. The channel comes back selected, not playing:
// a click on it (or Enter) plays it.
class RememberedSettings : public QObject {
public:
    // Storing waits this long after a change, so that a drag or a turn of the wheel is one write.
    static constexpr int kSaveDelayMs = 1000;

    // The pieces it keeps: the window and its frame, the channel tree, and the player through
    // the watch session. playerFullScreen: the video covers the screen (the window's place then
    // is not the one to keep).
    struct Parts {
        QWidget& window;
        SkinForm& frame;
        ChannelTreeView& tree;
        WatchSession& session;
        std::function<bool()> playerFullScreen;
    };

    RememberedSettings(Parts parts, const std::string& catalogueFile);
    ~RememberedSettings() override;

    // Puts back what the last run left; call once, with the tree filled and before the window shows.
    void Restore();
    // Stores what differs from what was stored, at once.
    void SaveNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Schedule();
    SettingsStore::Values Current() const;
    void RestoreWindow(const SettingsStore::Values& values);
    void RestoreTree(const SettingsStore::Values& values);
    void TrackPlace();
    void PlayRestored(const QModelIndex& row);

    Parts parts_;
    std::unique_ptr<SettingsStore> store_;
    SettingsStore::Values stored_;
    QTimer* timer_;
    // The sound and the window's place as last seen in a state worth keeping.
    int volume_ = -1;
    bool mute_ = false;
    bool muteKnown_ = false;
    QPoint place_;
    bool maximized_ = false;
    bool placeKnown_ = false;
    // The channel that came back selected, until it plays or another is chosen.
    QString restoredCategory_, restoredChannel_;
    bool failed_ = false;
};

} // namespace quorvel
