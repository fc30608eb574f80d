#include "player/mediaplayer.h"

#include "playback/mpvcore.h"
#include "playback/mpvvideowindow.h"
#include "playback/playersession.h"
#include "playback/playersettings.h"
#include "playback/streamrecorder.h"
#include "playback/surfing.h"
#include "playback/timeshift.h"
#include "player/channelcard.h"
#include "player/controlbar.h"
#include "player/fullscreenswitch.h"
#include "player/livebutton.h"
#include "player/numberentrycard.h"
#include "player/pictureoverlays.h"
#include "player/playermessage.h"
#include "player/pointeridlehider.h"
#include "player/programmecard.h"
#include "player/recordingcard.h"
#include "player/volumecard.h"
#include "player/zapcard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace quorvel {

namespace {

// A key press on the volume moves it as far as a notch of the wheel does.
constexpr int kVolumeStep = 5;

} // namespace

MediaPlayer::MediaPlayer(QWidget* parent, const QString& audioOutput)
    : QWidget(parent), session_(std::make_unique<PlayerSession>(audioOutput))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    // The video is a native window; what shows over it (messages, the buffering note, and
    // the window's own controls placed over the player) are native windows stacked above it.
    video_ = new MpvVideoWindow(Core());
    videoBox_ = QWidget::createWindowContainer(video_, this);
    videoBox_->setObjectName(QStringLiteral("playerVideo"));
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    videoBox_->setAttribute(Qt::WA_NativeWindow);
    videoBox_->setFocusPolicy(Qt::NoFocus);
    // Video needs the render context before an address opens.
    session_->SetBeforeOpening([this] { video_->EnsureRenderContext(); });
    connect(video_, &MpvVideoWindow::frameRendered, this, [this](qint64 takenAt, bool afterOldPictureWent) {
        session_->PictureShown(takenAt, afterOldPictureWent);
        emit frameRendered();
    });
    connect(video_, &MpvVideoWindow::doubleClicked, this, [this] { SetFullScreen(!IsFullScreen()); });
    connect(video_, &MpvVideoWindow::wheelTurned, this, &MediaPlayer::TurnVolume);
    // A click on the picture gives the player the keyboard, as in every player; the keys then
    // work the player (and never start finding a channel, which typing in the tree does).
    connect(video_, &MpvVideoWindow::pressed, this, &MediaPlayer::TakeKeyboard);
    connect(video_, &MpvVideoWindow::keyPressed, this,
            [this](int key, Qt::KeyboardModifiers modifiers) { HandleKey(key, modifiers); });
    surfing_ = std::make_unique<Surfing>(*session_, *video_, audioOutput);
    overlays_ = new PictureOverlays(this);
    connect(&overlays_->Numbers(), &NumberEntryCard::numberChosen, this, &MediaPlayer::channelNumberChosen);
    connect(&overlays_->MessageBox(), &PlayerMessage::actionClicked, this, &MediaPlayer::Act);

    bar_ = new ControlBar(this);
    // In full screen the bar lies over the picture, which is a native window: so is the bar.
    bar_->setAttribute(Qt::WA_NativeWindow);
    idle_ = new PointerIdleHider(this, bar_, video_);
    fullScreen_ = new FullScreenSwitch(this);
    connect(fullScreen_, &FullScreenSwitch::switched, this, [this](bool on) {
        bar_->ShowFullScreen(on);
        idle_->SetActive(on);
        LayoutChildren();
        emit fullScreenChanged(on);
    });

    recording_ = new RecordingCard(this);
    recording_->setAttribute(Qt::WA_NativeWindow);
    // Anywhere in the window, as the tree's own keys are.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this, nullptr, nullptr, Qt::WindowShortcut),
            &QShortcut::activated, this, &MediaPlayer::ToggleRecording);

    ConnectBar();
    ConnectSession();
    ConnectTimeShift();
    LayoutChildren();
}

MediaPlayer::~MediaPlayer()
{
    // The render contexts go before their cores: the window's with it, the one ahead's with
    // the surfing.
    delete videoBox_;
    videoBox_ = nullptr;
    video_ = nullptr;
    surfing_.reset();
    session_.reset();
}

MpvCore& MediaPlayer::Core() { return session_->Core(); }

PlayerSettings& MediaPlayer::Settings() { return session_->Settings(); }

QString MediaPlayer::URL() const { return session_->URL(); }

void MediaPlayer::SetChannelName(const QString& name) { session_->SetChannelName(name); }

