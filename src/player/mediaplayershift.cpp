// The player's pausing of live channels and recording: the bar, the cards and the questions
// over what the session's time shift and recorder do.
#include "playback/mpvcore.h"
#include "playback/playersession.h"
#include "playback/streamrecorder.h"
#include "playback/timeshift.h"
#include "player/controlbar.h"
#include "player/livebutton.h"
#include "player/mediaplayer.h"
#include "player/pictureoverlays.h"
#include "player/recordingcard.h"

#include <QDateTime>
#include <QMessageBox>

namespace quorvel {

void MediaPlayer::ConnectTimeShift()
{
    TimeShift& shift = session_->Shift();
    connect(&shift, &TimeShift::spanChanged, this, [this](const BufferedSpan& span) {
        const bool atLive = session_->Shift().AtLive();
        bar_->ShowShift(span.start, span.end, span.position, atLive);
        if (!liveOffered_)
            bar_->Live()->Offer(!atLive, tr("Back to the channel as it is now"));
    });
    connect(&shift, &TimeShift::trimmed, this,
            [this] { overlays_->Notice(tr("Paused too long: the first minutes are gone")); });
    connect(&shift, &TimeShift::cannotPause, this, [this](const QString& reason) {
        overlays_->Notice(tr("This channel cannot be paused: %1. It plays on live.").arg(reason));
        Guarded([this] { Core().SetFlag(MpvProperty::Pause, false); });
    });
    connect(bar_, &ControlBar::recordClicked, this, &MediaPlayer::ToggleRecording);
    StreamRecorder& recorder = session_->Recorder();
    connect(&recorder, &StreamRecorder::started, this, [this] {
        bar_->ShowRecording(true);
        recording_->Start(QDateTime::currentDateTime());
    });
    connect(&recorder, &StreamRecorder::stopped, this, [this] {
        bar_->ShowRecording(false);
        recording_->Stop();
    });
    connect(&recorder, &StreamRecorder::failed, overlays_, &PictureOverlays::Notice);
}

void MediaPlayer::GoLive()
{
    if (session_->Shift().Following())
        Guarded([this] { session_->Shift().SeekToLive(); });
}

void MediaPlayer::ToggleRecording()
{
    StreamRecorder& recorder = session_->Recorder();
    if (recorder.Recording()) {
        recorder.Stop();
        return;
    }
    if (session_->CurrentState() != PlayerSession::State::Playing) {
        overlays_->Notice(tr("Cannot record: no channel is playing"));
        return;
    }
    recorder.Start(session_->ShownName(), programmeTitle_, session_->Shift().RecordingStart());
}

QString MediaPlayer::RecordingShown() const { return recording_->Text(); }

bool MediaPlayer::LeaveRecording()
{
    StreamRecorder& recorder = session_->Recorder();
    if (!recorder.Recording())
        return true;
    const auto answer =
        QMessageBox::question(window(), tr("Recording"), tr("Stop recording %1?").arg(recorder.Channel()),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    recorder.Stop();
    return true;
}

} // namespace quorvel
