#pragma once

#include <QElapsedTimer>
#include <QTimer>

// A timer that wants to run every millisecond: the longest gap between two runs is the longest
// the event loop stood still while it ran.
class LoopStall {
public:
    LoopStall();
    void Start();
    void Stop();
    // The longest gap so far, less the millisecond the timer waits anyway; also counts the time
    // since its last run.
    double LongestMs() const;
    // Every gap over 20 ms is printed with when it ended, when this is set.
    bool reportLong = false;

private:
    QElapsedTimer clock_;
    QTimer tick_;
    qint64 last_ = -1;
    qint64 longest_ = 0;
};

// The longest stall of an event loop with nothing to do over a few milliseconds: what the
// machine's own load makes of it, to read a stall under work against.
double IdleStallMs(int milliseconds);
