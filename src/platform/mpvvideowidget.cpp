#include "mpvvideowidget.h"

#include "exception.h"
#include "mpvcore.h"

#include <QMetaObject>
#include <QOpenGLContext>
#include <mpv/render_gl.h>

namespace quorvel {
namespace {

void* GetProcAddress(void*, const char* name)
{
    QOpenGLContext* ctx = QOpenGLContext::currentContext();
    return ctx ? reinterpret_cast<void*>(ctx->getProcAddress(name)) : nullptr;
}

} // namespace

MpvVideoWidget::MpvVideoWidget(MpvCore& core, QWidget* parent) : QOpenGLWidget(parent), core_(core)
{
    setFocusPolicy(Qt::NoFocus);
}

MpvVideoWidget::~MpvVideoWidget()
{
    // The GL context dies in the base class, when this is no longer a video widget.
    if (watchedContext_)
        disconnect(watchedContext_, nullptr, this, nullptr);
    makeCurrent();
    FreeRenderContext();
    doneCurrent();
}

void MpvVideoWidget::initializeGL()
{
    FreeRenderContext();
    mpv_opengl_init_params gl{&GetProcAddress, nullptr};
    int advanced = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_ADVANCED_CONTROL, &advanced},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    const int rc = mpv_render_context_create(&render_, core_.Handle(), params);
    if (rc < 0) {
        render_ = nullptr;
        qWarning("Video output unavailable: %s", mpv_error_string(rc));
        return;
    }
    mpv_render_context_set_update_callback(render_, &MpvVideoWidget::OnRenderUpdate, this);
    // The GL context goes away when the widget moves to another window; the render context
    // must go first.
    if (watchedContext_ != context()) {
        watchedContext_ = context();
        connect(watchedContext_, &QOpenGLContext::aboutToBeDestroyed, this, [this] {
            makeCurrent();
            FreeRenderContext();
            doneCurrent();
        });
    }
    emit renderContextCreated();
}

void MpvVideoWidget::FreeRenderContext()
{
    if (render_) {
        mpv_render_context_set_update_callback(render_, nullptr, nullptr);
        mpv_render_context_free(render_);
        render_ = nullptr;
    }
}

void MpvVideoWidget::OnRenderUpdate(void* self)
{
    // Called on an mpv thread: only queue the work.
    auto* w = static_cast<MpvVideoWidget*>(self);
    QMetaObject::invokeMethod(w, &MpvVideoWidget::ProcessRenderUpdate, Qt::QueuedConnection);
}

void MpvVideoWidget::ProcessRenderUpdate()
{
    if (!render_)
        return;
    if (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) {
        newFrame_ = true;
        update();
    }
}

void MpvVideoWidget::paintGL()
{
    if (!render_)
        return;
    const qreal dpr = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * dpr),
                       static_cast<int>(height() * dpr), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
    if (newFrame_) {
        newFrame_ = false;
        ++framesRendered_;
        emit frameRendered();
    }
}

void MpvVideoWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClicked();
    QOpenGLWidget::mouseDoubleClickEvent(event);
}

} // namespace quorvel
