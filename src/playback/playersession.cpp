#include "playback/playersession.h"

#include "base/playableaddress.h"
#include "playback/mpvcore.h"
#include "playback/playersettings.h"
#include "playback/stallwatch.h"
#include "playback/streamrecorder.h"
#include "playback/timeshift.h"
#include "playback/zaptrace.h"

#include <QDeadlineTimer>

#include <exception>
#include <mpv/client.h>

namespace quorvel {

PlayerSession::PlayerSession(const QString& audioOutput, QObject* parent)
    : QObject(parent), core_(std::make_unique<MpvCore>(audioOutput)),
      settings_(std::make_unique<PlayerSettings>(*core_))
{
    stall_ = new StallWatch(
        [this] {
            return StallWatch::Progress{position_, pictures_, bufferPercent_};
        },
        kStallMs, this);
    connect(stall_, &StallWatch::stalled, this, &PlayerSession::Stalled);
    // The stream plays again: a later stall may be answered by opening it again, once more.
    connect(stall_, &StallWatch::advanced, this, [this] {
        reopened_ = Reopened::No;
        stall_->SetLimit(kStallMs);
    });

    shift_ = new TimeShift(*core_, this);
    // Only one player runs: a buffer file in the folder is one a crash left.
    TimeShift::RemoveLeftovers(shift_->Limits().folder);
    TimeShift::Give(*core_, true, shift_->Limits());
    recorder_ = new StreamRecorder(*core_, this);
    connect(core_.get(), &MpvCore::pauseChanged, shift_, &TimeShift::PauseChanged);

    connect(core_.get(), &MpvCore::fileLoaded, this, &PlayerSession::OnFileLoaded);
    connect(core_.get(), &MpvCore::playbackFailed, this, &PlayerSession::OnFailed);
    connect(core_.get(), &MpvCore::playbackEnded, this, &PlayerSession::OnEnded);
    connect(core_.get(), &MpvCore::pauseChanged, stall_, &StallWatch::SetPaused);
    connect(core_.get(), &MpvCore::timePosChanged, this, [this](double t) {
        position_ = t;
        if (t > 0)
            lastPosition_ = t;
    });
    connect(core_.get(), &MpvCore::seekableChanged, this, [this](bool seekable) { seekable_ |= seekable; });
    connect(core_.get(), &MpvCore::durationChanged, this, [this](double d) {
        if (d > 0)
            duration_ = d;
    });
    connect(core_.get(), &MpvCore::bufferingChanged, this, [this](bool, int percent) { bufferPercent_ = percent; });
}

PlayerSession::~PlayerSession()
{
    // What speaks to the core goes before it.
    delete recorder_;
    delete shift_;
    settings_.reset();
    core_.reset();
}

void PlayerSession::SetTimeShiftLimits(const TimeShiftLimits& limits)
{
    shift_->SetLimits(limits);
    TimeShift::RemoveLeftovers(shift_->Limits().folder);
    TimeShift::Give(*core_, true, shift_->Limits());
}

QString PlayerSession::ShownName() const { return channelName_.isEmpty() ? url_ : channelName_; }

void PlayerSession::SetURL(const QString& url, const RequestOptions& options)
{
    qCDebug(zapTrace, "%.1f session: address given", ZapTraceMs());
    url_ = url;
    options_ = options;
    reopened_ = Reopened::No;
    StopWatching();
    if (url.trimmed().isEmpty()) {
        core_->Stop();
        Fail(PlaybackFailure::Because(tr("it has no stream address"), false));
        return;
    }
    if (!IsPlayableAddress(url.toStdString())) {
        core_->Stop();
        Fail(PlaybackFailure::Because(tr("its address is not a stream address"), false));
        return;
    }
    Open();
}

void PlayerSession::OnFileLoaded()
{
    // A channel of sound alone never draws a picture: it plays once it is open.
    if (!core_->Entry().hasVideo) {
        soundOnly_ = true;
        Started();
    }
    // An attempt after a stall is watched from its start already, and keeps its limit.
    if (!stall_->IsWatching())
        stall_->Start();
}

void PlayerSession::Reset()
{
    pictures_ = 0;
    position_ = 0;
    lastPosition_ = 0;
    duration_ = 0;
    seekable_ = false;
    bufferPercent_ = 0;
    soundOnly_ = false;
}

void PlayerSession::TakeOpened(const QString& url, const RequestOptions& options, MpvCore& openedAhead, bool hasPicture,
                               qint64 shownFrom)
{
    url_ = url;
    options_ = options;
    reopened_ = Reopened::No;
    StopWatching();
    Reset();
    // What the viewer set of the sound and of pausing goes on with the new channel; the one
    // opened ahead was silent and held at its first picture. Set before the swap, so that what
    // the core tells of itself once swapped in is already the viewer's.
    Guarded([&] {
        openedAhead.SetDouble(MpvProperty::Volume, core_->Double(MpvProperty::Volume));
        openedAhead.SetFlag(MpvProperty::Mute, core_->Flag(MpvProperty::Mute));
        openedAhead.SetFlag(MpvProperty::Pause, core_->Flag(MpvProperty::Pause));
    });
    // The buffer goes with the shown channel: the core handed over to surfing keeps none.
    TimeShift::Give(openedAhead, true, shift_->Limits());
    TimeShift::Give(*core_, false, shift_->Limits());
    core_->SwapWith(openedAhead);
    openingAt_ = shownFrom;
    // With its first picture there it plays at once: told as Connecting first, the card came
    // and went over the picture, and the window system cleared the picture where it had been.
    const bool playing = hasPicture && core_->Entry().opened;
    if (!playing)
        SetState(State::Connecting);
    else
        ++pictures_;
    if (core_->Entry().loaded)
        OnFileLoaded();
    if (playing)
        Started();
}

void PlayerSession::Open()
{
    Reset();
    try {
        if (beforeOpening_)
            beforeOpening_();
    } catch (const std::exception& e) {
        core_->Stop();
        Fail({QString::fromUtf8(e.what()), {}, false});
        return;
    }
    openingAt_ = QDeadlineTimer::current().deadlineNSecs();
    core_->Load(url_, options_);
    const bool again = reopened_ != Reopened::No;
    stall_->SetLimit(again ? kReconnectMs : kStallMs);
    // The attempt after a stall gets its own limit from the moment it starts, whether or not
    // the server answers at all; a first opening is left to mpv's own network time-out.
    if (again)
        stall_->Start();
    SetState(again ? State::Reconnecting : State::Connecting);
}

void PlayerSession::Retry()
{
    if (!IsPlayableAddress(url_.toStdString()))
        return;
    StopWatching();
    reopened_ = Reopened::No;
    Open();
}

void PlayerSession::Stop()
{
    StopWatching();
    core_->Stop();
    SetState(State::Idle);
}

void PlayerSession::Close()
{
    url_.clear();
    options_ = {};
    Stop();
}

void PlayerSession::PictureShown(qint64 takenAt, bool afterOldPictureWent)
{
    // What the window draws before the new address is open (the old picture going, a black
    // one) is no picture of this channel: the card stays until its own. The window tells of a
    // picture queued, so the address may be known open by the time a picture drawn before is
    // told: one mpv told of before the address was given is the old channel's, and one told
    // of before this thread knew the address open may be its last on its way, unless mpv had
    // let the old picture go first.
    if (!core_->Entry().opened || takenAt < openingAt_ || (takenAt < core_->Entry().openedAt && !afterOldPictureWent))
        return;
    ++pictures_;
    if (state_ == State::Connecting || state_ == State::Reconnecting) {
        qCDebug(zapTrace, "%.1f session: first picture shown (told at %.1f)", ZapTraceMs(), takenAt / 1e6);
        Started();
    }
}

void PlayerSession::Started()
{
    SetState(State::Playing);
    // Playback starts once the sound device was tried: a stream with sound and no device to
    // play it on plays its picture (mpv drops the sound track), and says so once, in passing.
    if (core_->SoundDeviceFailed() && !toldNoSound_) {
        toldNoSound_ = true;
        emit note(tr("Playing without sound: no sound device"));
    }
}

void PlayerSession::OnFailed(int mpvError, const QStringList& logged)
{
    if (state_ == State::Idle || state_ == State::Failed || state_ == State::Ended)
        return;
    // mpv ends a stream it played without sound as failed for want of a sound device, where
    // it simply came to its end.
    if (mpvError == MPV_ERROR_AO_INIT_FAILED && pictures_ > 0) {
        OnEnded();
        return;
    }
    PlaybackFailure failure = PlaybackFailure::FromMpv(mpvError, logged);
    if (reopened_ == Reopened::AfterStall)
        failure.headline = PlaybackFailure::StoppedSending().headline;
    else if (reopened_ == Reopened::AfterBreak)
        failure.headline = PlaybackFailure::ServerStopped().headline;
    Fail(failure);
}

void PlayerSession::OnEnded()
{
    if (ReachedItsEnd()) {
        StopWatching();
        SetState(State::Ended);
        return;
    }
    // A live channel has no end: mpv ends one whose server went away as if it had come to it.
    // So does a film cut off short of its length.
    OpenAgainOrFail(Reopened::AfterBreak, PlaybackFailure::ServerStopped());
}

bool PlayerSession::ReachedItsEnd() const
{
    // A live channel has a length too (the few segments its playlist holds), and mpv tells the
    // position reached as its length when it ends; it cannot be sought in, though, where a
    // recording or film can. The last position mpv tells is that of the last picture or
    // sound, a little short of the length.
    constexpr double kSlackSeconds = 3;
    return seekable_ && duration_ > 0 && lastPosition_ >= duration_ - kSlackSeconds;
}

void PlayerSession::Stalled() { OpenAgainOrFail(Reopened::AfterStall, PlaybackFailure::StoppedSending()); }

void PlayerSession::OpenAgainOrFail(Reopened why, const PlaybackFailure& failure)
{
    if (reopened_ == Reopened::No) {
        // A live channel often hiccups: open it again, once.
        reopened_ = why;
        Guarded([this] { Open(); });
        return;
    }
    StopWatching();
    Guarded([this] { core_->Stop(); });
    Fail(failure);
}

void PlayerSession::Fail(const PlaybackFailure& failure)
{
    StopWatching();
    failure_ = failure;
    SetState(State::Failed);
}

void PlayerSession::StopWatching() { stall_->Stop(); }

void PlayerSession::SetState(State state)
{
    state_ = state;
    // A live channel (one that cannot be sought in by itself) is followed for the time shift
    // while it plays; a film seeks as films do.
    shift_->Follow(state == State::Playing && !seekable_);
    // Told also when it stays: a new channel connecting is news to whoever shows its name.
    emit stateChanged(state);
}

bool PlayerSession::Guarded(const std::function<void()>& call)
{
    try {
        call();
        return true;
    } catch (const std::exception& e) {
        emit refused(QString::fromUtf8(e.what()));
        return false;
    }
}

} // namespace quorvel