void MediaPlayer::ConnectBar()
{
    MpvCore& core = Core();
    // Every control's call into mpv runs guarded: a refusal shows in the player's message.
    connect(bar_, &ControlBar::playPauseClicked, this, &MediaPlayer::TogglePause);
    connect(bar_, &ControlBar::stopClicked, this, [this] { Guarded([this] { session_->Stop(); }); });
    connect(bar_, &ControlBar::muteClicked, this,
            [this] { Guarded([this] { Settings().SetMute(!Settings().Mute()); }); });
    connect(bar_, &ControlBar::volumeChosen, this,
            [this](int v) { Guarded([this, v] { Core().SetDouble(MpvProperty::Volume, v); }); });
    connect(bar_, &ControlBar::fullScreenClicked, this, [this] { SetFullScreen(!IsFullScreen()); });
    connect(bar_, &ControlBar::seekChosen, this, [this](double fraction) {
        if (session_->Shift().Following())
            Guarded([this, fraction] { session_->Shift().SeekToFraction(fraction); });
        else if (duration_ > 0)
            Guarded([this, fraction] { Core().SeekTo(duration_ * fraction); });
    });

    connect(&core, &MpvCore::pauseChanged, this, [this](bool paused) {
        paused_ = paused;
        bar_->ShowPaused(paused);
    });
    connect(&core, &MpvCore::idleChanged, this, [this](bool idle) {
        bar_->ShowPaused(idle || paused_);
        if (idle) {
            video_->ReleasePicture();
            video_->Redraw();
            seekable_ = false;
            bar_->ShowTime(position_, duration_, seekable_);
        }
    });
    connect(&core, &MpvCore::muteChanged, bar_, &ControlBar::ShowMuted);
    // Whatever changed the sound (a key, the wheel, the bar, a media key), it shows for a moment.
    connect(&core, &MpvCore::muteChanged, &overlays_->Volume(), &VolumeCard::SetMuted);
    connect(&core, &MpvCore::volumeChanged, &overlays_->Volume(), &VolumeCard::SetVolume);
    connect(&core, &MpvCore::audioTracksChanged, bar_, &ControlBar::ShowAudioTracks);
    connect(bar_, &ControlBar::audioTrackChosen, this, &MediaPlayer::ChooseAudioTrack);
    // One button for both ways back: from the archive to the channel live, and from a paused
    // or rewound live channel to its live edge.
    connect(bar_->Live(), &LiveButton::liveRequested, this, [this] {
        if (liveOffered_)
            emit liveRequested();
        else
            GoLive();
    });
    connect(&core, &MpvCore::volumeChanged, this, [this](double v) { bar_->ShowVolume(static_cast<int>(v + 0.5)); });
    connect(&core, &MpvCore::seekableChanged, this, [this](bool s) {
        seekable_ = s;
        bar_->ShowTime(position_, duration_, seekable_);
    });
    connect(&core, &MpvCore::durationChanged, this, [this](double d) {
        duration_ = d;
        bar_->ShowTime(position_, duration_, seekable_);
    });
    connect(&core, &MpvCore::timePosChanged, this, [this](double t) {
        position_ = t;
        bar_->ShowTime(position_, duration_, seekable_);
    });
    connect(&core, &MpvCore::bufferingChanged, overlays_, &PictureOverlays::ShowBuffering);
}

void MediaPlayer::ConnectSession()
{
    connect(session_.get(), &PlayerSession::stateChanged, this, &MediaPlayer::Follow);
    connect(session_.get(), &PlayerSession::note, overlays_, &PictureOverlays::ShowNote);
    connect(session_.get(), &PlayerSession::refused, this,
            [this](const QString& text) { overlays_->Notice(tr("The player could not do that: %1").arg(text)); });
}

void MediaPlayer::Follow()
{
    using State = PlayerSession::State;
    const State state = session_->CurrentState();
    const QString name = session_->ShownName();
    ChannelCard& card = overlays_->Card();
    if (state != State::Playing)
        overlays_->HideNote();
    if (state == State::Connecting || state == State::Reconnecting)
        video_->HoldPicture();
    else
        video_->ReleasePicture();
    switch (state) {
    case State::Connecting:
    case State::Reconnecting:
        // Until its first picture the channel shows that it is on its way.
        overlays_->HideMessage();
        card.ShowFor(state == State::Connecting ? ChannelCard::Kind::Connecting : ChannelCard::Kind::Reconnecting,
                     name);
        overlays_->RaiseOverCard();
        return;
    case State::Playing:
        overlays_->HideMessage();
        // The sound as the program set it before is no change the viewer made.
        overlays_->Volume().Arm();
        // On every zap, what is on now and next, for a few seconds once the picture is there.
        overlays_->Programme().ShowForAWhile();
        overlays_->Zap().StartCountdown();
        // A channel of sound alone shows its name and a sound sign for as long as it plays.
        if (session_->SoundOnly()) {
            card.ShowFor(ChannelCard::Kind::AudioOnly, name);
            overlays_->RaiseOverCard();
        } else if (card.isVisible()) {
            card.hide();
            // What the card covered is drawn now, not once the window system has told the
            // video it is uncovered; where the window system kept it, it is there already.
            if (!video_->KeepsPictureWhenCovered())
                video_->Redraw();
        }
        return;
    case State::Idle:
        card.hide();
        overlays_->HideMessage();
        return;
    case State::Ended:
    case State::Failed:
        FollowEnd();
        return;
    }
}

