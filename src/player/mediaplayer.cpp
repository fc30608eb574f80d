#include "player/mediaplayer.h"

#include "playback/mpvcore.h"
#include "playback/mpvvideowindow.h"
#include "playback/playersession.h"
#include "playback/playersettings.h"
#include "playback/surfing.h"
#include "player/channelcard.h"
#include "player/controlbar.h"
#include "player/fullscreenswitch.h"
#include "player/numberentrycard.h"
#include "player/playermessage.h"
#include "player/pointeridlehider.h"
#include "player/programmecard.h"
#include "player/zapcard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace quorvel {

namespace {

// A key press on the volume moves it as far as a notch of the wheel does.
constexpr int kVolumeStep = 5;
// Seconds a Left or Right key seeks.
constexpr double kSeekStep = 10.0;

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
    card_ = new ChannelCard(this);
    card_->setAttribute(Qt::WA_NativeWindow);
    programme_ = new ProgrammeCard(this);
    programme_->setAttribute(Qt::WA_NativeWindow);
    zap_ = new ZapCard(this);
    zap_->setAttribute(Qt::WA_NativeWindow);
    numbers_ = new NumberEntryCard(this);
    numbers_->setAttribute(Qt::WA_NativeWindow);
    connect(numbers_, &NumberEntryCard::numberChosen, this, &MediaPlayer::channelNumberChosen);

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

    message_ = new PlayerMessage(this);
    message_->setAttribute(Qt::WA_NativeWindow);
    message_->hide();
    connect(message_, &PlayerMessage::actionClicked, this, &MediaPlayer::Act);

    buffering_ = new QLabel(this);
    buffering_->setStyleSheet(QStringLiteral("color: white; background: #141418; padding: 3px 8px; font-size: 11px;"));
    buffering_->setAttribute(Qt::WA_NativeWindow);
    buffering_->hide();

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("playerNote"));
    note_->setStyleSheet(QStringLiteral("color: #f0f0f0; background: #1c2230; padding: 3px 8px; font-size: 11px;"));
    note_->setAttribute(Qt::WA_NativeWindow);
    note_->hide();
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(kNoteMs);
    connect(noteTimer_, &QTimer::timeout, note_, &QWidget::hide);

    ConnectBar();
    ConnectSession();
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
        if (duration_ > 0)
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
    connect(&core, &MpvCore::audioTracksChanged, bar_, &ControlBar::ShowAudioTracks);
    connect(bar_, &ControlBar::audioTrackChosen, this, &MediaPlayer::ChooseAudioTrack);
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
    connect(&core, &MpvCore::bufferingChanged, this, [this](bool on, int percent) {
        buffering_->setText(tr("Buffering… %1%").arg(percent));
        buffering_->adjustSize();
        buffering_->setVisible(on);
        LayoutChildren();
    });
}

void MediaPlayer::ConnectSession()
{
    connect(session_.get(), &PlayerSession::stateChanged, this, &MediaPlayer::Follow);
    connect(session_.get(), &PlayerSession::note, this, &MediaPlayer::ShowNote);
    connect(session_.get(), &PlayerSession::refused, this,
            [this](const QString& text) { Notice(tr("The player could not do that: %1").arg(text)); });
}

