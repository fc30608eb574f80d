#pragma once

#include <QEvent>
#include <QWindow>

#include <atomic>
#include <memory>

class QThread;

namespace quorvel {

class MpvCore;
class MpvRenderer;

// The core's video on a native GL window of its own, drawn through mpv's render API and shown
// by swapping its buffers (or put on it whole where GL is drawn in software; see MpvRenderer):
// nothing of the window around it is drawn again for a video frame.
// Its GL context and mpv's render context (its MpvRenderer) are made once, on the first need,
// and live until the window goes, the render context freed before the core; hiding, showing
// and moving the window to another parent keep both. The drawing runs on a thread of its own:
// where GL is slow (software rendering, a big window) a frame takes longer than the frame
// before it lasts, and on the window's thread it would leave nothing for the other widgets, a
// web page most. A channel opened ahead in a core of its own brings its own renderer,
// exchanged for this one when it is shown.
//
// Between two channels the window holds the picture it has: from a new address until that
// channel's first picture, asks to draw the old one again are let go, and only a picture mpv
// made after the address was given counts as the new channel's first. The X server keeps the
// window's contents where cards cover it, so a card that goes leaves the picture with nothing
// drawn again. While hidden, each picture is counted as drawn without drawing, so mpv neither
// drops pictures nor holds its core waiting for them.
class MpvVideoWindow : public QWindow {
    Q_OBJECT
public:
    explicit MpvVideoWindow(MpvCore& core);
    ~MpvVideoWindow() override;

    // Makes the GL and render contexts when they do not exist yet; mpv can show video only
    // once they do. Throws Exception when the desktop offers no OpenGL or mpv refuses it.
    void EnsureRenderContext();
    bool HasRenderContext() const;
    // The surface format a renderer for this window is made with.
    QSurfaceFormat RendererFormat() const { return requestedFormat(); }
    // The size of the pictures it draws, in pixels.
    QSize PixelSize() const { return {pixelWidth_, pixelHeight_}; }
    // Shows another core's renderer from now on and hands back the one it showed, its GL
    // context back on this thread. The new one's pending picture is the next one drawn.
    std::unique_ptr<MpvRenderer> ExchangeRenderer(std::unique_ptr<MpvRenderer> renderer);
    // New pictures drawn since the window was created (not a picture drawn again).
    quint64 FramesRendered() const { return framesRendered_.load(); }
    // Draws the current picture again (black when nothing plays), soon; nothing while the
    // picture is held.
    void Redraw();
    // From a new address given to the core until its first picture, the picture on screen is
    // held: mpv's and the player's asks to draw the old one again are let go (an exposure
    // still draws). The first new picture, or ReleasePicture() (the channel failed, ended or
    // stopped first), ends the hold.
    void HoldPicture();
    void ReleasePicture();
    // The window system keeps the picture where windows over it cover it: it is there again
    // when they go, with nothing drawn.
    bool KeepsPictureWhenCovered() const { return keepsPicture_; }

signals:
    // A new picture was drawn. takenAt: when mpv told of it (QDeadlineTimer's clock, in
    // nanoseconds); afterOldPictureWent: it came after mpv let go of the picture held, so it
    // cannot be the old channel's.
    void frameRendered(qint64 takenAt, bool afterOldPictureWent);
    void doubleClicked();
    // The wheel turned over the video, in eighths of a degree as QWheelEvent counts them.
    void wheelTurned(int angleDelta);
    // A press on the picture (it takes the keyboard for the player) and the keys typed there.
    void pressed();
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Attach();
    // Runs on the drawing thread: the calls that use the GL context.
    void ProcessRenderUpdate();
    void Render();
    // Asks the drawing thread for one drawing; several asks before it draws make one.
    void RequestRender();
    // Waits until the drawing thread is between two drawings and lets it draw no more until
    // the window is exposed again.
    void StopDrawing();
    // The renderer's GL context belongs to the calling thread (the drawing thread, once the
    // render context exists).
    bool ContextIsHere() const;
    void NoteSize();

    // The playing core's renderer; swapped only on the drawing thread, with this thread waiting.
    std::unique_ptr<MpvRenderer> renderer_;
    std::unique_ptr<QThread> thread_;
    QObject* onThread_ = nullptr; // lives on the drawing thread: calls sent to it run there
    bool newFrame_ = false;       // the drawing thread's, as the two below
    qint64 newFrameAt_ = 0;
    bool newFrameAfterHold_ = false;
    std::atomic<bool> exposed_{false};
    bool keepsPicture_ = false;
    std::atomic<bool> renderAsked_{false};
    // The picture held (see HoldPicture): not, waiting for mpv to let the old channel's
    // picture go, or waiting for the new channel's first.
    static constexpr int kHoldNone = 0;
    static constexpr int kHoldWaiting = 1;
    static constexpr int kHoldArmed = 2;
    std::atomic<int> hold_{kHoldNone};
    std::atomic<int> pixelWidth_{0};
    std::atomic<int> pixelHeight_{0};
    std::atomic<quint64> framesRendered_{0};
};

} // namespace quorvel
