#pragma once

#include "playback/audiotrack.h"

#include <QWidget>

#include <optional>

class QLabel;
class QSlider;
class QToolButton;

namespace quorvel {

class AudioTrackButton;
class LiveButton;
class RecordButton;

// The player's control bar: play/pause, stop, a seek bar and the time for media with a length,
// mute, volume and full screen. It only shows and asks: what a control does is the owner's.
class ControlBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 30;

    explicit ControlBar(QWidget* parent = nullptr);

    void ShowPaused(bool paused);
    void ShowMuted(bool muted);
    // The volume slider's place, without asking for a change.
    void ShowVolume(int volume);
    int Volume() const;
    // Turns the volume by steps of the slider, which asks for the change.
    void StepVolume(int steps);
    void ShowFullScreen(bool on);
    // The seek bar and the time show only for media of a known length that can seek.
    void ShowTime(double position, double duration, bool seekable);
    // A live channel's buffer: the seek bar spans it, the time says "LIVE" at the live edge or
    // how far behind it the picture is. An empty span (end not after start) leaves it to
    // ShowTime.
    void ShowShift(double start, double end, double position, bool atLive);
    void ShowRecording(bool recording);
    // The sound tracks to choose from: a button shows while there is more than one.
    void ShowAudioTracks(const AudioTracks& tracks);
    AudioTrackButton* AudioTracksButton() const { return audio_; }
    // "Live", hidden until its owner offers it.
    LiveButton* Live() const { return live_; }

signals:
    void playPauseClicked();
    void stopClicked();
    void muteClicked();
    void volumeChosen(int volume);
    void fullScreenClicked();
    // The viewer let go of the seek bar at this fraction of the length.
    void seekChosen(double fraction);
    void audioTrackChosen(const quorvel::AudioTrack& track);
    void recordClicked();

private:
    QToolButton* playPause_ = nullptr;
    QToolButton* stop_ = nullptr;
    QToolButton* mute_ = nullptr;
    QToolButton* fullScreen_ = nullptr;
    AudioTrackButton* audio_ = nullptr;
    LiveButton* live_ = nullptr;
    RecordButton* record_ = nullptr;
    QSlider* seek_ = nullptr;
    QSlider* volume_ = nullptr;
    QLabel* time_ = nullptr;
    bool seeking_ = false;
    bool shifting_ = false;
    // What the buttons show now: each zap tells the bar again, and drawing the icons anew took
    // the window's thread while the channel was being opened.
    std::optional<bool> shownPaused_;
    std::optional<bool> shownMuted_;
    std::optional<bool> shownFullScreen_;
    int shownSecond_ = -1;
    double shownDuration_ = 0;
};

} // namespace quorvel
