#pragma once
// Passes progress texts on to the progress window at most every tenth of a
// second, and at once when the first line (the phase) changes. A search sets the
// second line at every folder; pushing each one into the window and painting it
// cost more than the scan itself (measured under Wine: 1.7 ms a folder). Stop
// polls are always passed on; the window paces its own pumps.
#include <windows.h>

#include <string>

#include "engine/EngineCallbacks.h"

class ThrottledProgress : public IProgress {
public:
    using Clock = ULONGLONG (*)();
    explicit ThrottledProgress(IProgress& target, Clock clock = &GetTickCount64)
        : target_(target), clock_(clock) {}

    void SetLine1(const std::string& text) override;
    void SetLine2(const std::string& text) override { target_.SetLine2(text); }
    void Refresh() override;
    bool PollStop() override { return target_.PollStop(); }
    bool PollStopNow() override { return target_.PollStopNow(); }
    // The figures have their own pace in the window: passed on as they come.
    void ShowFigures(const ProgressFigures* figures) override { target_.ShowFigures(figures); }

    static constexpr ULONGLONG kIntervalMs = 100;

private:
    IProgress& target_;
    Clock clock_;
    bool phaseChanged_ = true;
    ULONGLONG lastRefresh_ = 0;
};
