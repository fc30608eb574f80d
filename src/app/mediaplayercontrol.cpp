#include "app/mediaplayercontrol.h"

#include "playback/mpvcore.h"
#include "playback/playersettings.h"
#include "player/mediaplayer.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

MediaPlayerControl::MediaPlayerControl(MediaPlayer* player, QObject* parent) : PlaybackControl(parent), player_(player)
{
    if (!player)
        return;
    // The core keeps its connections when surfing swaps what it plays.
    MpvCore& core = player->Core();
    connect(&core, &MpvCore::pauseChanged, this, &PlaybackControl::statusChanged);
    connect(&core, &MpvCore::idleChanged, this, &PlaybackControl::statusChanged);
    connect(&core, &MpvCore::volumeChanged, this, [this](double volume) { emit volumeChanged(volume / 100.0); });
    connect(&core, &MpvCore::muteChanged, this, &PlaybackControl::muteChanged);
}

PlaybackControl::Status MediaPlayerControl::CurrentStatus() const
{
    if (!player_ || player_->URL().isEmpty() || player_->Core().FlagOr(MpvProperty::IdleActive, true))
        return Status::Stopped;
    return player_->Core().FlagOr(MpvProperty::Pause, false) ? Status::Paused : Status::Playing;
}

QString MediaPlayerControl::Address() const { return player_ ? player_->URL() : QString(); }

qint64 MediaPlayerControl::Position() const
{
    // A live channel not started yet, or nothing at all, has no position.
    if (CurrentStatus() == Status::Stopped)
        return 0;
    const double seconds = player_->Core().DoubleOr(MpvProperty::TimePos, 0.0);
    return std::isfinite(seconds) ? static_cast<qint64>(std::max(0.0, seconds) * 1e6) : 0;
}

double MediaPlayerControl::Volume() const
{
    return player_ ? player_->Core().DoubleOr(MpvProperty::Volume, 0.0) / 100.0 : 0.0;
}

bool MediaPlayerControl::Muted() const { return player_ && player_->Core().FlagOr(MpvProperty::Mute, false); }

void MediaPlayerControl::SetPaused(bool paused)
{
    if (player_)
        player_->Core().SetFlag(MpvProperty::Pause, paused);
}

void MediaPlayerControl::Restart()
{
    if (player_)
        player_->Retry();
}

void MediaPlayerControl::Stop()
{
    if (player_)
        player_->Core().Stop();
}

void MediaPlayerControl::SetVolume(double volume)
{
    if (player_)
        player_->Settings().SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0)));
}

void MediaPlayerControl::SetMuted(bool muted)
{
    if (player_)
        player_->Settings().SetMute(muted);
}

} // namespace quorvel