void MediaPlayer::Follow()
{
    using State = PlayerSession::State;
    const State state = session_->CurrentState();
    const QString name = session_->ShownName();
    if (state != State::Playing)
        note_->hide();
    if (state == State::Connecting || state == State::Reconnecting)
        video_->HoldPicture();
    else
        video_->ReleasePicture();
    switch (state) {
    case State::Connecting:
    case State::Reconnecting:
        // Until its first picture the channel shows that it is on its way.
        message_->hide();
        card_->ShowFor(state == State::Connecting ? ChannelCard::Kind::Connecting : ChannelCard::Kind::Reconnecting,
                       name);
        RaiseOverlays();
        return;
    case State::Playing:
        message_->hide();
        // On every zap, what is on now and next, for a few seconds once the picture is there.
        programme_->ShowForAWhile();
        zap_->StartCountdown();
        // A channel of sound alone shows its name and a sound sign for as long as it plays.
        if (session_->SoundOnly()) {
            card_->ShowFor(ChannelCard::Kind::AudioOnly, name);
            RaiseOverlays();
        } else if (card_->isVisible()) {
            card_->hide();
            // What the card covered is drawn now, not once the window system has told the
            // video it is uncovered; where the window system kept it, it is there already.
            if (!video_->KeepsPictureWhenCovered())
                video_->Redraw();
        }
        return;
    case State::Idle:
        card_->hide();
        message_->hide();
        return;
    case State::Ended:
    case State::Failed:
        break;
    }
    card_->hide();
    buffering_->hide();
    zap_->StartCountdown();
    video_->Redraw(); // the last picture goes
    if (state == State::Ended) {
        ShowMessage(name, tr("This stream has ended"), QString(), tr("Play again"));
        return;
    }
    const PlaybackFailure& failure = session_->Failure();
    ShowMessage(name, failure.headline, failure.details, failure.canRetry ? tr("Retry") : QString());
}

void MediaPlayer::SetURL(const QString& url, const RequestOptions& options)
{
    message_->hide();
    // What the guide says belongs to the channel before: the caller gives this one's after.
    programme_->SetInfo({});
    if (!surfing_->Show(url, options))
        session_->SetURL(url, options);
}

void MediaPlayer::Zapped(int direction, const QString& nextUrl, const RequestOptions& nextOptions)
{
    surfing_->Zapped(direction, nextUrl, nextOptions);
}

void MediaPlayer::SetProgrammeInfo(const ProgrammeInfo& info)
{
    programme_->SetInfo(info);
    // Given once the picture is already there (a guide read later), it shows at once.
    if (session_->CurrentState() == PlayerSession::State::Playing)
        programme_->ShowForAWhile();
    PlaceZapCard();
}

void MediaPlayer::ShowZap(const ZapInfo& info)
{
    PlaceZapCard();
    zap_->ShowFor(info);
    // A channel already playing (chosen again) has no picture to wait for.
    if (session_->CurrentState() != PlayerSession::State::Connecting &&
        session_->CurrentState() != PlayerSession::State::Reconnecting)
        zap_->StartCountdown();
}

void MediaPlayer::SayNoChannel(int number) { numbers_->SayNoChannel(number); }

QString MediaPlayer::NumberShown() const { return numbers_->Text(); }

void MediaPlayer::PlaceZapCard()
{
    const QRect videoArea(0, 0, width(), qMax(0, height() - ControlBar::kHeight));
    // Stacked on the programme card when there is one, their borders one line; else where it goes.
    const int bottom = programme_->Info().Empty() ? videoArea.bottom() - 10 : programme_->geometry().top();
    QRect zap = ClearOfKeptBox(ZapCard::Place(videoArea, bottom));
    // One column with the programme card, which may have been made narrower than the zap card.
    if (!programme_->Info().Empty())
        zap.setWidth(std::min(zap.width(), programme_->width()));
    zap_->setGeometry(zap);
}

void MediaPlayer::KeepCardsClearOf(QSize box, int rightGap, int bottomGap)
{
    keptBox_ = box;
    keptRightGap_ = rightGap;
    keptBottomGap_ = bottomGap;
    LayoutChildren();
}

QRect MediaPlayer::ClearOfKeptBox(QRect card) const
{
    // In full screen the player has left its parent, and the box with it.
    if (keptBox_.isEmpty() || (fullScreen_ && fullScreen_->IsOn()))
        return card;
    constexpr int kGap = 6;
    const QRect kept(width() - keptRightGap_ - keptBox_.width(), height() - keptBottomGap_ - keptBox_.height(),
                     keptBox_.width(), keptBox_.height());
    if (!card.intersects(kept.adjusted(-kGap, -kGap, kGap, kGap)))
        return card;
    // Narrower where that leaves the card room for its lines; else lifted above the box.
    constexpr int kNarrowest = 240;
    if (kept.left() - kGap - card.left() >= kNarrowest) {
        card.setRight(kept.left() - kGap - 1);
        return card;
    }
    card.moveBottom(kept.top() - kGap - 1);
    return card;
}

