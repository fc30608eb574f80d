#pragma once

#include <QObject>
#include <QSize>
#include <QSurfaceFormat>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

struct mpv_render_context;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QSurface;
class QThread;

namespace quorvel {

class MpvCore;
class XcbPictureOutput;

// One core's video drawn through mpv's render API, on a GL context of its own, or, where that GL
// is drawn in software, by mpv in memory and put on the window by the X server. It draws only
// when asked to, onto whichever window shows it: a core opened ahead decodes its first picture,
// drawn once off screen (Prepare), and waits until a window takes its renderer. It must go before the core
// it was made for (mpv asks the render context to be freed first). Its GL context may be handed
// to a drawing thread; whoever draws calls Render, TakeNewFrame and the destructor on the thread
// the context belongs to.
class MpvRenderer : public QObject {
    Q_OBJECT
public:
    MpvRenderer(MpvCore& core, const QSurfaceFormat& format);
    ~MpvRenderer() override;

    // Makes the GL and render contexts when they do not exist yet. Throws Exception when the
    // desktop offers no OpenGL or mpv refuses it.
    void Ensure();
    bool HasRenderContext() const { return render_ != nullptr; }
    // What mpv asks to be drawn since the last look (once the update handler ran): nothing;
    // the picture it gave before, drawn again (mpv asks after a new address is given, while
    // the old channel's picture is still its last, and when its video output changes); a new
    // picture; or no picture any more (black: the video is gone).
    enum class News { None, SamePicture, NewPicture, NoPicture };
    News TakeNews();
    // Whether mpv gave a new picture since ForgetPicture(), drawn or not: mpv keeps the last one
    // it gave, so a renderer nobody drew with shows it at once on its first Render().
    bool HasPicture() const { return hasPicture_; }
    void ForgetPicture() { hasPicture_ = false; }
    // Draws the current picture onto the surface, w × h pixels (black before the render
    // context exists); false when the surface cannot take GL now. A picture prepared at that
    // size is copied instead of drawn.
    bool Render(QSurface* surface, int w, int h);
    // Draws mpv's new picture off screen, at the size of the window that is to show it: the
    // first Render() there then only copies it. With software GL drawing a picture took 3 to 4
    // ms, most of the time a channel opened ahead took to show. Where it cannot be prepared it
    // is skipped as Skip() does, and drawn as ever.
    void Prepare(QSize pixels);
    // A prepared picture waits for the next Render() at its size.
    bool HasPrepared() const { return prepared_; }
    // The first copy a GL context makes builds its copying program, which software GL compiles
    // for 40-60 ms: the zap that showed a prepared picture took that long instead of 6 ms. A
    // copy of one pixel, made off screen, builds it beforehand; once is enough.
    void PrepareCopy();
    bool CopyReady() const { return copyReady_; }
    // Lets mpv count its new picture as drawn, drawing nothing: no window shows it now (a
    // hidden one, or none for a channel opened ahead), and mpv would otherwise hold its video
    // output up to 200 ms for every picture, and with it every command it is given meanwhile.
    // The picture stays the one the next Render() draws.
    void Skip();
    // Whether the renderer's GL context can draw at all (made, or made just now).
    bool HasGl() const { return context_ != nullptr; }
    QOpenGLContext* Context() const { return context_.get(); }
    // Gives the GL context to another thread; called on the thread it belongs to now.
    void HandTo(QThread* thread);
    // What runs when mpv has something new to draw: called on an mpv thread, so it only
    // queues the work; null for nothing.
    void SetUpdateHandler(std::function<void()> handler);

    // Whether mpv draws the pictures in memory, put on the window without OpenGL (decided when
    // the render context is made; see MemoryDrawing in the source).
    bool DrawsInMemory() const { return inMemory_; }

private:
    // A picture in memory, 32 bits a pixel, rows back to back.
    struct MemoryPicture {
        std::unique_ptr<std::uint8_t, void (*)(void*)> pixels{nullptr, nullptr};
        QSize size;
        std::size_t stride = 0;
        std::size_t capacity = 0;
        // False when the memory cannot be had.
        bool Fit(QSize to);
    };

    static void OnRenderUpdate(void* self);
    // mpv's current picture into a framebuffer of the current context, top row first.
    void Draw(int framebuffer, int w, int h);
    bool DrawInMemory(MemoryPicture& picture, QSize pixels);
    bool RenderInMemory(QSurface* surface, int w, int h);

    MpvCore& core_;
    QSurfaceFormat format_;
    std::unique_ptr<QOpenGLContext> context_;
    // Where the contexts are made current while no window takes them (before the first one,
    // and for freeing them).
    std::unique_ptr<QOffscreenSurface> offscreen_;
    mpv_render_context* render_ = nullptr;
    // The prepared picture, kept for the next one prepared; prepared_ while it is mpv's current.
    std::unique_ptr<QOpenGLFramebufferObject> preparedPicture_;
    bool prepared_ = false;
    bool copyReady_ = false;
    bool inMemory_ = false;
    MemoryPicture picture_;
    MemoryPicture preparedInMemory_;
    std::unique_ptr<XcbPictureOutput> output_;
    std::uint32_t refusedWindow_ = 0;
    std::atomic<bool> hasPicture_{false};
    std::mutex handlerLock_;
    std::function<void()> updateHandler_;
};

} // namespace quorvel
