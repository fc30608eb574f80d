#include "player/mpvvideowindow.h"

#include "base/exception.h"
#include "player/mpvcore.h"

#include <QCoreApplication>
#include <QExposeEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMetaObject>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <QThread>
#include <QWheelEvent>
#include <mpv/render_gl.h>

namespace quorvel {
namespace {

void* GetProcAddress(void*, const char* name)
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}

} // namespace

MpvVideoWindow::MpvVideoWindow(MpvCore& core) : core_(core), thread_(std::make_unique<QThread>())
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
}

MpvVideoWindow::~MpvVideoWindow()
{
    if (context_ && context_->thread() == thread_.get())
        QMetaObject::invokeMethod(onThread_, [this] { FreeRenderContext(); }, Qt::BlockingQueuedConnection);
    else
        FreeRenderContext();
    // Calls still queued for the thread go with its object.
    thread_->quit();
    thread_->wait();
    delete onThread_;
}

void MpvVideoWindow::FreeRenderContext()
{
    if (!render_)
        return;
    // The window's own surface may be gone already; the offscreen one always is there.
    context_->makeCurrent(offscreen_.get());
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
    context_->doneCurrent();
    // The context goes back to the window's thread, which deletes it.
    context_->moveToThread(QCoreApplication::instance()->thread());
}

void MpvVideoWindow::EnsureRenderContext()
{
    if (render_)
        return;
    if (!context_) {
        auto context = std::make_unique<QOpenGLContext>();
        context->setFormat(requestedFormat());
        if (!context->create())
            throw Exception("The video cannot be shown: this desktop offers no OpenGL");
        auto offscreen = std::make_unique<QOffscreenSurface>(nullptr);
        offscreen->setFormat(context->format());
        offscreen->create();
        context_ = std::move(context);
        offscreen_ = std::move(offscreen);
    }
    if (!context_->makeCurrent(offscreen_.get()))
        throw Exception("The video cannot be shown: OpenGL does not start");
    mpv_opengl_init_params gl{&GetProcAddress, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* render = nullptr;
    const int rc = mpv_render_context_create(&render, core_.Handle(), params);
    context_->doneCurrent();
    if (rc < 0)
        throw Exception(std::string("The video cannot be shown: ") + mpv_error_string(rc));
    render_ = render;
    // From here on the context is the drawing thread's.
    context_->moveToThread(thread_.get());
    mpv_render_context_set_update_callback(render_, &MpvVideoWindow::OnRenderUpdate, this);
}

void MpvVideoWindow::OnRenderUpdate(void* self)
{
    // Called on an mpv thread: only queue the work.
    auto* w = static_cast<MpvVideoWindow*>(self);
    QMetaObject::invokeMethod(w->onThread_, [w] { w->ProcessRenderUpdate(); }, Qt::QueuedConnection);
}

void MpvVideoWindow::ProcessRenderUpdate()
{
    if (!render_)
        return;
    if (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) {
        newFrame_ = true;
        Render();
    }
}

void MpvVideoWindow::Redraw() { RequestRender(); }

void MpvVideoWindow::RequestRender()
{
    if (!renderAsked_.exchange(true))
        QMetaObject::invokeMethod(onThread_, [this] { Render(); }, Qt::QueuedConnection);
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
    // A context that never got a render context stays on the window's thread and draws nothing.
    if (!exposed_ || !context_ || context_->thread() != QThread::currentThread())
        return;
    if (!context_->makeCurrent(this))
        return;
    const int w = pixelWidth_;
    const int h = pixelHeight_;
    if (render_) {
        mpv_opengl_fbo fbo{static_cast<int>(context_->defaultFramebufferObject()), w, h, 0};
        int flipY = 1;
        // mpv would otherwise hold this thread until the frame's display time, and with it the
        // next channel's first picture.
        int blockForTargetTime = 0;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
            {MPV_RENDER_PARAM_FLIP_Y, &flipY},
            {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(render_, params);
    } else {
        QOpenGLFunctions* f = context_->functions();
        f->glViewport(0, 0, w, h);
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
    }
    context_->swapBuffers(this);
    if (newFrame_) {
        newFrame_ = false;
        ++framesRendered_;
        // Reaches the window's thread queued.
        emit frameRendered();
    }
}

void MpvVideoWindow::exposeEvent(QExposeEvent*)
{
    NoteSize();
    exposed_ = isExposed();
    if (isExposed()) {
        if (!context_) {
            // Before anything played there is only black to show.
            try {
                EnsureRenderContext();
            } catch (const std::exception&) {
                return; // told when something is to play
            }
        }
        RequestRender();
    }
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
