#pragma once
// Drives a modal dialog from inside its own message loop: a thread timer runs
// one scripted step per tick, so steps also run while a message box or the
// folder browser has a loop of its own. Messages a step posts are handled
// before the next tick (timer messages come last). A step that returns false
// runs again at the next tick, to wait for a window. After a few seconds the
// script cancels every window of the thread, so a test can never hang.
#include <windows.h>

#include <functional>
#include <vector>

class DialogScript {
public:
    DialogScript& Then(std::function<void()> step);
    DialogScript& Until(std::function<bool()> step);

    // Calls `showModal`, which runs a modal dialog, with the steps ticking;
    // returns what it returns. The steps are used up.
    INT_PTR Run(const std::function<INT_PTR()>& showModal);
    // True when the safety end had to close the dialog.
    bool TimedOut() const { return timedOut_; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<std::function<bool()>> steps_;
    size_t next_ = 0;
    ULONGLONG deadline_ = 0;
    bool timedOut_ = false;
};