void MediaPlayer::FollowEnd()
{
    messageGoesLive_ = false;
    overlays_->Card().hide();
    overlays_->HideBuffering();
    overlays_->Zap().StartCountdown();
    video_->Redraw(); // the last picture goes
    const QString name = session_->ShownName();
    if (session_->CurrentState() == PlayerSession::State::Ended) {
        overlays_->ShowMessage(name, tr("This stream has ended"), QString(), tr("Play again"));
        return;
    }
    const PlaybackFailure& failure = session_->Failure();
    overlays_->ShowMessage(name, failure.headline, failure.details, failure.canRetry ? tr("Retry") : QString());
}

void MediaPlayer::SetURL(const QString& url, const RequestOptions& options)
{
    overlays_->HideMessage();
    messageGoesLive_ = false;
    // What the guide says belongs to the channel before: the caller gives this one's after.
    overlays_->Programme().SetInfo({});
    programmeTitle_.clear();
    // A recording is of one channel: the file stays whole as another one plays.
    session_->Recorder().Stop();
    if (!surfing_->Show(url, options))
        session_->SetURL(url, options);
}

void MediaPlayer::Zapped(int direction, const QString& nextUrl, const RequestOptions& nextOptions)
{
    surfing_->Zapped(direction, nextUrl, nextOptions);
}

void MediaPlayer::SetProgrammeInfo(const ProgrammeInfo& info)
{
    overlays_->Programme().SetInfo(info);
    programmeTitle_ = info.nowTitle;
    // Given once the picture is already there (a guide read later), it shows at once.
    if (session_->CurrentState() == PlayerSession::State::Playing)
        overlays_->Programme().ShowForAWhile();
    overlays_->PlaceZapCard();
}

void MediaPlayer::ShowZap(const ZapInfo& info)
{
    overlays_->PlaceZapCard();
    overlays_->Zap().ShowFor(info);
    // A channel already playing (chosen again) has no picture to wait for.
    if (session_->CurrentState() != PlayerSession::State::Connecting &&
        session_->CurrentState() != PlayerSession::State::Reconnecting)
        overlays_->Zap().StartCountdown();
}

const ZapCard& MediaPlayer::Zap() const { return overlays_->Zap(); }

void MediaPlayer::SayNoChannel(int number) { overlays_->Numbers().SayNoChannel(number); }

QString MediaPlayer::NumberShown() const { return overlays_->Numbers().Text(); }

void MediaPlayer::KeepCardsClearOf(QSize box, int rightGap, int bottomGap)
{
    overlays_->KeepClearOf(box, rightGap, bottomGap);
    LayoutChildren();
}

