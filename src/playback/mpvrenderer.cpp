#include "playback/mpvrenderer.h"

#include "base/exception.h"
#include "playback/mpvcore.h"
#include "playback/xcbpictureoutput.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QWindow>

#include <cstdlib>
#include <mpv/render_gl.h>

namespace quorvel {
namespace {

void* GetProcAddress(void*, const char* name)
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}

// Where OpenGL is drawn in software, mpv draws in memory and the picture is put on the window
// as it is: every GL picture is rasterized by the processor, and mpv's scaling and colour
// shaders made a small picture cost 4 ms there against under 1 ms to put one (mpv itself
// refuses such a GL). QUORVEL_VIDEO_OUTPUT=opengl or =software settles it either way.
bool MemoryDrawing(QOpenGLContext& context)
{
    const QByteArray chosen = qgetenv("QUORVEL_VIDEO_OUTPUT");
    if (chosen == "opengl")
        return false;
    if (!XcbPictureOutput::Available())
        return false;
    if (chosen == "software")
        return true;
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QByteArray renderer = QByteArray(name ? name : "").toLower();
    for (const char* software : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "swr"})
        if (renderer.contains(software))
            return true;
    return false;
}

} // namespace

MpvRenderer::MpvRenderer(MpvCore& core, const QSurfaceFormat& format) : core_(core), format_(format) { }

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
    const bool inMemory = MemoryDrawing(*context_);
    mpv_opengl_init_params gl{&GetProcAddress, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(inMemory ? MPV_RENDER_API_TYPE_SW : MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {inMemory ? MPV_RENDER_PARAM_INVALID : MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* render = nullptr;
    const int rc = mpv_render_context_create(&render, core_.Handle(), params);
    inMemory_ = rc >= 0 && inMemory;
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
    if (inMemory_)
        return RenderInMemory(surface, w, h);
    if (!context_ || !context_->makeCurrent(surface))
        return false;
    if (prepared_ && preparedPicture_->size() == QSize(w, h)) {
        QOpenGLFramebufferObject::blitFramebuffer(nullptr, QRect(0, 0, w, h), preparedPicture_.get(), QRect(0, 0, w, h),
                                                  GL_COLOR_BUFFER_BIT, GL_NEAREST);
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

bool MpvRenderer::MemoryPicture::Fit(QSize to)
{
    const std::size_t rowBytes = std::size_t(std::max(to.width(), 1)) * 4;
    const std::size_t bytes = rowBytes * std::size_t(std::max(to.height(), 1));
    if (bytes > capacity) {
        // mpv scales fastest into memory aligned to 64 bytes.
        void* memory = std::aligned_alloc(64, (bytes + 63) / 64 * 64);
        if (!memory)
            return false;
        pixels = {static_cast<std::uint8_t*>(memory), &std::free};
        capacity = bytes;
    }
    size = to;
    stride = rowBytes;
    return true;
}

bool MpvRenderer::DrawInMemory(MemoryPicture& picture, QSize pixels)
{
    // Runs on the drawing thread's event loop: nothing may be thrown from here.
    if (!picture.Fit(pixels))
        return false;
    int size[2] = {pixels.width(), pixels.height()};
    std::size_t stride = picture.stride;
    int blockForTargetTime = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, picture.pixels.get()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &blockForTargetTime},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return mpv_render_context_render(render_, params) >= 0;
}

bool MpvRenderer::RenderInMemory(QSurface* surface, int w, int h)
{
    // Drawn only while the window is exposed: its window-system window exists.
    auto* window = dynamic_cast<QWindow*>(surface);
    if (!window || !window->handle() || w <= 0 || h <= 0)
        return false;
    const auto id = static_cast<std::uint32_t>(window->winId());
    if ((!output_ || output_->Window() != id) && id != refusedWindow_) {
        output_ = XcbPictureOutput::For(id);
        if (!output_) {
            // Asked once per window: the X server would answer the same every time.
            refusedWindow_ = id;
            qWarning("The video window takes no pictures drawn in memory; nothing is shown in it");
        }
    }
    if (!output_ || output_->Window() != id)
        return false;
    const QSize pixels(w, h);
    MemoryPicture* shown = &preparedInMemory_;
    if (!prepared_ || preparedInMemory_.size != pixels) {
        if (!DrawInMemory(picture_, pixels))
            return false;
        shown = &picture_;
    }
    output_->Put(shown->pixels.get(), w, h, shown->stride);
    prepared_ = false;
    return true;
}

void MpvRenderer::Prepare(QSize pixels)
{
    if (inMemory_ && !pixels.isEmpty()) {
        prepared_ = DrawInMemory(preparedInMemory_, pixels);
        if (!prepared_)
            Skip();
        return;
    }
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
    // A picture in memory is put as it is: nothing to build.
    if (inMemory_)
        copyReady_ = true;
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
    if (!render_ || (!inMemory_ && !context_->makeCurrent(offscreen_.get())))
        return;
    int skip = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
    if (!inMemory_)
        context_->doneCurrent();
}

} // namespace quorvel
