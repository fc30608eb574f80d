#include "watching/watchsession.h"

#include "watching/channellist.h"
#include "watching/channelnumbering.h"

namespace quorvel {

WatchSession::WatchSession(ChannelList& channels, PlaybackControl& player, ChannelNumbering& numbers, QObject* parent)
    : QObject(parent), channels_(channels), player_(player), numbers_(numbers)
{
    connect(&player_, &PlaybackControl::statusChanged, this, &WatchSession::statusChanged);
    connect(&player_, &PlaybackControl::volumeChanged, this, &WatchSession::volumeChanged);
}

WatchSession::Step WatchSession::Played(const ChannelRef& channel)
{
    Step step;
    if (playing_.IsChannel() && playing_ != channel && playing_.category == channel.category) {
        // In a category of two, either way leads to the other: counted forward.
        for (const int direction : {1, -1}) {
            if (Neighbour(playing_, direction) == channel) {
                step = {direction, Neighbour(channel, direction)};
                break;
            }
        }
    }
    if (channel.name != playing_.name)
        previous_ = playing_;
    playing_ = channel;
    archive_.reset();
    emit changed();
    return step;
}

void WatchSession::PlayedFromArchive(const ArchiveProgramme& programme)
{
    if (programme.channel.name != playing_.name) {
        if (playing_.IsChannel())
            previous_ = playing_;
        playing_ = programme.channel;
    }
    archive_ = programme;
    emit changed();
}

void WatchSession::GoLive()
{
    if (!archive_)
        return;
    const ChannelRef channel = archive_->channel;
    // The list plays what it has selected; the archive's channel is chosen unless it is that.
    if (channels_.Selected() == channel)
        channels_.PlaySelected();
    else if (const ChannelRef found = channels_.Find(channel.category, channel.name); found.IsChannel())
        channels_.Choose(found);
}

void WatchSession::Follow(const ChannelRef& renamed)
{
    if (!playing_.IsChannel() || renamed == playing_)
        return;
    playing_ = renamed;
    emit changed();
}

ChannelRef WatchSession::Current() const
{
    if (playing_.IsChannel())
        return playing_;
    const ChannelRef selected = channels_.Selected();
    return selected.IsChannel() ? selected : ChannelRef();
}

ChannelRef WatchSession::Neighbour(const ChannelRef& channel, int direction) const
{
    const int category = channels_.CategoryIndex(channel.category);
    const int at = channels_.ChannelIndex(category, channel.name);
    if (at < 0 || direction == 0)
        return {};
    const int count = channels_.ChannelCount(category);
    const int way = direction > 0 ? 1 : -1;
    for (int k = 1; k < count; ++k) {
        const int next = ((at + way * k) % count + count) % count;
        if (!channels_.IsGone(category, next))
            return {channel.category, channels_.ChannelName(category, next)};
    }
    return {};
}

ChannelRef WatchSession::FirstChannel() const
{
    for (int c = 0; c < channels_.CategoryCount(); ++c)
        if (channels_.ChannelCount(c) > 0)
            return {channels_.CategoryTitle(c), channels_.ChannelName(c, 0)};
    return {};
}

void WatchSession::Zap(int step)
{
    if (!playing_.IsChannel())
        return;
    if (const ChannelRef next = Neighbour(channels_.Find(playing_.category, playing_.name), step); next.IsChannel())
        channels_.Choose(next);
}

void WatchSession::StepSelection(int step)
{
    const ChannelRef selected = channels_.Selected();
    if (selected.IsEmpty()) {
        if (const ChannelRef first = FirstChannel(); first.IsChannel())
            channels_.Choose(first);
        return;
    }
    if (!selected.IsChannel()) {
        const int category = channels_.CategoryIndex(selected.category);
        const int count = channels_.ChannelCount(category);
        if (count > 0)
            channels_.Choose({selected.category, channels_.ChannelName(category, step > 0 ? 0 : count - 1)});
        return;
    }
    if (const ChannelRef next = Neighbour(selected, step); next.IsChannel())
        channels_.Choose(next);
}

void WatchSession::GoBack()
{
    if (archive_) {
        GoLive();
        return;
    }
    if (!previous_.IsChannel())
        return;
    if (const ChannelRef back = channels_.Find(previous_.category, previous_.name); back.IsChannel())
        channels_.Choose(back);
}

bool WatchSession::ZapToNumber(int number)
{
    const ChannelRef numbered = numbers_.ChannelOf(number);
    const ChannelRef found = channels_.Find(numbered.category, numbered.name);
    if (!found.IsChannel())
        return false;
    channels_.Choose(found);
    return true;
}

PlaybackControl::Status WatchSession::Status() const
{
    if (!playing_.IsChannel() || player_.Address().isEmpty())
        return PlaybackControl::Status::Stopped;
    return player_.CurrentStatus();
}

void WatchSession::Play()
{
    const ChannelRef selected = channels_.Selected();
    if (!selected.IsChannel() && !playing_.IsChannel()) {
        StepSelection(1);
        return;
    }
    // The channel a restart left selected has not been asked for yet.
    if (!playing_.IsChannel() || player_.Address().isEmpty()) {
        channels_.PlaySelected();
        return;
    }
    if (player_.CurrentStatus() == PlaybackControl::Status::Stopped)
        player_.Restart();
    else
        player_.SetPaused(false);
}

void WatchSession::Pause()
{
    if (Status() != PlaybackControl::Status::Stopped)
        player_.SetPaused(true);
}

void WatchSession::PlayPause()
{
    if (Status() == PlaybackControl::Status::Playing)
        Pause();
    else
        Play();
}

void WatchSession::Stop()
{
    if (playing_.IsChannel())
        player_.Stop();
}

void WatchSession::Raise()
{
    if (window_.raise)
        window_.raise();
}

void WatchSession::Quit()
{
    if (window_.quit)
        window_.quit();
}

bool WatchSession::CanPlay() const { return FirstChannel().IsChannel() || channels_.Selected().IsChannel(); }

bool WatchSession::CanPause() const { return playing_.IsChannel(); }

} // namespace quorvel
