#include "ModalScript.h"

namespace {
ModalScript* g_current = nullptr;

BOOL CALLBACK CloseEach(HWND hwnd, LPARAM) {
    if (IsWindowVisible(hwnd))
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

struct Search {
    const char* caption;
    bool prefix;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    std::string text = WindowTextOf(hwnd);
    bool match = search->prefix ? text.rfind(search->caption, 0) == 0 : text == search->caption;
    if (IsWindowVisible(hwnd) && match) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

ModalScript::ModalScript(std::vector<Step> steps, UINT intervalMs, int maxTicks)
    : steps_(std::move(steps)), maxTicks_(maxTicks) {
    g_current = this;
    timer_ = SetTimer(nullptr, 0, intervalMs, &ModalScript::Tick);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    if (g_current == this)
        g_current = nullptr;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_current != nullptr)
        g_current->RunTick();
}

void ModalScript::RunTick() {
    if (++ticks_ > maxTicks_) {
        if (!timedOut_) {
            timedOut_ = true;
            EnumThreadWindows(GetCurrentThreadId(), CloseEach, 0);
        }
        return;
    }
    if (Finished())
        return;
    // Advanced before the step runs: a step that opens a loop of its own (a
    // dialog shown with SendMessage) lets the next steps run inside that loop.
    size_t current = next_++;
    if (!steps_[current]())
        next_ = current;
}

std::string WindowTextOf(HWND hwnd) {
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

HWND FindThreadWindow(const char* caption, bool prefix) {
    Search search{caption, prefix, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ControlText(HWND dialog, int id) {
    return WindowTextOf(GetDlgItem(dialog, id));
}

void ClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressKey(HWND target, WPARAM key) {
    UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

namespace {
ModalScript::Step WhenFound(const char* caption, bool prefix, std::function<void(HWND)> action) {
    std::string wanted = caption;
    return [wanted, prefix, action]() {
        HWND hwnd = FindThreadWindow(wanted.c_str(), prefix);
        if (hwnd == nullptr)
            return false;
        action(hwnd);
        return true;
    };
}
} // namespace

ModalScript::Step WhenWindow(const char* caption, std::function<void(HWND)> action) {
    return WhenFound(caption, false, std::move(action));
}

ModalScript::Step WhenWindowStartingWith(const char* captionStart,
                                         std::function<void(HWND)> action) {
    return WhenFound(captionStart, true, std::move(action));
}

ModalScript::Step AnswerMessageBox(const char* caption, std::string* text, int button) {
    std::string wanted = caption;
    return [wanted, text, button]() {
        HWND box = FindThreadWindow(wanted.c_str());
        char className[16] = {};
        if (box == nullptr || !GetClassNameA(box, className, sizeof className) ||
            std::string(className) != "#32770")
            return false;
        *text = ControlText(box, 0xFFFF); // the static text of a message box
        ClickButton(box, button);
        return true;
    };
}

namespace {
PressOnCreate* g_pressOnCreate = nullptr;
} // namespace

PressOnCreate::PressOnCreate(const char* caption, int buttonId)
    : caption_(caption), buttonId_(buttonId) {
    g_pressOnCreate = this;
    hook_ =
        SetWindowsHookExA(WH_CALLWNDPROCRET, &PressOnCreate::Hook, nullptr, GetCurrentThreadId());
}

PressOnCreate::~PressOnCreate() {
    UnhookWindowsHookEx(hook_);
    if (g_pressOnCreate == this)
        g_pressOnCreate = nullptr;
}

LRESULT CALLBACK PressOnCreate::Hook(int code, WPARAM wParam, LPARAM lParam) {
    auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    PressOnCreate* self = g_pressOnCreate;
    if (code == HC_ACTION && self != nullptr && call->message == WM_INITDIALOG &&
        WindowTextOf(call->hwnd) == self->caption_) {
        ClickButton(call->hwnd, self->buttonId_);
        self->pressed_ = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
