#include "player/controlbar.h"

#include "player/audiotrackbutton.h"
#include "player/jumpslider.h"
#include "player/livebutton.h"
#include "player/playericons.h"
#include "player/recordbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include <algorithm>

namespace quorvel {
namespace {

constexpr int kSeekSteps = 1000;

QString FormatTime(double seconds)
{
    const int s = seconds > 0 ? static_cast<int>(seconds) : 0;
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QChar('0'))
            .arg(s % 60, 2, 10, QChar('0'));
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar('0'));
}

QToolButton* BarButton(QWidget* parent, PlayerGlyph glyph, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setIcon(PlayerIcon(glyph));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

ControlBar::ControlBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("playerBar"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "#playerBar { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #2b2e36, stop:1 #121317);"
        "  border-top: 1px solid #3c404a; }"
        "QToolButton { border: none; padding: 2px; border-radius: 3px; }"
        "QToolButton:hover { background: #3a3f4b; }"
        "QLabel { color: #c8ccd4; font-size: 11px; }"
        "QSlider::groove:horizontal { height: 4px; background: #4a4e58; border-radius: 2px; }"
        "QSlider::sub-page:horizontal { background: #4a90e2; border-radius: 2px; }"
        "QSlider::handle:horizontal { width: 10px; margin: -4px 0; background: #e8e8e8; border-radius: 5px; }"));
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(4, 2, 6, 2);
    lay->setSpacing(2);
    playPause_ = BarButton(this, PlayerGlyph::Pause, tr("Pause"));
    stop_ = BarButton(this, PlayerGlyph::Stop, tr("Stop"));
    seek_ = new JumpSlider(Qt::Horizontal, this);
    seek_->setFocusPolicy(Qt::NoFocus);
    seek_->setRange(0, kSeekSteps);
    time_ = new QLabel(this);
    mute_ = BarButton(this, PlayerGlyph::Sound, tr("Mute"));
    volume_ = new JumpSlider(Qt::Horizontal, this);
    volume_->setFocusPolicy(Qt::NoFocus);
    volume_->setRange(0, 100);
    volume_->setValue(100);
    volume_->setFixedWidth(64);
    volume_->setToolTip(tr("Volume"));
    fullScreen_ = BarButton(this, PlayerGlyph::FullScreen, tr("Full screen"));
    lay->addWidget(playPause_);
    lay->addWidget(stop_);
    lay->addSpacing(4);
    lay->addWidget(seek_, 1);
    lay->addWidget(time_);
    lay->addStretch(0);
    live_ = new LiveButton(this);
    lay->addWidget(live_);
    audio_ = new AudioTrackButton(this);
    lay->addWidget(audio_);
    record_ = new RecordButton(this);
    lay->addWidget(record_);
    lay->addWidget(mute_);
    lay->addWidget(volume_);
    lay->addWidget(fullScreen_);
    seek_->hide();
    time_->hide();

    connect(playPause_, &QToolButton::clicked, this, &ControlBar::playPauseClicked);
    connect(stop_, &QToolButton::clicked, this, &ControlBar::stopClicked);
    connect(mute_, &QToolButton::clicked, this, &ControlBar::muteClicked);
    connect(fullScreen_, &QToolButton::clicked, this, &ControlBar::fullScreenClicked);
    connect(volume_, &QSlider::valueChanged, this, &ControlBar::volumeChosen);
    connect(audio_, &AudioTrackButton::trackChosen, this, &ControlBar::audioTrackChosen);
    connect(record_, &QToolButton::clicked, this, &ControlBar::recordClicked);
    connect(seek_, &QSlider::sliderPressed, this, [this] { seeking_ = true; });
    connect(seek_, &QSlider::sliderReleased, this, [this] {
        seeking_ = false;
        emit seekChosen(static_cast<double>(seek_->value()) / kSeekSteps);
    });
}

void ControlBar::ShowPaused(bool paused)
{
    if (shownPaused_ == paused)
        return;
    shownPaused_ = paused;
    playPause_->setIcon(PlayerIcon(paused ? PlayerGlyph::Play : PlayerGlyph::Pause));
    playPause_->setToolTip(paused ? tr("Play") : tr("Pause"));
}

void ControlBar::ShowMuted(bool muted)
{
    if (shownMuted_ == muted)
        return;
    shownMuted_ = muted;
    mute_->setIcon(PlayerIcon(muted ? PlayerGlyph::Muted : PlayerGlyph::Sound));
    mute_->setToolTip(muted ? tr("Sound on") : tr("Mute"));
}

void ControlBar::ShowVolume(int volume)
{
    const QSignalBlocker block(volume_);
    volume_->setValue(volume);
}

int ControlBar::Volume() const { return volume_->value(); }

void ControlBar::StepVolume(int steps) { volume_->setValue(volume_->value() + steps); }

void ControlBar::ShowFullScreen(bool on)
{
    if (shownFullScreen_ == on)
        return;
    shownFullScreen_ = on;
    fullScreen_->setIcon(PlayerIcon(on ? PlayerGlyph::LeaveFullScreen : PlayerGlyph::FullScreen));
    fullScreen_->setToolTip(on ? tr("Leave full screen") : tr("Full screen"));
}

void ControlBar::ShowTime(double position, double duration, bool seekable)
{
    // A live stream has no length to seek in: the bar then shows no seek bar and no time.
    const bool show = seekable && duration > 0;
    if (!show) {
        shownSecond_ = -1;
        if (!shifting_) {
            seek_->hide();
            time_->hide();
        }
        return;
    }
    seek_->show();
    time_->show();
    // The position changes with every frame; the bar shows whole seconds.
    const int second = static_cast<int>(position);
    if (second == shownSecond_ && duration == shownDuration_)
        return;
    shownSecond_ = second;
    shownDuration_ = duration;
    time_->setText(FormatTime(position) + QStringLiteral(" / ") + FormatTime(duration));
    if (!seeking_) {
        const QSignalBlocker block(seek_);
        seek_->setValue(static_cast<int>(kSeekSteps * position / duration));
    }
}

void ControlBar::ShowShift(double start, double end, double position, bool atLive)
{
    shifting_ = end > start;
    seek_->setVisible(shifting_);
    time_->setVisible(shifting_);
    shownSecond_ = -1;
    if (!shifting_)
        return;
    time_->setText(atLive ? tr("LIVE") : QStringLiteral("\u2212") + FormatTime(end - position));
    if (!seeking_) {
        const QSignalBlocker block(seek_);
        seek_->setValue(static_cast<int>(kSeekSteps * std::clamp((position - start) / (end - start), 0.0, 1.0)));
    }
}

void ControlBar::ShowRecording(bool recording) { record_->ShowRecording(recording); }

void ControlBar::ShowAudioTracks(const AudioTracks& tracks) { audio_->ShowTracks(tracks); }

} // namespace quorvel
