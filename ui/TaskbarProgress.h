#pragma once
// A long operation's progress on the main window's taskbar button, where the
// system offers it (the taskbar list of Windows 7 and later). Where it does not,
// or COM is not set up in this thread, nothing is shown and nothing fails.
#include <windows.h>

struct ITaskbarList3;

class TaskbarProgress {
public:
    // The button of `window`, a top-level window.
    explicit TaskbarProgress(HWND window);
    // Takes the progress off the button.
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    bool Available() const { return list_ != nullptr; }
    // Going on, with no measure of how far (a search).
    void ShowBusy();
    void ShowValue(unsigned long long done, unsigned long long planned);

private:
    HWND window_;
    ITaskbarList3* list_ = nullptr;
    bool busy_ = false;
};
