#include "player/mpvvideowindow.h"

#include "base/exception.h"
#include "player/mpvcore.h"

#include <QExposeEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMetaObject>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
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

MpvVideoWindow::MpvVideoWindow(MpvCore& core) : core_(core)
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
}

MpvVideoWindow::~MpvVideoWindow()
{
    if (render_) {
        // The window's own surface may be gone already; the offscreen one always is there.
        context_->makeCurrent(offscreen_.get());
        mpv_render_context_set_update_callback(render_, nullptr, nullptr);
        mpv_render_context_free(render_);
        render_ = nullptr;
        context_->doneCurrent();
    }
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
    mpv_render_context_set_update_callback(render_, &MpvVideoWindow::OnRenderUpdate, this);
}

void MpvVideoWindow::OnRenderUpdate(void* self)
{
    // Called on an mpv thread: only queue the work.
    auto* w = static_cast<MpvVideoWindow*>(self);
    QMetaObject::invokeMethod(w, &MpvVideoWindow::ProcessRenderUpdate, Qt::QueuedConnection);
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

void MpvVideoWindow::Redraw()
{
    Render();
}

void MpvVideoWindow::Render()
{
    // A window that is not on screen takes no drawing; its next exposure draws what is current.
    if (!isExposed() || !context_)
        return;
    if (!context_->makeCurrent(this))
        return;
    const qreal dpr = devicePixelRatio();
    const int w = static_cast<int>(width() * dpr);
    const int h = static_cast<int>(height() * dpr);
    if (render_) {
        mpv_opengl_fbo fbo{static_cast<int>(context_->defaultFramebufferObject()), w, h, 0};
        int flipY = 1;
        // mpv would otherwise hold this thread, the window's, until the frame's display time:
        // the new channel's first picture waited, and so did every other widget meanwhile.
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
        emit frameRendered();
    }
}

void MpvVideoWindow::exposeEvent(QExposeEvent*)
{
    if (isExposed()) {
        if (!context_) {
            // Before anything played there is only black to show.
            try {
                EnsureRenderContext();
            } catch (const std::exception&) {
                return; // told when something is to play
            }
        }
        Render();
    }
}

void MpvVideoWindow::resizeEvent(QResizeEvent*)
{
    Render();
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