void MediaPlayer::RaiseOverlays()
{
    for (QWidget* w : {static_cast<QWidget*>(zap_), static_cast<QWidget*>(numbers_)})
        if (w->isVisible())
            w->raise();
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

const ProgrammeInfo& MediaPlayer::ProgrammeShown() const { return programme_->Info(); }

bool MediaPlayer::ProgrammeCardVisible() const { return programme_->isVisible(); }

void MediaPlayer::Retry()
{
    message_->hide();
    session_->Retry();
}

void MediaPlayer::Act()
{
    // Retry or play again: the card says "Connecting…" at once, the outcome follows.
    Guarded([this] { Retry(); });
}

void MediaPlayer::Guarded(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        Notice(tr("The player could not do that: %1").arg(QString::fromUtf8(e.what())));
    }
}

void MediaPlayer::Notice(const QString& text)
{
    ShowMessage(QString(), text, QString(), QString());
    // A notice over the picture, not a verdict on the channel: it goes after a while.
    QTimer::singleShot(kNoticeMs, this, [this, text] {
        if (Message() == text)
            message_->hide();
    });
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
    surfing_->Stop();
    message_->hide();
    session_->Close();
}

QString MediaPlayer::Message() const { return message_->isVisible() ? message_->Headline() : QString(); }

QString MediaPlayer::MessageDetails() const { return message_->isVisible() ? message_->Details() : QString(); }

QString MediaPlayer::Note() const { return note_->isVisible() ? note_->text() : QString(); }

QWindow* MediaPlayer::VideoSurface() const { return video_; }

quint64 MediaPlayer::FramesRendered() const { return video_ ? video_->FramesRendered() : 0; }

bool MediaPlayer::IsFullScreen() const { return fullScreen_->IsOn(); }

bool MediaPlayer::ControlBarShown() const { return !bar_->isHidden(); }

void MediaPlayer::SetFullScreen(bool on) { fullScreen_->Set(on); }

void MediaPlayer::ShowMessage(const QString& title, const QString& headline, const QString& details,
                              const QString& action)
{
    // Placed before it shows: a box that grows or moves while shown leaves traces on the
    // native windows under it.
    card_->hide();
    message_->Set(title, headline, details, action);
    LayoutChildren();
    message_->show();
    message_->raise();
    message_->repaint();
}

void MediaPlayer::ShowNote(const QString& text)
{
    note_->setText(text);
    note_->adjustSize();
    note_->show();
    note_->raise();
    noteTimer_->start();
    LayoutChildren();
}

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
    message_->PlaceIn(videoArea);
    card_->setGeometry(videoArea);
    // Each card is moved once: a card on screen moved twice uncovered the picture between, which
    // the window system cleared and the video had to draw again.
    programme_->setGeometry(ClearOfKeptBox(ProgrammeCard::Place(videoArea)));
    PlaceZapCard();
    numbers_->PlaceIn(videoArea);
    buffering_->move(10, 10);
    buffering_->raise();
    // The note sits low in a corner, over the picture's edge rather than its middle.
    note_->move(10, qMax(0, videoArea.bottom() - note_->height() - 10));
    note_->raise();
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
        numbers_->Type(key - Qt::Key_0);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return numbers_->Commit();
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        emit channelStepRequested(key == Qt::Key_PageDown ? 1 : -1);
        return true;
    case Qt::Key_Escape:
        // Escape drops a number being typed before it leaves full screen.
        if (numbers_->Cancel())
            return true;
        if (!IsFullScreen())
            return false;
        SetFullScreen(false);
        return true;
    case Qt::Key_Space:
        TogglePause();
        return true;
    case Qt::Key_I:
        programme_->ShowForAWhile();
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
    case Qt::Key_Left:
    case Qt::Key_Right:
        // Only where the stream allows it: a live channel has nowhere to go.
        if (seekable_ && duration_ > 0) {
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
