#include "player/mediaplayer.h"

#include "widgets/alignment.h"
#include "player/channelcard.h"
#include "player/mpvcore.h"
#include "player/mpvvideowindow.h"
#include "base/playableaddress.h"
#include "player/playericons.h"
#include "player/stallwatch.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace quorvel {
namespace {

constexpr int kBarHeight = 30;

QString FormatTime(double seconds)
{
    const int s = seconds > 0 ? static_cast<int>(seconds) : 0;
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0'));
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

MediaPlayer::MediaPlayer(QWidget* parent, const QString& audioOutput)
    : QWidget(parent), core_(std::make_unique<MpvCore>(audioOutput)), settings_(std::make_unique<PlayerSettings>(*core_))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    // The video is a native window; what shows over it (messages, the buffering note, and
    // the window's own controls placed over the player) are native windows stacked above it.
    video_ = new MpvVideoWindow(*core_);
    videoBox_ = QWidget::createWindowContainer(video_, this);
    videoBox_->setObjectName(QStringLiteral("playerVideo"));
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    videoBox_->setAttribute(Qt::WA_NativeWindow);
    videoBox_->setFocusPolicy(Qt::NoFocus);
    connect(video_, &MpvVideoWindow::frameRendered, this, [this] {
        if (awaitingPicture_) {
            awaitingPicture_ = false;
            card_->hide();
        }
        emit frameRendered();
    });
    connect(video_, &MpvVideoWindow::doubleClicked, this, [this] { SetFullScreen(!fullScreen_); });
    connect(video_, &MpvVideoWindow::wheelTurned, this, &MediaPlayer::TurnVolume);
    card_ = new ChannelCard(this);
    card_->setAttribute(Qt::WA_NativeWindow);

    stall_ = new StallWatch([this] { return StallWatch::Progress{position_, video_->FramesRendered(), bufferPercent_}; },
                            kStallMs, this);
    connect(stall_, &StallWatch::stalled, this, &MediaPlayer::Stalled);
    // The reconnection plays: a later stall may reconnect again.
    connect(stall_, &StallWatch::advanced, this, [this] { reconnected_ = false; });

    BuildControlBar();

    messageBox_ = new QWidget(this);
    messageBox_->setObjectName(QStringLiteral("playerMessage"));
    messageBox_->setStyleSheet(QStringLiteral(
        "#playerMessage { background: #0c0c10; border: 1px solid #3a3f4b; border-radius: 6px; }"
        "QLabel { color: #f0f0f0; font-size: 12px; }"
        "QPushButton { color: white; background: #2f6fd6; border: none; border-radius: 3px; padding: 4px 14px; }"
        "QPushButton:hover { background: #4a86e8; }"));
    auto* mlay = new QVBoxLayout(messageBox_);
    mlay->setContentsMargins(14, 12, 14, 12);
    message_ = new QLabel(messageBox_);
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    retry_ = new QPushButton(tr("Retry"), messageBox_);
    retry_->setFocusPolicy(Qt::NoFocus);
    mlay->addWidget(message_);
    mlay->addWidget(retry_, 0, Qt::AlignCenter);
    messageBox_->setAttribute(Qt::WA_NativeWindow);
    messageBox_->hide();
    connect(retry_, &QPushButton::clicked, this, &MediaPlayer::Retry);

    buffering_ = new QLabel(this);
    buffering_->setStyleSheet(QStringLiteral(
        "color: white; background: #141418; padding: 3px 8px; font-size: 11px;"));
    buffering_->setAttribute(Qt::WA_NativeWindow);
    buffering_->hide();

    connect(core_.get(), &MpvCore::playbackFailed, this, [this](const QString& reason) {
        buffering_->hide();
        video_->Redraw(); // the last picture of what played before goes
        const bool reconnecting = reconnected_;
        StopWatching();
        ShowMessage(reconnecting ? StoppedSending() : tr("Cannot play this channel: %1").arg(reason), true);
    });
    connect(core_.get(), &MpvCore::fileLoaded, this, [this] {
        messageBox_->hide();
        // A channel of sound alone never draws a picture: it shows its name and a sound sign.
        if (!core_->HasVideo()) {
            awaitingPicture_ = false;
            card_->ShowFor(ChannelCard::Kind::AudioOnly, ShownName());
        }
        stall_->Start();
    });
    connect(core_.get(), &MpvCore::playbackEnded, this, &MediaPlayer::StopWatching);
    connect(core_.get(), &MpvCore::bufferingChanged, this, [this](bool on, int percent) {
        bufferPercent_ = percent;
        buffering_->setText(tr("Buffering… %1%").arg(percent));
        buffering_->adjustSize();
        buffering_->setVisible(on);
        LayoutChildren();
    });
    LayoutChildren();
}

MediaPlayer::~MediaPlayer()
{
    // The render context goes with the video window, before the core.
    delete videoBox_;
    videoBox_ = nullptr;
    video_ = nullptr;
    settings_.reset();
    core_.reset();
}

void MediaPlayer::BuildControlBar()
{
    bar_ = new QWidget(this);
    bar_->setObjectName(QStringLiteral("playerBar"));
    bar_->setAttribute(Qt::WA_StyledBackground);
    bar_->setStyleSheet(QStringLiteral(
        "#playerBar { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #2b2e36, stop:1 #121317);"
        "  border-top: 1px solid #3c404a; }"
        "QToolButton { border: none; padding: 2px; border-radius: 3px; }"
        "QToolButton:hover { background: #3a3f4b; }"
        "QLabel { color: #c8ccd4; font-size: 11px; }"
        "QSlider::groove:horizontal { height: 4px; background: #4a4e58; border-radius: 2px; }"
        "QSlider::sub-page:horizontal { background: #4a90e2; border-radius: 2px; }"
        "QSlider::handle:horizontal { width: 10px; margin: -4px 0; background: #e8e8e8; border-radius: 5px; }"));
    auto* lay = new QHBoxLayout(bar_);
    lay->setContentsMargins(4, 2, 6, 2);
    lay->setSpacing(2);
    playPause_ = BarButton(bar_, PlayerGlyph::Pause, tr("Pause"));
    stop_ = BarButton(bar_, PlayerGlyph::Stop, tr("Stop"));
    seek_ = new QSlider(Qt::Horizontal, bar_);
    seek_->setFocusPolicy(Qt::NoFocus);
    seek_->setRange(0, 1000);
    time_ = new QLabel(bar_);
    mute_ = BarButton(bar_, PlayerGlyph::Sound, tr("Mute"));
    volume_ = new QSlider(Qt::Horizontal, bar_);
    volume_->setFocusPolicy(Qt::NoFocus);
    volume_->setRange(0, 100);
    volume_->setValue(100);
    volume_->setFixedWidth(64);
    volume_->setToolTip(tr("Volume"));
    fullScreenButton_ = BarButton(bar_, PlayerGlyph::FullScreen, tr("Full screen"));
    lay->addWidget(playPause_);
    lay->addWidget(stop_);
    lay->addSpacing(4);
    lay->addWidget(seek_, 1);
    lay->addWidget(time_);
    lay->addStretch(0);
    lay->addWidget(mute_);
    lay->addWidget(volume_);
    lay->addWidget(fullScreenButton_);
    seek_->hide();
    time_->hide();

    // Every control's call into mpv runs guarded: a refusal shows in the player's message.
    connect(playPause_, &QToolButton::clicked, this, [this] {
        Guarded([this] {
            if (core_->Flag(MpvProperty::IdleActive)) {
                Retry();
                return;
            }
            core_->SetFlag(MpvProperty::Pause, !core_->Flag(MpvProperty::Pause));
        });
    });
    connect(stop_, &QToolButton::clicked, this, [this] {
        StopWatching();
        Guarded([this] { core_->Stop(); });
    });
    connect(mute_, &QToolButton::clicked, this, [this] { Guarded([this] { settings_->setMute(!settings_->mute()); }); });
    connect(volume_, &QSlider::valueChanged, this,
            [this](int v) { Guarded([this, v] { core_->SetDouble(MpvProperty::Volume, v); }); });
    connect(fullScreenButton_, &QToolButton::clicked, this, [this] { SetFullScreen(!fullScreen_); });
    connect(seek_, &QSlider::sliderPressed, this, [this] { seeking_ = true; });
    connect(seek_, &QSlider::sliderReleased, this, [this] {
        seeking_ = false;
        if (duration_ > 0)
            Guarded([this] { core_->SeekTo(duration_ * seek_->value() / 1000.0); });
    });

    connect(core_.get(), &MpvCore::pauseChanged, this, [this](bool paused) {
        paused_ = paused;
        stall_->SetPaused(paused);
        playPause_->setIcon(PlayerIcon(paused ? PlayerGlyph::Play : PlayerGlyph::Pause));
        playPause_->setToolTip(paused ? tr("Play") : tr("Pause"));
    });
    connect(core_.get(), &MpvCore::idleChanged, this, [this](bool idle) {
        const bool paused = idle || paused_;
        playPause_->setIcon(PlayerIcon(paused ? PlayerGlyph::Play : PlayerGlyph::Pause));
        playPause_->setToolTip(paused ? tr("Play") : tr("Pause"));
        if (idle) {
            video_->Redraw();
            seekable_ = false;
            seek_->hide();
            time_->hide();
        }
    });
    connect(core_.get(), &MpvCore::muteChanged, this, [this](bool muted) {
        mute_->setIcon(PlayerIcon(muted ? PlayerGlyph::Muted : PlayerGlyph::Sound));
        mute_->setToolTip(muted ? tr("Sound on") : tr("Mute"));
    });
    connect(core_.get(), &MpvCore::volumeChanged, this, [this](double v) {
        const QSignalBlocker block(volume_);
        volume_->setValue(static_cast<int>(v + 0.5));
    });
    connect(core_.get(), &MpvCore::seekableChanged, this, [this](bool s) {
        seekable_ = s;
        UpdateTime();
    });
    connect(core_.get(), &MpvCore::durationChanged, this, [this](double d) {
        duration_ = d;
        UpdateTime();
    });
    connect(core_.get(), &MpvCore::timePosChanged, this, [this](double t) {
        position_ = t;
        // The position changes with every frame; the bar shows whole seconds, so it is drawn
        // again only when the second changes.
        if (static_cast<int>(t) != static_cast<int>(shownPosition_))
            UpdateTime();
    });
}

void MediaPlayer::UpdateTime()
{
    // A live stream has no length to seek in: the bar then shows no seek bar and no time.
    const bool show = seekable_ && duration_ > 0;
    seek_->setVisible(show);
    time_->setVisible(show);
    if (!show)
        return;
    shownPosition_ = position_;
    time_->setText(FormatTime(position_) + QStringLiteral(" / ") + FormatTime(duration_));
    if (!seeking_) {
        const QSignalBlocker block(seek_);
        seek_->setValue(static_cast<int>(1000.0 * position_ / duration_));
    }
}

void MediaPlayer::setURL(const QString& url)
{
    url_ = url;
    messageBox_->hide();
    StopWatching();
    if (url.trimmed().isEmpty()) {
        core_->Stop();
        ShowMessage(tr("Cannot play this channel: it has no stream address"), false);
        return;
    }
    if (!IsPlayableAddress(url.toStdString())) {
        core_->Stop();
        ShowMessage(tr("Cannot play this channel: its address is not a stream address"), false);
        return;
    }
    StartLoading();
}

void MediaPlayer::StartLoading()
{
    // Video needs the render context before the address opens.
    try {
        video_->EnsureRenderContext();
    } catch (const std::exception& e) {
        core_->Stop();
        ShowMessage(QString::fromUtf8(e.what()), false);
        return;
    }
    core_->Load(url_);
    // Until its first picture the channel shows that it is on its way.
    awaitingPicture_ = true;
    card_->ShowFor(ChannelCard::Kind::Connecting, ShownName());
}

QString MediaPlayer::ShownName() const { return channelName_.isEmpty() ? url_ : channelName_; }

QString MediaPlayer::StoppedSending() const { return tr("Cannot play this channel: the stream stopped sending"); }

void MediaPlayer::StopWatching()
{
    stall_->Stop();
    reconnected_ = false;
    awaitingPicture_ = false;
    card_->hide();
}

void MediaPlayer::Stalled()
{
    if (!reconnected_) {
        // A live channel often hiccups: open it again, once.
        reconnected_ = true;
        Guarded([this] { StartLoading(); });
        stall_->Start();
        return;
    }
    buffering_->hide();
    StopWatching();
    Guarded([this] { core_->Stop(); });
    video_->Redraw();
    ShowMessage(StoppedSending(), true);
}

void MediaPlayer::Retry()
{
    if (!IsPlayableAddress(url_.toStdString()))
        return;
    messageBox_->hide();
    StopWatching();
    Guarded([this] { StartLoading(); });
}

void MediaPlayer::Guarded(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        const QString text = tr("The player could not do that: %1").arg(QString::fromUtf8(e.what()));
        ShowMessage(text, false);
        // A notice over the picture, not a verdict on the channel: it goes after a while.
        QTimer::singleShot(kNoticeMs, this, [this, text] {
            if (Message() == text)
                messageBox_->hide();
        });
    }
}

