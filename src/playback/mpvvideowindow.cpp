#include "playback/mpvvideowindow.h"

#include "platform/windowhints.h"
#include "playback/mpvrenderer.h"
#include "playback/zaptrace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QExposeEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPlatformSurfaceEvent>
#include <QSurfaceFormat>
#include <QThread>
#include <QWheelEvent>

namespace quorvel {

MpvVideoWindow::MpvVideoWindow(MpvCore& core) : thread_(std::make_unique<QThread>())
{
    setSurfaceType(QSurface::OpenGLSurface);
    // mpv draws colour only: no depth, stencil or alpha planes for the GL to keep up per frame.
    QSurfaceFormat format = requestedFormat();
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    format.setAlphaBufferSize(0);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    setFormat(format);
    // A click on the video leaves the keyboard where it was (the channel tree, mostly).
    setFlag(Qt::WindowDoesNotAcceptFocus);
    thread_->setObjectName(QStringLiteral("video"));
    onThread_ = new QObject;
    onThread_->moveToThread(thread_.get());
    thread_->start();
    renderer_ = std::make_unique<MpvRenderer>(core, requestedFormat());
    Attach();
}

MpvVideoWindow::~MpvVideoWindow()
{
    // The GL context comes back to this thread, where the renderer frees it (the render context
    // first) before the core goes.
    QThread* here = QThread::currentThread();
    renderer_->SetUpdateHandler(nullptr);
    if (renderer_->Context() && renderer_->Context()->thread() == thread_.get())
        QMetaObject::invokeMethod(
            onThread_, [this, here] { renderer_->HandTo(here); }, Qt::BlockingQueuedConnection);
    // The thread ends before the renderer goes: a drawing or a look at mpv's news queued
    // before would otherwise run on a renderer that is gone. Calls still queued go with its
    // object.
    thread_->quit();
    thread_->wait();
    delete onThread_;
    renderer_.reset();
}

void MpvVideoWindow::Attach()
{
    // Called on an mpv thread: only queue the work, for the drawing thread.
    renderer_->SetUpdateHandler([this] {
        QMetaObject::invokeMethod(
            onThread_, [this] { ProcessRenderUpdate(); }, Qt::QueuedConnection);
    });
}

void MpvVideoWindow::EnsureRenderContext()
{
    if (renderer_->HasRenderContext())
        return;
    renderer_->Ensure();
    // From here on the context is the drawing thread's.
    renderer_->HandTo(thread_.get());
}

bool MpvVideoWindow::HasRenderContext() const { return renderer_->HasRenderContext(); }

std::unique_ptr<MpvRenderer> MpvVideoWindow::ExchangeRenderer(std::unique_ptr<MpvRenderer> renderer)
{
    renderer->HandTo(thread_.get());
    QThread* here = QThread::currentThread();
    bool hasPicture = false;
    // On the drawing thread, between two drawings; this thread waits meanwhile.
    QMetaObject::invokeMethod(
        onThread_,
        [this, here, &renderer, &hasPicture] {
            renderer_->SetUpdateHandler(nullptr);
            std::swap(renderer_, renderer);
            renderer->HandTo(here);
            // The picture it decoded while nobody drew it is the next one drawn: mpv keeps it,
            // even once it gave up waiting for it to be drawn.
            newFrame_ = hasPicture = renderer_->HasPicture();
            // Another core's pictures are never the old channel's.
            newFrameAt_ = QDeadlineTimer::current().deadlineNSecs();
            newFrameAfterHold_ = true;
        },
        Qt::BlockingQueuedConnection);
    Attach();
    // A core with no picture yet would draw black over the last channel's picture, which stays
    // until the new channel's first comes, as when a channel opens in the playing core. What
    // mpv said before this window listened is looked at all the same.
    if (hasPicture)
        RequestRender();
    else
        QMetaObject::invokeMethod(
            onThread_, [this] { ProcessRenderUpdate(); }, Qt::QueuedConnection);
    return renderer;
}

void MpvVideoWindow::ProcessRenderUpdate()
{
    const MpvRenderer::News news = renderer_->TakeNews();
    if (news == MpvRenderer::News::None)
        return;
    const bool isNew = news == MpvRenderer::News::NewPicture;
    // A new picture before mpv let the old channel's go may still be the old channel's, one
    // it had on its way; once mpv asked for the old one again (or for none), the next new
    // picture is the new channel's, and the hold ends with it.
    int hold = hold_.load();
    if (!isNew && hold == kHoldWaiting && hold_.compare_exchange_strong(hold, kHoldArmed))
        hold = kHoldArmed;
    bool afterHold = false;
    if (isNew && hold == kHoldArmed && hold_.compare_exchange_strong(hold, kHoldNone)) {
        hold = kHoldNone;
        afterHold = true;
    }
    if (isNew) {
        newFrame_ = true;
        newFrameAt_ = QDeadlineTimer::current().deadlineNSecs();
        newFrameAfterHold_ = afterHold;
    }
    // Not shown now: a new picture still counts as new, drawn on the next exposure. While a
    // new address opens, mpv asks for the old channel's picture again (at the address, at the
    // new channel's first frame) and the window has it already: drawing it took both cores for
    // a few milliseconds with software GL, just when the new channel was being opened.
    const bool skip = !exposed_ || (hold != kHoldNone && news == MpvRenderer::News::SamePicture);
    if (skip && ContextIsHere())
        renderer_->Skip();
    else
        Render();
}

void MpvVideoWindow::HoldPicture() { hold_ = kHoldWaiting; }

void MpvVideoWindow::ReleasePicture() { hold_ = kHoldNone; }

bool MpvVideoWindow::ContextIsHere() const
{
    // A context that never got a render context stays on the window's thread.
    const QOpenGLContext* context = renderer_->Context();
    return context && context->thread() == QThread::currentThread();
}

void MpvVideoWindow::Redraw()
{
    if (hold_ == kHoldNone)
        RequestRender();
}

void MpvVideoWindow::RequestRender()
{
    if (!renderAsked_.exchange(true))
        QMetaObject::invokeMethod(
            onThread_, [this] { Render(); }, Qt::QueuedConnection);
}

void MpvVideoWindow::NoteSize()
{
    const qreal dpr = devicePixelRatio();
    pixelWidth_ = static_cast<int>(width() * dpr);
    pixelHeight_ = static_cast<int>(height() * dpr);
}

void MpvVideoWindow::Render()
{
    renderAsked_ = false;
    // A window that is not on screen takes no drawing; its next exposure draws what is current.
    if (!exposed_ || !ContextIsHere())
        return;
    if (!renderer_->Render(this, pixelWidth_, pixelHeight_))
        return;
    if (newFrame_) {
        newFrame_ = false;
        ++framesRendered_;
        if (newFrameAfterHold_)
            qCDebug(zapTrace, "%.1f window: first picture after the hold drawn (told at %.1f)", ZapTraceMs(),
                    newFrameAt_ / 1e6);
        // Reaches the window's thread queued.
        emit frameRendered(newFrameAt_, newFrameAfterHold_);
    }
}

void MpvVideoWindow::StopDrawing()
{
    if (!thread_->isRunning()) {
        exposed_ = false;
        return;
    }
    // A drawing under way goes on with the window system's window it began on: closing the
    // top-level window destroys that window (and with it the surface GL draws on) as soon as
    // this returns.
    QMetaObject::invokeMethod(
        onThread_,
        [this] {
            exposed_ = false;
            QOpenGLContext* context = renderer_->Context();
            if (context && QOpenGLContext::currentContext() == context)
                context->doneCurrent();
        },
        Qt::BlockingQueuedConnection);
}

bool MpvVideoWindow::event(QEvent* event)
{
    // The cards over the picture come and go on every zap: each took a drawing of the picture
    // again, just as the new channel's first one was to be seen.
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated)
        keepsPicture_ = KeepContentsWhenCovered(this);
    if (event->type() == QEvent::PlatformSurface && static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                                                        QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
        StopDrawing();
    return QWindow::event(event);
}

void MpvVideoWindow::exposeEvent(QExposeEvent*)
{
    NoteSize();
    if (!isExposed()) {
        StopDrawing();
        return;
    }
    exposed_ = true;
    if (!renderer_->HasGl()) {
        // Before anything played there is only black to show.
        try {
            EnsureRenderContext();
        } catch (const std::exception&) {
            return; // told when something is to play
        }
    }
    RequestRender();
}

void MpvVideoWindow::resizeEvent(QResizeEvent*)
{
    NoteSize();
    RequestRender();
}

void MpvVideoWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit doubleClicked();
}

void MpvVideoWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit pressed();
}

void MpvVideoWindow::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    emit keyPressed(event->key(), event->modifiers());
}

void MpvVideoWindow::wheelEvent(QWheelEvent* event)
{
    event->accept();
    emit wheelTurned(event->angleDelta().y());
}

} // namespace quorvel
