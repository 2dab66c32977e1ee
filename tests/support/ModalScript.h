#pragma once
// Drives modal dialogs from inside their own message loop: a thread timer runs
// scripted steps, one per tick, each retried until it reports done. When the
// script runs too long every window of the thread is closed, so a test can fail
// but never hang.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    // A step returns true when it has done its work, false to be tried again.
    using Step = std::function<bool()>;

    explicit ModalScript(std::vector<Step> steps, UINT intervalMs = 15, int maxTicks = 600);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Finished() const { return next_ >= steps_.size(); }
    bool TimedOut() const { return timedOut_; }
    // The step being tried (0-based), or the step count once all are done.
    size_t StepReached() const { return next_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunTick();

    std::vector<Step> steps_;
    size_t next_ = 0;
    int ticks_ = 0;
    int maxTicks_;
    bool timedOut_ = false;
    UINT_PTR timer_;
};

// A visible top-level window of this thread with that caption (or, with
// `prefix`, a caption beginning with it), or nullptr.
HWND FindThreadWindow(const char* caption, bool prefix = false);
std::string WindowTextOf(HWND hwnd);
std::string ControlText(HWND dialog, int id);
// Presses a button the way a click does.
void ClickButton(HWND dialog, int id);
// Posts a key press (down and up) to a window, as typed while it has the focus.
void PressKey(HWND target, WPARAM key);
// A step that waits for a window, then runs an action on it.
ModalScript::Step WhenWindow(const char* caption, std::function<void(HWND)> action);
// The same for a window whose caption begins with the text.
ModalScript::Step WhenWindowStartingWith(const char* captionStart,
                                         std::function<void(HWND)> action);
// Runs pending messages of this thread (for modeless windows).
void PumpPending();
// A step that answers the message box with that caption (a dialog, never a main
// window of the same title): its text goes to `text`, then the button is pressed.
ModalScript::Step AnswerMessageBox(const char* caption, std::string* text, int button = IDOK);

// Presses a button of a dialog the moment the dialog is created, for as long as
// this object lives. The click waits in the queue for the first message pump of
// the operation that showed the dialog, so the operation cannot finish first.
class PressOnCreate {
public:
    PressOnCreate(const char* caption, int buttonId);
    ~PressOnCreate();
    PressOnCreate(const PressOnCreate&) = delete;
    PressOnCreate& operator=(const PressOnCreate&) = delete;
    bool Pressed() const { return pressed_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::string caption_;
    int buttonId_;
    bool pressed_ = false;
    HHOOK hook_;
};
