// A picture prepared off screen (a channel opened ahead) and copied onto the window that shows it,
// drawn through OpenGL and in memory alike.
#include "clips.h"
#include "envscope.h"
#include "playback/mpvcore.h"
#include "playback/mpvrenderer.h"
#include "scratchdir.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <atomic>
#include <gtest/gtest.h>

using quorvel::MpvRenderer;

class MpvRendererTest : public ::testing::TestWithParam<const char*> { };

TEST_P(MpvRendererTest, APreparedPictureIsCopiedOntoTheWindowWholeAndTheRightWayUp)
{
    const EnvScope output("QUORVEL_VIDEO_OUTPUT", GetParam());
    ScratchDir dir;
    const std::string clip = dir.File("halves.mp4");
    // Red above, blue below: a copy upside down or of nothing shows at once.
    ASSERT_TRUE(MakeClip(clip, "color=c=red:size=320x240:rate=25,drawbox=x=0:y=120:w=320:h=120:color=blue:t=fill", 3));
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    window.setFlag(Qt::FramelessWindowHint);
    window.setGeometry(40, 40, 160, 120);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000));

    quorvel::MpvCore core(QStringLiteral("null"));
    core.SetFlag(quorvel::MpvProperty::Pause, true);
    MpvRenderer renderer(core, window.requestedFormat());
    renderer.Ensure();
    EXPECT_EQ(renderer.DrawsInMemory(), std::string(GetParam()) == "software");
    std::atomic<bool> news{false};
    renderer.SetUpdateHandler([&news] { news = true; });
    core.Load(QString::fromStdString(clip), {});
    const QSize pixels = window.size() * window.devicePixelRatio();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (news.exchange(false) && renderer.TakeNews() == MpvRenderer::News::NewPicture)
                renderer.Prepare(pixels);
            return renderer.HasPrepared();
        },
        10000));
    // Getting ready to copy leaves the picture prepared, and the copy then whole.
    renderer.PrepareCopy();
    EXPECT_TRUE(renderer.CopyReady());
    ASSERT_TRUE(renderer.HasPrepared());

    ASSERT_TRUE(renderer.Render(&window, pixels.width(), pixels.height()));
    EXPECT_FALSE(renderer.HasPrepared());
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0, 40, 40, 160, 120).toImage();
    const QRgb top = shown.pixel(80, 20), bottom = shown.pixel(80, 100);
    EXPECT_TRUE(qRed(top) > 200 && qBlue(top) < 60) << std::hex << top;
    EXPECT_TRUE(qBlue(bottom) > 200 && qRed(bottom) < 60) << std::hex << bottom;

    // Drawn again without a prepared picture: mpv's current one, at the window's new size.
    window.resize(200, 150);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.size() == QSize(200, 150); }, 5000));
    ASSERT_TRUE(renderer.Render(&window, 200, 150));
    const QImage again = QGuiApplication::primaryScreen()->grabWindow(0, 40, 40, 200, 150).toImage();
    EXPECT_TRUE(qRed(again.pixel(100, 30)) > 200 && qBlue(again.pixel(100, 30)) < 60)
        << std::hex << again.pixel(100, 30);
    EXPECT_TRUE(qBlue(again.pixel(100, 120)) > 200 && qRed(again.pixel(100, 120)) < 60);
    renderer.SetUpdateHandler(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Outputs, MpvRendererTest, ::testing::Values("opengl", "software"));
