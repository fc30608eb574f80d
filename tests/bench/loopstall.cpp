#include "loopstall.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

LoopStall::LoopStall()
{
    tick_.setInterval(1);
    QObject::connect(&tick_, &QTimer::timeout, [this] {
        const qint64 now = clock_.nsecsElapsed();
        if (last_ >= 0) {
            longest_ = std::max(longest_, now - last_);
            if (reportLong && now - last_ > 20'000'000)
                std::fprintf(stderr, "stall of %.1f ms ending at %.0f ms\n", (now - last_) / 1e6, now / 1e6);
        }
        last_ = now;
    });
}

void LoopStall::Start()
{
    clock_.start();
    tick_.start();
}

void LoopStall::Stop() { tick_.stop(); }

double LoopStall::LongestMs() const
{
    const qint64 sinceLast = last_ >= 0 ? clock_.nsecsElapsed() - last_ : 0;
    return static_cast<double>(std::max(longest_, sinceLast)) / 1e6 - 1.0;
}

double IdleStallMs(int milliseconds)
{
    LoopStall stall;
    QElapsedTimer clock;
    clock.start();
    stall.Start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return stall.LongestMs();
}