void MediaPlayer::ShowRequest()
{
    if (fullScreen_)
        return;
    QWidget* focus = QApplication::focusWidget();
    if (!isVisible())
        show();
    LayoutChildren();
    video_->Redraw();
    // The control never keeps the keyboard focus: it goes back where it was.
    if (focus && QApplication::focusWidget() != focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void MediaPlayer::close()
{
    StopWatching();
    url_.clear();
    core_->Stop();
}

QString MediaPlayer::Message() const { return messageBox_->isVisible() ? message_->text() : QString(); }

QWindow* MediaPlayer::VideoSurface() const { return video_; }

quint64 MediaPlayer::FramesRendered() const { return video_ ? video_->FramesRendered() : 0; }

void MediaPlayer::ShowMessage(const QString& text, bool canRetry)
{
    message_->setText(text);
    retry_->setVisible(canRetry);
    messageBox_->show();
    messageBox_->raise();
    LayoutChildren();
}

void MediaPlayer::LayoutChildren()
{
    const int barHeight = kBarHeight;
    const QRect videoArea(0, 0, width(), qMax(0, height() - barHeight));
    videoBox_->setGeometry(videoArea);
    bar_->setGeometry(0, videoArea.bottom() + 1, width(), barHeight);
    const int w = qMin(360, qMax(120, videoArea.width() - 40));
    message_->setFixedWidth(w - 28);
    messageBox_->adjustSize();
    // Native windows over the video cannot be see-through: the rounded corners are cut out.
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(messageBox_->rect()), 6, 6);
    messageBox_->setMask(QRegion(rounded.toFillPolygon().toPolygon()));
    messageBox_->move(videoArea.center() - QPoint(messageBox_->width() / 2, messageBox_->height() / 2));
    card_->setGeometry(videoArea);
    buffering_->move(10, 10);
    buffering_->raise();
}

void MediaPlayer::TurnVolume(int angleDelta)
{
    // One notch of the wheel is five steps of the volume slider, which passes them on.
    volume_->setValue(volume_->value() + angleDelta * 5 / 120);
}

void MediaPlayer::wheelEvent(QWheelEvent* event)
{
    TurnVolume(event->angleDelta().y());
    event->accept();
}

void MediaPlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutChildren();
}

