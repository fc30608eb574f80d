#pragma once

#include <QWindow>
#include <atomic>
#include <memory>

struct mpv_render_context;
class QOffscreenSurface;
class QOpenGLContext;
class QThread;

namespace quorvel {

class MpvCore;

// The core's video on a native GL window of its own, drawn through mpv's render API and shown
// by swapping its buffers: nothing of the window around it is drawn again for a video frame.
// Its GL context and mpv's render context are made once, on the first need, and live until
// the window goes, the render context freed before the core; hiding, showing and moving the
// window to another parent keep both. The drawing runs on a thread of its own: where GL is
// slow (software rendering, a big window) a frame takes longer than the frame before it lasts,
// and on the window's thread it would leave nothing for the other widgets, a web page most.
class MpvVideoWindow : public QWindow {
    Q_OBJECT
public:
    explicit MpvVideoWindow(MpvCore& core);
    ~MpvVideoWindow() override;

    // Makes the GL and render contexts when they do not exist yet; mpv can show video only
    // once they do. Throws Exception when the desktop offers no OpenGL or mpv refuses it.
    void EnsureRenderContext();
    bool HasRenderContext() const { return render_ != nullptr; }
    // Video frames drawn since the window was created.
    quint64 FramesRendered() const { return framesRendered_.load(); }
    // Draws the current picture again (black when nothing plays), soon.
    void Redraw();

signals:
    void frameRendered();
    void doubleClicked();
    // The wheel turned over the video, in eighths of a degree as QWheelEvent counts them.
    void wheelTurned(int angleDelta);
    // A press on the picture (it takes the keyboard for the player) and the keys typed there.
    void pressed();
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static void OnRenderUpdate(void* self);
    // Runs on the drawing thread: the calls that use the GL context.
    void ProcessRenderUpdate();
    void Render();
    // Asks the drawing thread for one drawing; several asks before it draws make one.
    void RequestRender();
    void NoteSize();
    void FreeRenderContext();

    MpvCore& core_;
    std::unique_ptr<QOpenGLContext> context_;
    // Where the contexts are made current while the window has no surface (before it is
    // first shown, and for freeing them).
    std::unique_ptr<QOffscreenSurface> offscreen_;
    mpv_render_context* render_ = nullptr;
    std::unique_ptr<QThread> thread_;
    QObject* onThread_ = nullptr; // lives on the drawing thread: calls sent to it run there
    bool newFrame_ = false;       // the drawing thread's
    std::atomic<bool> exposed_{false};
    std::atomic<bool> renderAsked_{false};
    std::atomic<int> pixelWidth_{0};
    std::atomic<int> pixelHeight_{0};
    std::atomic<quint64> framesRendered_{0};
};

} // namespace quorvel
