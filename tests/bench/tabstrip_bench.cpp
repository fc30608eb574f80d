// Painting the side bar's tab strip (the program's skin, its two tabs) against one plain
// QPainter::drawImage of an area of the same size, in the same run:
//   PlainDrawImage      the yardstick: a painter on an image and one image copy of the strip's size
//   TabStripPaint       the control's paint of the strip as it is (windows moved over it, the
//                       tab bar's own updates): the common case
//   TabStripHoverPaint  the mouse going from one tab to the other: the two tabs drawn again
//   TabStripNewSkin     everything built anew (skin applied: tab images, captions, frame)
// and, through Qt's widget painting (QWidget::render, a paint event, the tab bar child):
//   ImageWidgetRender   a widget whose paint is one image copy: the floor for any widget
//   TabStripRender      the control
#include "app/storedskin.h"
#include "skin/controls/skinpagecontrol.h"
#include "skin/data/skindata.h"
#include "skin/store/compressedstoredskin.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTabBar>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

using namespace quorvel;

struct SideBar {
    SideBar()
    {
        stored.SetCompressedData(StoredSkinData());
        skin.SetCompressedStoredSkin(&stored);
        control.resize(202, 446);
        control.AddPage(QStringLiteral("Web TV"));
        control.AddPage(QStringLiteral("Sponsored Links"));
        control.SetSkinData(&skin);
        control.show();
        QCoreApplication::processEvents();
        strip = QRect(0, 0, control.width(), control.TabRect(0).height() + 2);
        target = QImage(strip.size(), QImage::Format_RGB32);
    }
    void Render() { control.render(&target, QPoint(), QRegion(strip)); }
    void Paint()
    {
        QPainter p(&target);
        control.PaintPart(p, strip);
    }
    void Hover(int tab)
    {
        QTabBar* bar = control.tabBar();
        const QPoint pos = bar->mapFrom(&control, control.TabRect(tab).center());
        QMouseEvent move(QEvent::MouseMove, pos, bar->mapToGlobal(pos), Qt::NoButton, {}, {});
        QApplication::sendEvent(bar, &move);
    }
    CompressedStoredSkin stored;
    SkinData skin;
    SkinPageControl control;
    QRect strip;
    QImage target;
};

SideBar& Bar()
{
    static SideBar bar;
    return bar;
}

void PlainDrawImage(benchmark::State& state)
{
    const QRect strip = Bar().strip;
    QImage source(strip.size(), QImage::Format_RGB32), target(strip.size(), QImage::Format_RGB32);
    source.fill(QColor(40, 44, 52));
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(QPoint(0, 0), source, strip);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["pixels"] = strip.width() * strip.height();
}

// A widget whose paint is one image copy: what painting through the widget machinery costs.
class ImageWidget : public QWidget {
public:
    ImageWidget() { setAttribute(Qt::WA_OpaquePaintEvent); }
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.drawImage(e->rect().topLeft(), image, e->rect());
    }
    QImage image;
};

void ImageWidgetRender(benchmark::State& state)
{
    const QRect strip = Bar().strip;
    ImageWidget w;
    w.resize(202, 446);
    w.image = QImage(w.size(), QImage::Format_RGB32);
    w.image.fill(Qt::gray);
    QImage target(strip.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w.render(&target, QPoint(), QRegion(strip));
        benchmark::DoNotOptimize(target.constBits());
    }
}

void TabStripPaint(benchmark::State& state)
{
    SideBar& bar = Bar();
    bar.Paint();
    for (auto _ : state) {
        bar.Paint();
        benchmark::DoNotOptimize(bar.target.constBits());
    }
}

void TabStripRender(benchmark::State& state)
{
    SideBar& bar = Bar();
    bar.Render();
    for (auto _ : state) {
        bar.Render();
        benchmark::DoNotOptimize(bar.target.constBits());
    }
}

void TabStripHoverPaint(benchmark::State& state)
{
    SideBar& bar = Bar();
    int tab = 0;
    for (auto _ : state) {
        bar.Hover(tab = 1 - tab);
        bar.Paint();
        benchmark::DoNotOptimize(bar.target.constBits());
    }
    bar.Hover(0);
}

void TabStripNewSkin(benchmark::State& state)
{
    SideBar& bar = Bar();
    for (auto _ : state) {
        bar.control.ApplySkin();
        bar.Paint();
        benchmark::DoNotOptimize(bar.target.constBits());
    }
}

BENCHMARK(PlainDrawImage);
BENCHMARK(TabStripPaint);
BENCHMARK(TabStripHoverPaint);
BENCHMARK(TabStripNewSkin);
BENCHMARK(ImageWidgetRender);
BENCHMARK(TabStripRender);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
