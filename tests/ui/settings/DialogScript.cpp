#include "DialogScript.h"

namespace {

constexpr UINT kTickMilliseconds = 10;
constexpr ULONGLONG kSafetyMilliseconds = 8000;
// Thread timers carry no context; one script runs at a time.
DialogScript* t_running = nullptr;

BOOL CALLBACK CancelWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window))
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

} // namespace

DialogScript& DialogScript::Then(std::function<void()> step) {
    steps_.push_back([step] {
        step();
        return true;
    });
    return *this;
}

DialogScript& DialogScript::Until(std::function<bool()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

INT_PTR DialogScript::Run(const std::function<INT_PTR()>& showModal) {
    next_ = 0;
    timedOut_ = false;
    deadline_ = GetTickCount64() + kSafetyMilliseconds;
    t_running = this;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, &DialogScript::OnTick);
    INT_PTR result = showModal();
    KillTimer(nullptr, timer);
    t_running = nullptr;
    steps_.clear(); // used up: the next run starts a script of its own
    return result;
}

void CALLBACK DialogScript::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (t_running != nullptr)
        t_running->Tick();
}

void DialogScript::Tick() {
    if (GetTickCount64() > deadline_) {
        timedOut_ = true;
        deadline_ = ~0ull;
        EnumThreadWindows(GetCurrentThreadId(), CancelWindow, 0);
        return;
    }
    if (next_ >= steps_.size())
        return;
    // Advanced first: a step that opens a loop of its own lets the next ticks go on.
    size_t current = next_++;
    if (!steps_[current]())
        next_ = current;
}
