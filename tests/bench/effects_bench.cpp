// Morph steps, frame pieces and masked regions against plain copies of the same bytes.
#include "skin/render/effectbmp.h"
#include "skin/render/skinutils.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

using quorvel::EffectBmp;

void Memcpy(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const std::size_t bytes = static_cast<std::size_t>((3 * w + w % 4) * h);
    std::vector<unsigned char> a(bytes, 1), b(bytes, 2);
    for (auto _ : state) {
        std::memcpy(a.data(), b.data(), bytes);
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
}

void MorphStep(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    EffectBmp a(w, h), b(w, h);
    for (auto _ : state) {
        a.CrossFade(b, 0.4);
        benchmark::DoNotOptimize(a.Row(0));
        benchmark::ClobberMemory();
    }
}

quorvel::PieceGeometry Frame(int w, int h)
{
    quorvel::PieceGeometry g;
    QImage pic(210, 282, QImage::Format_RGB32);
    pic.fill(QColor(40, 44, 52));
    g.picture = pic;
    g.S = quorvel::SkinRect{0, 0, 210, 282};
    g.LT = {40, 30};
    g.RT = {170, 30};
    g.LB = {40, 279};
    g.RB = {170, 279};
    g.C = quorvel::SkinRect{3, 30, 207, 279};
    g.leftStretch = g.rightStretch = g.topStretch = g.bottomStretch = true;
    g.DeriveTarget(w, h);
    return g;
}

void PlainDraw(benchmark::State& state)
{
    QImage source(1920, 1080, QImage::Format_RGB32), target(1920, 1080, QImage::Format_RGB32);
    source.fill(Qt::darkGray);
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(0, 0, source);
    }
}

void FramePieces(benchmark::State& state)
{
    const auto g = Frame(1920, 1080);
    for (auto _ : state) {
        QImage top, bottom, left, right;
        quorvel::BuildFramePieces(g, top, bottom, left, right);
        benchmark::DoNotOptimize(top.constBits());
    }
}

void MaskedRegion(benchmark::State& state)
{
    auto g = Frame(1920, 1080);
    QImage mask(210, 282, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (int i = 0; i < 6; ++i) {
        mask.setPixelColor(i, 0, Qt::white);
        mask.setPixelColor(209 - i, 0, Qt::white);
    }
    for (auto _ : state) {
        auto region = quorvel::BuildMaskedRegion(mask, g);
        benchmark::DoNotOptimize(region);
    }
}

} // namespace

BENCHMARK(Memcpy)->Args({43, 30})->Args({1920, 1080});
BENCHMARK(MorphStep)->Args({43, 30})->Args({1920, 1080});
BENCHMARK(PlainDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(FramePieces)->Unit(benchmark::kMicrosecond);
BENCHMARK(MaskedRegion)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
