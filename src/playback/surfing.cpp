#include "playback/surfing.h"

#include "base/playableaddress.h"
#include "playback/mpvcore.h"
#include "playback/mpvrenderer.h"
#include "playback/mpvvideowindow.h"
#include "playback/playersession.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QTimer>

#include <exception>

namespace quorvel {

Surfing::Surfing(PlayerSession& session, MpvVideoWindow& video, const QString& audioOutput, QObject* parent)
    : QObject(parent), session_(session), video_(video), audioOutput_(audioOutput)
{
    idle_ = new QTimer(this);
    idle_->setSingleShot(true);
    idle_->setInterval(kIdleMs);
    // The surfing ends, the idle core stays: the next zap, minutes later, opens its channel
    // there too, rather than waiting for mpv to let the one playing go (up to 100 ms while
    // libav is between two reads of a live channel).
    connect(idle_, &QTimer::timeout, this, [this] {
        direction_ = 0;
        CloseAhead();
    });
    spareLater_ = new QTimer(this);
    spareLater_->setSingleShot(true);
    spareLater_->setInterval(kSpareLaterMs);
    connect(spareLater_, &QTimer::timeout, this, &Surfing::MakeSpareCore);
}

Surfing::~Surfing()
{
    renderer_.reset();
    core_.reset();
}

void Surfing::SetIdleMs(int ms) { idle_->setInterval(ms); }

bool Surfing::SpareReady() const
{
    return core_ && aheadUrl_.isEmpty() && !warmingUp_ && renderer_ && renderer_->HasPrepared();
}

bool Surfing::AheadHasPicture() const { return aheadLoaded_ && renderer_ && renderer_->HasPicture(); }

void Surfing::Zapped(int direction, const QString& nextUrl, const RequestOptions& nextOptions)
{
    const bool zapping = idle_->isActive();
    const bool again = direction != 0 && direction == direction_ && zapping;
    direction_ = direction;
    idle_->start();
    if (!core_)
        spareLater_->start();
    if (direction == 0) {
        CloseAhead();
        return;
    }
    // The channel after is the one playing (a category of one): nothing to open.
    if (!again || nextUrl.isEmpty() || (nextUrl == session_.URL() && nextOptions == session_.Options())) {
        CloseAhead();
        return;
    }
    OpenAhead(nextUrl, nextOptions);
}

bool Surfing::Show(const QString& url, const RequestOptions& options)
{
    if (ShowAhead(url, options))
        return true;
    // The idle second core, while the viewer zaps: the channel opens there at once, not after
    // mpv ended the one playing.
    if (!core_ || warmingUp_ || !aheadUrl_.isEmpty() || !core_->Settled() || !video_.HasRenderContext())
        return false;
    OpenAhead(url, options);
    return ShowAhead(url, options);
}

bool Surfing::ShowAhead(const QString& url, const RequestOptions& options)
{
    if (!core_ || !aheadLoaded_ || url != aheadUrl_ || !(options == aheadOptions_) || !video_.HasRenderContext())
        return false;
    aheadUrl_.clear();
    aheadLoaded_ = false;
    const bool picture = renderer_->HasPicture();
    renderer_->SetUpdateHandler(nullptr);
    const qint64 exchangedAt = QDeadlineTimer::current().deadlineNSecs();
    renderer_ = video_.ExchangeRenderer(std::move(renderer_));
    Watch();
    // When its first picture is there already the window draws it next: the channel plays
    // from now, without waiting for the drawing thread to say so.
    session_.TakeOpened(url, options, *core_, picture, exchangedAt);
    // What played before goes quiet here, ready to open the next channel ahead.
    CloseAhead();
    // The renderer the window gave back was made for the core that played, now this one.
    if (!renderer_->HasRenderContext())
        renderer_.reset();
    return true;
}

void Surfing::OpenAhead(const QString& url, const RequestOptions& options)
{
    if (core_ && url == aheadUrl_ && options == aheadOptions_)
        return;
    // Its black picture may still be on its way, and would be taken for the channel's first.
    if (warmingUp_)
        return;
    // Only what the session itself would open: anything else is the session's to refuse.
    if (url.trimmed().isEmpty() || !IsPlayableAddress(url.toStdString())) {
        CloseAhead();
        return;
    }
    aheadUrl_ = url;
    aheadOptions_ = options;
    aheadLoaded_ = false;
    LoadAhead();
}

void Surfing::LoadAhead()
{
    if (aheadUrl_.isEmpty() || aheadLoaded_ || (core_ && !core_->Settled()))
        return;
    try {
        MakeCore();
        // Silent and held at its first picture until it is shown.
        core_->SetFlag(MpvProperty::Mute, true);
        core_->SetFlag(MpvProperty::Pause, true);
        renderer_->ForgetPicture();
        // The sound's language the viewer chose goes on with the channels zapped to.
        core_->SetText(MpvProperty::AudioLanguage, session_.Core().Text(MpvProperty::AudioLanguage));
        core_->Load(aheadUrl_, aheadOptions_);
        aheadLoaded_ = true;
    } catch (const std::exception&) {
        // Opening ahead is a help, never a need: the zap opens the channel as ever.
        Stop();
    }
}

void Surfing::MakeSpareCore()
{
    if (core_ || !video_.HasRenderContext())
        return;
    // Not beside the opening of the channel zapped to: its warm-up takes a core for a moment.
    const PlayerSession::State state = session_.CurrentState();
    if (state == PlayerSession::State::Connecting || state == PlayerSession::State::Reconnecting) {
        spareLater_->start();
        return;
    }
    try {
        MakeCore();
        core_->SetFlag(MpvProperty::Mute, true);
        core_->SetFlag(MpvProperty::Pause, true);
        // A renderer builds its drawing programs for the first picture it draws: with software
        // GL the first zap shown in a new core waited some 15 ms for them. One black picture of
        // a common channel's size is drawn off screen first; the core is stopped once it is.
        core_->Load(QString::fromLatin1(kWarmUpAddress), {});
        warmingUp_ = true;
    } catch (const std::exception&) {
        // Zaps open their channels in the session's core as ever.
        Stop();
    }
}

void Surfing::MakeCore()
{
    if (!core_) {
        core_ = std::make_unique<MpvCore>(audioOutput_);
        // A channel ahead that cannot play is let go: its zap opens it and tells why.
        connect(core_.get(), &MpvCore::playbackFailed, this, &Surfing::CloseAhead);
        connect(core_.get(), &MpvCore::playbackEnded, this, &Surfing::CloseAhead);
        connect(core_.get(), &MpvCore::settled, this, &Surfing::LoadAhead, Qt::QueuedConnection);
    }
    if (!renderer_) {
        renderer_ = std::make_unique<MpvRenderer>(*core_, video_.RendererFormat());
        Watch();
    }
    renderer_->Ensure();
}

void Surfing::Watch()
{
    if (!renderer_)
        return;
    // mpv is told its news was looked at, as it asks, and its first picture counted as drawn
    // (else mpv held the core for 200 ms after it, and closing the channel ahead then, on a zap
    // the other way, held the window as long): drawn once off screen, at the window's size, so
    // that the window only copies it when it takes the renderer; nothing is drawn again. Called
    // on an mpv thread: the look is queued to this one, and not taken once the window has the
    // renderer.
    MpvRenderer* renderer = renderer_.get();
    renderer->SetUpdateHandler([this, renderer] {
        QMetaObject::invokeMethod(
            this, [this, renderer] { LookAtNews(renderer); }, Qt::QueuedConnection);
    });
}

void Surfing::LookAtNews(MpvRenderer* renderer)
{
    if (renderer_.get() != renderer)
        return;
    const MpvRenderer::News news = renderer->TakeNews();
    if (news == MpvRenderer::News::None)
        return;
    // Only the channel ahead, once open, has a picture worth drawing: the last ones of the
    // channel this core played before (it stops without waiting) are let go undrawn.
    const bool ahead = warmingUp_ || (!aheadUrl_.isEmpty() && core_ && core_->Entry().opened);
    if (news != MpvRenderer::News::NewPicture || !ahead) {
        renderer->Skip();
        if (!ahead)
            renderer->ForgetPicture();
        return;
    }
    renderer->Prepare(video_.PixelSize());
    // Left as it was, mpv held its core at that one picture, and the next channel opened in it
    // waited 200 ms for mpv to give up on it. The copy is made ready with a channel's picture:
    // made now, it fell on the next zap.
    if (warmingUp_)
        return CloseAhead();
    // Later, not beside the first picture of the channel just zapped to.
    if (renderer->HasPrepared() && !renderer->CopyReady())
        QTimer::singleShot(kCopyLaterMs, this, [this, renderer] {
            if (renderer_.get() == renderer)
                renderer->PrepareCopy();
        });
}

void Surfing::CloseAhead()
{
    warmingUp_ = false;
    aheadUrl_.clear();
    aheadOptions_ = {};
    aheadLoaded_ = false;
    if (!core_)
        return;
    try {
        // Without waiting: mpv may be holding the core until this thread looks at its last
        // picture (up to 200 ms, with the window held as long).
        core_->Park();
    } catch (const std::exception&) {
        Stop();
    }
}

void Surfing::Stop()
{
    warmingUp_ = false;
    direction_ = 0;
    idle_->stop();
    spareLater_->stop();
    aheadUrl_.clear();
    aheadOptions_ = {};
    aheadLoaded_ = false;
    // The render context goes before its core.
    renderer_.reset();
    core_.reset();
}

} // namespace quorvel
