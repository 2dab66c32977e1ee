#pragma once
// Message tables in the MFC manner: each class lists the messages, commands and
// notifications it handles; a lookup walks the table of the class and then those
// of its bases. Each entry holds a small thunk that casts the target to the
// declaring class and calls the member with the message's arguments.
#include <windows.h>

class CCmdTarget;
class CCmdUI;

// What a thunk receives and may fill in.
struct AfxCallArgs {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT id = 0;           // command or control identifier
    void* extra = nullptr; // CCmdUI* for update rules, NMHDR* for notifications
    LRESULT result = 0;
    bool probe = false; // only asks whether a handler exists
};

using AfxThunk = void (*)(CCmdTarget* target, AfxCallArgs& args);

struct AFX_MSGMAP_ENTRY {
    UINT message; // window message, WM_COMMAND, WM_NOTIFY, or a reflected form
    UINT code;    // command kind or notification code
    UINT firstId;
    UINT lastId;
    AfxThunk thunk; // nullptr ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*baseMap)();
    const AFX_MSGMAP_ENTRY* entries;
};

// Kinds of WM_COMMAND entries.
constexpr UINT CN_COMMAND = 0;
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFFu;
// Notifications a control handles itself are looked up under these messages.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]};                 \
    return &map;                                                                                   \
    }

#define AFX_THUNK(body)                                                                            \
    [](CCmdTarget* t, AfxCallArgs& a) {                                                            \
        auto* self = static_cast<ThisClass*>(t);                                                   \
        (void)a;                                                                                   \
        body;                                                                                      \
    }

#define ON_COMMAND(id, fn) {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AFX_THUNK(self->fn())},
#define ON_COMMAND_RANGE(first, last, fn)                                                          \
    {WM_COMMAND, CN_COMMAND, (UINT)(first), (UINT)(last), AFX_THUNK(self->fn(a.id))},
#define ON_UPDATE_COMMAND_UI(id, fn)                                                               \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id),                                     \
     AFX_THUNK(self->fn(static_cast<CCmdUI*>(a.extra)))},
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn)                                                \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(first), (UINT)(last),                                \
     AFX_THUNK(self->fn(static_cast<CCmdUI*>(a.extra)))},
// A control notification sent with WM_COMMAND (BN_CLICKED, CBN_SELCHANGE, ...).
#define ON_CONTROL(code, id, fn)                                                                   \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AFX_THUNK(self->fn())},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn)                                                                    \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id),                                              \
     AFX_THUNK(self->fn(reinterpret_cast<NMHDR*>(a.extra), &a.result))},
// A control notification (WM_COMMAND) that the control handles itself, before
// its parent sees it.
#define ON_CONTROL_REFLECT(code, fn)                                                               \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, AFX_THUNK(self->fn())},
#define ON_MESSAGE(msg, fn)                                                                        \
    {(UINT)(msg), 0, 0, 0, AFX_THUNK(a.result = self->fn(a.wParam, a.lParam))},
#define ON_WM_CREATE()                                                                             \
    {WM_CREATE, 0, 0, 0,                                                                           \
     AFX_THUNK(a.result = self->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(a.lParam)))},
#define ON_WM_SIZE()                                                                               \
    {WM_SIZE, 0, 0, 0,                                                                             \
     AFX_THUNK(self->OnSize((UINT)a.wParam, (short)LOWORD(a.lParam), (short)HIWORD(a.lParam)))},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AFX_THUNK(self->OnClose())},
#define ON_WM_SETFOCUS()                                                                           \
    {WM_SETFOCUS, 0, 0, 0, AFX_THUNK(self->OnSetFocus(reinterpret_cast<HWND>(a.wParam)))},
#define ON_WM_ACTIVATE()                                                                           \
    {WM_ACTIVATE, 0, 0, 0,                                                                         \
     AFX_THUNK(self->OnActivate(LOWORD(a.wParam), reinterpret_cast<HWND>(a.lParam),                \
                                HIWORD(a.wParam) != 0))},
#define ON_WM_DROPFILES()                                                                          \
    {WM_DROPFILES, 0, 0, 0, AFX_THUNK(self->OnDropFiles(reinterpret_cast<HDROP>(a.wParam)))},
