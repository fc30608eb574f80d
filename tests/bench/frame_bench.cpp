// The skinned window frame: one full paint and one rebuild at the program's size and at a
// full-HD size, against drawing one image of the window's size.
#include "app/storedskin.h"
#include "skin/data/skindata.h"
#include "skin/form/framelayout.h"
#include "skin/form/framepainter.h"
#include "skin/form/skinform.h"
#include "skin/form/skinmenu.h"
#include "skin/form/skinpopupwindow.h"
#include "skin/store/compressedstoredskin.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

using namespace quorvel;

// A window in the program's skin, at the size asked for.
struct SkinnedWindow {
    explicit SkinnedWindow(QSize size)
    {
        frame = new SkinForm(&form);
        stored.SetCompressedData(StoredSkinData());
        data = new SkinData(&form);
        data->SetCompressedStoredSkin(&stored);
        frame->SetSkinData(data);
        form.setMaximumSize(size);
        form.resize(size);
        frame->Layout().NudgeWidth();
    }
    QWidget form;
    SkinForm* frame = nullptr;
    CompressedStoredSkin stored;
    SkinData* data = nullptr;
};

QSize SizeOf(const benchmark::State& state)
{
    return QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

void PlainDrawImage(benchmark::State& state)
{
    const QSize size = SizeOf(state);
    QImage target(size, QImage::Format_RGB32), source(size, QImage::Format_RGB32);
    source.fill(QColor(30, 33, 40));
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(0, 0, source);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void FullFramePaint(benchmark::State& state)
{
    const QSize size = SizeOf(state);
    SkinnedWindow w(size);
    QImage target(size, QImage::Format_RGB32);
    for (auto _ : state) {
        // Composed from the skin's picture every time, as after any change of the frame.
        w.frame->Painter().SendNcPaint();
        QPainter p(&target);
        w.frame->Painter().PaintSkinnedFrame(p);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void RepaintFromPieces(benchmark::State& state)
{
    // An expose of the whole frame: the pieces composed last time are drawn again.
    const QSize size = SizeOf(state);
    SkinnedWindow w(size);
    QImage target(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        w.frame->Painter().PaintSkinnedFrame(p);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void RebuildFrame(benchmark::State& state)
{
    const QSize size = SizeOf(state);
    SkinnedWindow w(size);
    for (auto _ : state) {
        w.frame->Layout().RebuildFrame();
        benchmark::DoNotOptimize(w.frame->Layout().FrameRegion());
    }
}

void ShowSystemMenu(benchmark::State& state)
{
    // From the right press to the painted popup: the items built for the window's state, the
    // popup sized, placed, shown and drawn.
    SkinnedWindow w(QSize(718, 479));
    w.form.show();
    QCoreApplication::processEvents();
    QSize size;
    for (auto _ : state) {
        w.frame->PopupSystemMenu(QPoint(300, 300));
        SkinPopupWindow& popup = *w.frame->Menu->PopupStack.front();
        const QImage image = popup.Render();
        benchmark::DoNotOptimize(image.constBits());
        size = popup.size();
        state.PauseTiming();
        w.frame->Menu->CloseAllPopups();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}

void PlainDrawImageOfMenuSize(benchmark::State& state)
{
    QImage target(160, 90, QImage::Format_RGB32), source(160, 90, QImage::Format_RGB32);
    source.fill(QColor(30, 33, 40));
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(0, 0, source);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

} // namespace

BENCHMARK(ShowSystemMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainDrawImageOfMenuSize)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainDrawImage)->Args({718, 479})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(FullFramePaint)->Args({718, 479})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintFromPieces)->Args({718, 479})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(RebuildFrame)->Args({718, 479})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
