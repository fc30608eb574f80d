#include "player/mpvrenderer.h"

#include "base/exception.h"
#include "player/mpvcore.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <mpv/render_gl.h>

namespace quorvel {
namespace {

void* GetProcAddress(void*, const char* name)
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}

} // namespace

MpvRenderer::MpvRenderer(MpvCore& core, const QSurfaceFormat& format) : core_(core), format_(format) {}

MpvRenderer::~MpvRenderer()
{
    SetUpdateHandler(nullptr);
    if (render_) {
        // Whatever window it last drew on may be gone already; the offscreen surface is not.
        context_->makeCurrent(offscreen_.get());
        mpv_render_context_set_update_callback(render_, nullptr, nullptr);
        mpv_render_context_free(render_);
        render_ = nullptr;
        preparedPicture_.reset();
        context_->doneCurrent();
    }
}

void MpvRenderer::Ensure()
{
    if (render_)
        return;
    if (!context_) {
        auto context = std::make_unique<QOpenGLContext>();
        context->setFormat(format_);
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
    mpv_render_context_set_update_callback(render_, &MpvRenderer::OnRenderUpdate, this);
}

void MpvRenderer::OnRenderUpdate(void* self)
{
    auto* renderer = static_cast<MpvRenderer*>(self);
    const std::lock_guard<std::mutex> hold(renderer->handlerLock_);
    if (renderer->updateHandler_)
        renderer->updateHandler_();
}

void MpvRenderer::SetUpdateHandler(std::function<void()> handler)
{
    const std::lock_guard<std::mutex> hold(handlerLock_);
    updateHandler_ = std::move(handler);
}

void MpvRenderer::HandTo(QThread* thread)
{
    if (!context_ || context_->thread() == thread)
        return;
    if (QOpenGLContext::currentContext() == context_.get())
        context_->doneCurrent();
    context_->moveToThread(thread);
}

MpvRenderer::News MpvRenderer::TakeNews()
{
    if (!render_ || !(mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME))
        return News::None;
    mpv_render_frame_info info{};
    mpv_render_param param{MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info};
    // Without the answer the frame is taken for a new one, as mpv's own outputs would draw it.
    if (mpv_render_context_get_info(render_, param) < 0)
        info.flags = MPV_RENDER_FRAME_INFO_PRESENT;
    if (!(info.flags & MPV_RENDER_FRAME_INFO_PRESENT)) {
        prepared_ = false;
        return News::NoPicture;
    }
    if (info.flags & MPV_RENDER_FRAME_INFO_REDRAW)
        return News::SamePicture;
    // The picture prepared is not the current one any more.
    prepared_ = false;
    hasPicture_ = true;
    return News::NewPicture;
}

bool MpvRenderer::Render(QSurface* surface, int w, int h)
{
    if (!context_ || !context_->makeCurrent(surface))
        return false;
    if (prepared_ && preparedPicture_->size() == QSize(w, h)) {
        QOpenGLFramebufferObject::blitFramebuffer(nullptr, QRect(0, 0, w, h), preparedPicture_.get(),
                                                  QRect(0, 0, w, h), GL_COLOR_BUFFER_BIT, GL_NEAREST);
    } else if (render_) {
        Draw(static_cast<int>(context_->defaultFramebufferObject()), w, h);
    } else {
        QOpenGLFunctions* f = context_->functions();
        f->glViewport(0, 0, w, h);
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
    }
    context_->swapBuffers(surface);
    prepared_ = false;
    return true;
}

void MpvRenderer::Draw(int framebuffer, int w, int h)
{
    mpv_opengl_fbo fbo{framebuffer, w, h, 0};
    int flipY = 1;
    // mpv would otherwise hold the drawing thread until the frame's display time: the new
    // channel's first picture waited, and so did every other widget meanwhile.
    int blockForTargetTime = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void MpvRenderer::Prepare(QSize pixels)
{
    if (!render_ || pixels.isEmpty() || !context_->makeCurrent(offscreen_.get()))
        return Skip();
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferBlit()) {
        context_->doneCurrent();
        return Skip();
    }
    if (!preparedPicture_ || preparedPicture_->size() != pixels)
        preparedPicture_ = std::make_unique<QOpenGLFramebufferObject>(pixels);
    if (!preparedPicture_->isValid()) {
        preparedPicture_.reset();
        context_->doneCurrent();
        return Skip();
    }
    // Drawn as Render() draws onto a window, so that the copy is one to one.
    Draw(static_cast<int>(preparedPicture_->handle()), pixels.width(), pixels.height());
    // Software GL draws when the work is flushed: done now, while nothing waits for it.
    context_->functions()->glFinish();
    context_->doneCurrent();
    prepared_ = true;
}

void MpvRenderer::PrepareCopy()
{
    if (copyReady_ || !preparedPicture_ || !context_->makeCurrent(offscreen_.get()))
        return;
    QOpenGLFramebufferObject::blitFramebuffer(nullptr, QRect(0, 0, 1, 1), preparedPicture_.get(), QRect(0, 0, 1, 1),
                                              GL_COLOR_BUFFER_BIT, GL_NEAREST);
    context_->functions()->glFinish();
    context_->doneCurrent();
    copyReady_ = true;
}

void MpvRenderer::Skip()
{
    // mpv may still call into GL: its context is made current on a surface of its own.
    if (!render_ || !context_->makeCurrent(offscreen_.get()))
        return;
    int skip = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
    context_->doneCurrent();
}

} // namespace quorvel