void MediaPlayer::CoverScreen()
{
    // The desktop makes a window full screen through its window manager; where none does it
    // (a bare X server, a manager that ignores the request), the window takes the screen itself.
    QWidget* top = window();
    if (!fullScreen_ || !top->screen())
        return;
    const QRect screen = top->screen()->geometry();
    if (top->geometry() != screen)
        top->setGeometry(screen);
}

bool MediaPlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (fullScreen_ && watched == window()) {
        // The window's size changes as the desktop makes it full screen.
        if (event->type() == QEvent::Resize)
            setGeometry(window()->rect());
        // Escape works wherever the keyboard focus went: a key nobody took reaches the window.
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            SetFullScreen(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MediaPlayer::keyPressEvent(QKeyEvent* event)
{
    if (fullScreen_ && event->key() == Qt::Key_Escape) {
        SetFullScreen(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void MediaPlayer::SetFullScreen(bool on)
{
    if (on == fullScreen_)
        return;
    // Full screen is the player's own window going full screen with the player covering it.
    // The video keeps its window, and so its GL context: moving it to another window would
    // take the context, and the video output, away from a playing stream.
    QWidget* top = window();
    if (on) {
        homeParent_ = top != this ? parentWidget() : nullptr;
        homeGeometry_ = geometry();
        homeAbove_ = nullptr;
        homeAlign_ = AlignOf(this);
        homeWindowState_ = top->windowState();
        homeFocus_ = top->focusWidget();
        if (homeParent_) {
            // Remember the sibling stacked right above, to return under it.
            const auto siblings = homeParent_->children();
            const int at = siblings.indexOf(this);
            for (int i = at + 1; i < siblings.size() && !homeAbove_; ++i)
                if (auto* w = qobject_cast<QWidget*>(siblings[i]))
                    homeAbove_ = w;
        }
        fullScreen_ = true;
        if (homeParent_) {
            SetAlign(this, Align::None);
            if (homeParent_ != top)
                setParent(top);
            top->installEventFilter(this);
            setGeometry(top->rect());
            raise();
            show();
        }
        // A window of fixed size could not grow to the screen; its limits come back afterwards.
        homeWindowGeometry_ = top->geometry();
        homeMinimumSize_ = top->minimumSize();
        homeMaximumSize_ = top->maximumSize();
        top->setMinimumSize(0, 0);
        top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        top->setWindowState((homeWindowState_ & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
        QTimer::singleShot(kFullScreenGraceMs, this, &MediaPlayer::CoverScreen);
        top->activateWindow();
        setFocusPolicy(Qt::StrongFocus);
        setFocus();
    } else {
        fullScreen_ = false;
        setFocusPolicy(Qt::NoFocus);
        top->setWindowState(homeWindowState_);
        top->setMinimumSize(homeMinimumSize_);
        top->setMaximumSize(homeMaximumSize_);
        if (!(homeWindowState_ & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            top->setGeometry(homeWindowGeometry_);
        if (homeParent_) {
            top->removeEventFilter(this);
            if (homeParent_ != top)
                setParent(homeParent_);
            SetAlign(this, homeAlign_);
            setGeometry(homeGeometry_);
            if (homeAbove_) {
                stackUnder(homeAbove_);
                // Native windows (the ticker over the video) keep their own stacking: the ones
                // above go back above, in their order.
                const auto siblings = homeParent_->children();
                for (int i = siblings.indexOf(this) + 1; i < siblings.size(); ++i)
                    if (auto* w = qobject_cast<QWidget*>(siblings[i]); w && w->internalWinId())
                        w->raise();
            }
            show();
        }
        // The keyboard goes back where it was, the channel tree mostly, so zapping goes on.
        if (homeFocus_ && homeFocus_ != this)
            homeFocus_->setFocus(Qt::OtherFocusReason);
    }
    fullScreenButton_->setIcon(PlayerIcon(on ? PlayerGlyph::LeaveFullScreen : PlayerGlyph::FullScreen));
    fullScreenButton_->setToolTip(on ? tr("Leave full screen") : tr("Full screen"));
    LayoutChildren();
}

} // namespace quorvel
