#pragma once

#include <QOpenGLWidget>
#include <QPointer>

struct mpv_render_context;
class QOpenGLContext;

namespace quorvel {

class MpvCore;

// Draws the core's video through mpv's render API. The render context lives exactly as long
// as this widget's GL context (which Qt re-creates when the widget changes window, as it does
// for full screen), and is always freed before the core.
class MpvVideoWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    MpvVideoWidget(MpvCore& core, QWidget* parent = nullptr);
    ~MpvVideoWidget() override;

    // Video frames drawn since the widget was created.
    quint64 FramesRendered() const { return framesRendered_; }
    // mpv can show video only while a render context exists.
    bool HasRenderContext() const { return render_ != nullptr; }

signals:
    void renderContextCreated();
    void frameRendered();
    void doubleClicked();

protected:
    void initializeGL() override;
    void paintGL() override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    static void OnRenderUpdate(void* self);
    void ProcessRenderUpdate();
    void FreeRenderContext();

    MpvCore& core_;
    mpv_render_context* render_ = nullptr;
    QPointer<QOpenGLContext> watchedContext_;
    bool newFrame_ = false;
    quint64 framesRendered_ = 0;
};

} // namespace quorvel
