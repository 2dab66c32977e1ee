#pragma once
// When the stop poll of a long operation dispatches the thread's messages again.
// An empty-queue pump costs about 40 us under Wine, several times the cost of
// listing one entry, and the eye needs a repaint only every few tens of
// milliseconds: a poll pumps once an interval has passed since the last pump,
// and otherwise costs one clock read.
//
// The clock is GetTickCount64: a read costs about 10 ns under Wine, against
// 0.5 us for QueryPerformanceCounter (a call into the system there), which at
// two polls per entry would be a tenth of the time a bare walk takes. It steps
// every 15-16 ms, so a pump is due between one and two steps after the last
// one; a click therefore waits at most about 35 ms.
#include <windows.h>

class PollPacer {
public:
    using Clock = ULONGLONG (*)();
    // Measured with bench_scan: 20 ms costs the search under 1% of a bare walk
    // and keeps the stop button within the eye's reach.
    static constexpr ULONGLONG kIntervalMs = 20;

    explicit PollPacer(Clock clock = &GetTickCount64, ULONGLONG intervalMs = kIntervalMs)
        : clock_(clock), intervalMs_(intervalMs) {}

    // A new operation: its first poll pumps at once, so its window shows at once.
    void Restart() { started_ = false; }
    // Whether a poll now pumps; when it does, the next interval starts now.
    bool Due();
    // A pump made outside the pace (before a question, at the end of an
    // operation): the next interval starts now.
    void Pumped();

private:
    Clock clock_;
    ULONGLONG intervalMs_;
    bool started_ = false;
    ULONGLONG lastPump_ = 0;
};
