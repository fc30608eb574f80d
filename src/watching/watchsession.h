#pragma once

#include "watching/archiveprogramme.h"
#include "watching/channelref.h"
#include "watching/playbackcontrol.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace quorvel {

class ChannelList;
class ChannelNumbering;

// What the viewer watches: the channel playing and the one before it, steps round a category,
// channel numbers, pause, resume and retry. The tree, the keys over the video, the media keys
// and the remembered settings all go through it, so each rule lives here once. It has no
// widgets: the list it picks from, the player and the window are given to it.
class WatchSession : public QObject {
    Q_OBJECT
public:
    // What the window does when asked from outside (the media keys).
    struct WindowActions {
        std::function<void()> raise; // shown and in front, as the boss key brings it back
        std::function<void()> quit;
    };
    // How a channel just played lies from the one before: one step forward (+1) or back (-1)
    // round the same category, and the channel one more step that way (the one a viewer
    // surfing asks for next). Any other choice is no step.
    struct Step {
        int direction = 0;
        ChannelRef after;
    };

    WatchSession(ChannelList& channels, PlaybackControl& player, ChannelNumbering& numbers, QObject* parent = nullptr);

    void SetWindowActions(WindowActions actions) { window_ = std::move(actions); }
    ChannelList& Channels() { return channels_; }
    PlaybackControl& Player() { return player_; }
    ChannelNumbering& Numbers() { return numbers_; }

    // The list started playing that channel.
    Step Played(const ChannelRef& channel);
    // The player started a programme of the channel playing (or the one selected) from the
    // archive; the channel counts as playing, its live picture does not.
    void PlayedFromArchive(const ArchiveProgramme& programme);
    // The programme playing from the archive; none while a channel plays live.
    const std::optional<ArchiveProgramme>& FromArchive() const { return archive_; }
    // Live, the button, Esc and Backspace while the archive plays: the channel live again.
    void GoLive();
    // The channel playing was renamed where it is listed (a playlist read again): it plays on.
    void Follow(const ChannelRef& renamed);
    ChannelRef Playing() const { return playing_; }
    ChannelRef Previous() const { return previous_; }
    // The channel playing, else the one selected: what the desktop's controls name.
    ChannelRef Current() const;

    // The channel next to this one that way round its category, stepping over gone favourites;
    // empty when it has no other.
    ChannelRef Neighbour(const ChannelRef& channel, int direction) const;
    // Page Up/Down: round the playing channel's category.
    void Zap(int step);
    // The media keys' next and previous: from the selection (a category steps into its first or
    // last channel; nothing selected starts the first channel there is).
    void StepSelection(int step);
    // Backspace: the channel that played before; twice comes back. From the archive, the
    // channel live.
    void GoBack();
    // A number typed over the video; false when no channel has it.
    bool ZapToNumber(int number);

    PlaybackControl::Status Status() const;
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Raise();
    void Quit();
    bool CanPlay() const;
    bool CanPause() const;

signals:
    // Another channel plays, or the one playing was renamed.
    void changed();
    void statusChanged();
    void volumeChanged(double volume);

private:
    ChannelRef FirstChannel() const;

    ChannelList& channels_;
    PlaybackControl& player_;
    ChannelNumbering& numbers_;
    WindowActions window_;
    ChannelRef playing_;
    ChannelRef previous_;
    std::optional<ArchiveProgramme> archive_;
};

} // namespace quorvel
