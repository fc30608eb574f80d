// Time from putting an address to the first video frame on screen: the player control against
// bare libmpv (render API into a QOpenGLWidget, same options), alternating, same stream.
// Usage: bench_first_frame <url> [rounds]   (run under an X server; see first-frame.sh)
#include "player/mediaplayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <vector>

namespace {

class BareMpv : public QOpenGLWidget {
public:
    BareMpv()
    {
        mpv_ = mpv_create();
        for (auto [k, v] : {std::pair{"config", "no"},
                            {"load-scripts", "no"},
                            {"ytdl", "no"},
                            {"osc", "no"},
                            {"terminal", "no"},
                            {"vo", "libmpv"},
                            {"hwdec", "no"},
                            {"gpu-hwdec-interop", "no"},
                            {"ao", "null"},
                            {"idle", "yes"},
                            {"network-timeout", "10"}})
            mpv_set_option_string(mpv_, k, v);
        mpv_initialize(mpv_);
    }
    ~BareMpv() override
    {
        makeCurrent();
        if (render_)
            mpv_render_context_free(render_);
        doneCurrent();
        mpv_terminate_destroy(mpv_);
    }
    void Load(const char* url)
    {
        frame_ = false;
        const char* cmd[] = {"loadfile", url, nullptr};
        mpv_command(mpv_, cmd);
    }
    bool frame_ = false;
    bool ready_ = false;

protected:
    void initializeGL() override
    {
        mpv_opengl_init_params gl{[](void*, const char* n) -> void* {
                                      return reinterpret_cast<void*>(
                                          QOpenGLContext::currentContext()->getProcAddress(n));
                                  },
                                  nullptr};
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
                                     {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_create(&render_, mpv_, params);
        mpv_render_context_set_update_callback(
            render_,
            [](void* self) {
                auto* w = static_cast<BareMpv*>(self);
                QMetaObject::invokeMethod(
                    w,
                    [w] {
                        if (mpv_render_context_update(w->render_) & MPV_RENDER_UPDATE_FRAME) {
                            w->pending_ = true;
                            w->update();
                        }
                    },
                    Qt::QueuedConnection);
            },
            this);
        ready_ = true;
    }
    void paintGL() override
    {
        mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), width(), height(), 0};
        int flip = 1;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo}, {MPV_RENDER_PARAM_FLIP_Y, &flip}, {MPV_RENDER_PARAM_INVALID, nullptr}};
        mpv_render_context_render(render_, params);
        if (pending_) {
            pending_ = false;
            frame_ = true;
        }
    }

private:
    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr;
    bool pending_ = false;
};

bool WaitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    return done();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <url> [rounds]\n", argv[0]);
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 10;

    quorvel::MediaPlayer player(nullptr, QStringLiteral("null"));
    player.resize(508, 444);
    player.show();
    BareMpv bare;
    bare.resize(508, 414);
    bare.move(520, 0);
    bare.show();
    WaitFor([&] { return bare.ready_ && player.isVisible(); }, 5000);
    std::vector<double> ours, theirs;
    for (int i = 0; i < rounds; ++i) {
        quint64 before = player.FramesRendered();
        QElapsedTimer t;
        t.start();
        // As the window does: the control, closed after the round before, shows again.
        player.SetURL(url);
        player.ShowRequest();
        if (!WaitFor([&] { return player.FramesRendered() > before; }, 15000))
            return std::fprintf(stderr, "player: no frame\n"), 1;
        ours.push_back(t.nsecsElapsed() / 1e6);
        player.close();

        t.restart();
        bare.Load(url.toUtf8().constData());
        if (!WaitFor([&] { return bare.frame_; }, 15000))
            return std::fprintf(stderr, "bare libmpv: no frame\n"), 1;
        theirs.push_back(t.nsecsElapsed() / 1e6);
        bare.Load("");
        WaitFor([] { return false; }, 200);
    }
    const double a = Median(ours), b = Median(theirs);
    std::printf("first frame, median of %d: player control %.1f ms, bare libmpv %.1f ms, ratio %.2f\n", rounds, a, b,
                b > 0 ? a / b : 0.0);
    return 0;
}
