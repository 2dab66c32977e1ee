#pragma once
// When the stop poll of a long operation dispatches the thread's messages again.
// An empty-queue pump costs 25-130 us under Wine, several times the cost of
// listing one entry, while the eye needs a repaint only every few tens of
// milliseconds: a poll pumps once an interval has passed since the last pump,
// and otherwise costs one clock read.
//
// The clock is GetTickCount64: a read costs 2-16 ns under Wine, against
// 130-530 ns for QueryPerformanceCounter (a call into the system there), which
// at two polls per entry would cost a tenth of a bare walk. It steps every
// 15-16 ms, so a pump comes 16 to 48 ms after the last one.
#include <windows.h>

class PollPacer {
public:
    using Clock = ULONGLONG (*)();
    // Measured with bench_scan under Wine: a pump at every poll makes the search
    // 6.5-7.7 times a bare walk; at 5 to 50 ms the pumps' share is lost in the
    // noise of the machine; 20 ms keeps a click's wait well under 100 ms.
    static constexpr ULONGLONG kIntervalMs = 20;

    explicit PollPacer(Clock clock = &GetTickCount64, ULONGLONG intervalMs = kIntervalMs)
        : clock_(clock), intervalMs_(intervalMs) {}

    // A new operation: its first poll pumps at once, so its window shows at once.
    void Restart() { started_ = false; }
    // Whether a poll now pumps; when it does, the next interval starts now.
    bool Due();
    // A pump made outside the pace (a poll at once): the next interval starts now.
    void Pumped();
    // The pacer's clock, for whatever else the window times.
    ULONGLONG Now() const { return clock_(); }

private:
    Clock clock_;
    ULONGLONG intervalMs_;
    bool started_ = false;
    ULONGLONG lastPump_ = 0;
};