void MediaPlayer::ChooseAudioTrack(const AudioTrack& track)
{
    Guarded([this, &track] {
        // The language goes on to the next channels; only a plain language tag, never a list.
        QString language;
        for (const QChar c : track.language)
            if ((c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-'))
                language += c;
        if (!language.isEmpty())
            Core().SetText(MpvProperty::AudioLanguage, language);
        Core().SetInteger(MpvProperty::AudioId, track.id);
    });
}

void MediaPlayer::Retry()
{
    overlays_->HideMessage();
    session_->Retry();
}

void MediaPlayer::OfferLive(bool offered)
{
    liveOffered_ = offered;
    bar_->Live()->Offer(offered);
}

void MediaPlayer::ShowLiveMessage(const QString& title, const QString& headline, const QString& details)
{
    overlays_->Card().hide();
    overlays_->ShowMessage(title, headline, details, tr("Live"));
    messageGoesLive_ = true;
}

void MediaPlayer::Say(const QString& text) { overlays_->Notice(text); }

void MediaPlayer::Act()
{
    if (messageGoesLive_) {
        emit liveRequested();
        return;
    }
    // Retry or play again: the card says "Connecting…" at once, the outcome follows.
    Guarded([this] { Retry(); });
}

void MediaPlayer::Guarded(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        overlays_->Notice(tr("The player could not do that: %1").arg(QString::fromUtf8(e.what())));
    }
}

void MediaPlayer::ShowRequest()
{
    if (IsFullScreen())
        return;
    QWidget* focus = QApplication::focusWidget();
    const bool shown = isVisible();
    if (!shown)
        show();
    LayoutChildren();
    // A player already on screen has its picture (a new size draws it again by itself): drawn
    // once more on every zap, it took both cores just as a channel opened ahead was shown.
    if (!shown)
        video_->Redraw();
    // The control never keeps the keyboard focus: it goes back where it was.
    if (focus && QApplication::focusWidget() != focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void MediaPlayer::CloseMedia()
{
    session_->Recorder().Stop();
    surfing_->Stop();
    overlays_->HideMessage();
    session_->Close();
}

QString MediaPlayer::Message() const { return overlays_->Message(); }

QWindow* MediaPlayer::VideoSurface() const { return video_; }

quint64 MediaPlayer::FramesRendered() const { return video_ ? video_->FramesRendered() : 0; }

bool MediaPlayer::IsFullScreen() const { return fullScreen_->IsOn(); }

bool MediaPlayer::ControlBarShown() const { return !bar_->isHidden(); }

void MediaPlayer::SetFullScreen(bool on) { fullScreen_->Set(on); }

void MediaPlayer::LayoutChildren()
{
    // In full screen the picture takes the whole screen and the bar comes and goes over it;
    // in the window the bar has its own strip below the picture.
    const bool overlay = fullScreen_ && fullScreen_->IsOn();
    const QRect videoArea(0, 0, width(), qMax(0, height() - (overlay ? 0 : ControlBar::kHeight)));
    videoBox_->setGeometry(videoArea);
    bar_->setGeometry(0, height() - ControlBar::kHeight, width(), ControlBar::kHeight);
    if (overlay)
        bar_->raise();
    overlays_->Place(videoArea, overlay);
    recording_->PlaceIn(videoArea);
    if (recording_->isVisible())
        recording_->raise();
}

void MediaPlayer::TurnVolume(int angleDelta)
{
    // One notch of the wheel is five steps of the volume slider, which passes them on.
    bar_->StepVolume(angleDelta * 5 / 120);
}

void MediaPlayer::TakeKeyboard()
{
    if (focusPolicy() == Qt::NoFocus)
        setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::MouseFocusReason);
}

void MediaPlayer::mousePressEvent(QMouseEvent* event)
{
    // A click on a card over the video (the channel opening, the zap) comes here through the
    // card: it gives the player the keyboard as a click on the picture does.
    TakeKeyboard();
    event->accept();
}

void MediaPlayer::wheelEvent(QWheelEvent* event)
{
    TurnVolume(event->angleDelta().y());
    event->accept();
}

void MediaPlayer::hideEvent(QHideEvent* event)
{
    // Hidden (the boss key, a window closing): nobody is surfing. Full screen hides the control
    // for a moment while it moves it to another parent: it is looked at once that is done.
    QWidget::hideEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            surfing_->Stop();
    });
}

void MediaPlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutChildren();
}

void MediaPlayer::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

bool MediaPlayer::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4:
    case Qt::Key_5:
    case Qt::Key_6:
    case Qt::Key_7:
    case Qt::Key_8:
    case Qt::Key_9:
        overlays_->Numbers().Type(key - Qt::Key_0);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return overlays_->Numbers().Commit();
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        emit channelStepRequested(key == Qt::Key_PageDown ? 1 : -1);
        return true;
    case Qt::Key_Escape:
        // Escape drops a number being typed before it leaves full screen.
        if (overlays_->Numbers().Cancel())
            return true;
        if (IsFullScreen()) {
            SetFullScreen(false);
            return true;
        }
        if (!liveOffered_)
            return false;
        emit liveRequested();
        return true;
    case Qt::Key_Space:
        TogglePause();
        return true;
    case Qt::Key_I:
        overlays_->Programme().ShowForAWhile();
        return true;
    case Qt::Key_F:
    case Qt::Key_F11:
        SetFullScreen(!IsFullScreen());
        return true;
    case Qt::Key_M:
        Guarded([this] { Settings().SetMute(!Settings().Mute()); });
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        bar_->StepVolume(key == Qt::Key_Up ? kVolumeStep : -kVolumeStep);
        return true;
    case Qt::Key_End:
        GoLive();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // A live channel moves within its buffer; a film where the stream allows it.
        if (session_->Shift().Following()) {
            const double step = key == Qt::Key_Right ? kSeekStep : -kSeekStep;
            Guarded([this, step] { session_->Shift().SeekBy(step); });
        } else if (seekable_ && duration_ > 0) {
            const double to = std::clamp(position_ + (key == Qt::Key_Right ? kSeekStep : -kSeekStep), 0.0, duration_);
            Guarded([this, to] { Core().SeekTo(to); });
        }
        return true;
    default:
        return false;
    }
}

void MediaPlayer::TogglePause()
{
    Guarded([this] {
        if (Core().Flag(MpvProperty::IdleActive)) {
            Retry();
            return;
        }
        Core().SetFlag(MpvProperty::Pause, !Core().Flag(MpvProperty::Pause));
    });
}

} // namespace quorvel
