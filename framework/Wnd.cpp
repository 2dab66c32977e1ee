#include "framework/Wnd.h"

#include "base/WindowText.h"
#include "framework/DataExchange.h"

namespace {

// The object whose window CreateEx is creating. The window's first message,
// which arrives before CreateWindowEx returns, binds the object to it.
thread_local CWnd* t_creating = nullptr;

} // namespace

HINSTANCE AfxGetInstanceHandle() {
    return GetModuleHandleA(nullptr);
}

const char* AfxFrameClassName() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "OrvaneWnd";
        RegisterClassA(&wc);
        return "OrvaneWnd";
    }();
    return name;
}

CWnd::~CWnd() {
    if (m_hWnd == nullptr)
        return;
    if (m_bOwnsWindow && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd); // a window we created dies with its object
    if (m_hWnd != nullptr)
        OnNcDestroyed();
}

// The object lives in the window's user data. Only windows whose procedure is
// ours carry an object there; any other window's user data belongs to its owner.
// (A window property would do too, but costs a server round trip under Wine on
// every message.)
CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (hwnd == nullptr ||
        GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(AfxWndProc))
        return nullptr;
    return reinterpret_cast<CWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::OnNcDestroyed() {
    if (m_pfnSuper != nullptr && ::IsWindow(m_hWnd))
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    if (::IsWindow(m_hWnd))
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    m_bOwnsWindow = false;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                    int y, int cx, int cy, HWND parent, HMENU menuOrId, void* param) {
    bool ownClass = className == nullptr;
    if (ownClass)
        className = AfxFrameClassName();
    if (ownClass)
        t_creating = this;
    HWND hwnd = CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, parent, menuOrId,
                                AfxGetInstanceHandle(), param);
    t_creating = nullptr;
    if (hwnd == nullptr)
        return FALSE;
    if (!ownClass)
        SubclassWindow(hwnd);
    m_bOwnsWindow = true;
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (hwnd == nullptr || FromHandlePermanent(hwnd) != nullptr)
        return FALSE;
    Attach(hwnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

std::string CWnd::GetWindowText() const {
    return WindowText(m_hWnd);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_curMessage, m_curWParam, m_curLParam);
}

LRESULT CWnd::RunEntry(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                       void* extra) {
    AfxCallArgs args;
    args.message = message;
    args.wParam = wParam;
    args.lParam = lParam;
    args.extra = extra;
    entry.thunk(this, args);
    return args.result;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam) != FALSE;
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, result) != FALSE;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message, 0, 0);
    if (entry == nullptr)
        return false;
    *result = RunEntry(*entry, message, wParam, lParam, nullptr);
    return true;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control != nullptr) {
        CWnd* child = FromHandlePermanent(control);
        LRESULT ignored = 0;
        if (child != nullptr && child != this &&
            child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored))
            return TRUE;
    } else {
        code = CN_COMMAND; // menus and accelerators
    }
    AfxCallArgs args;
    args.message = WM_COMMAND;
    args.wParam = wParam;
    args.lParam = lParam;
    return OnCmdMsg(id, code, args);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child != nullptr && child != this && child->OnChildNotify(WM_NOTIFY, 0, lParam, result))
        return TRUE;
    AfxCallArgs args;
    args.message = WM_NOTIFY;
    args.lParam = lParam;
    args.extra = header;
    if (!OnCmdMsg(static_cast<UINT>(header->idFrom), header->code, args))
        return FALSE;
    *result = args.result;
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = message == WM_COMMAND ? HIWORD(wParam) : reinterpret_cast<NMHDR*>(lParam)->code;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + message, code, 0);
    if (entry == nullptr)
        return FALSE;
    void* header = message == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lParam) : nullptr;
    *result = RunEntry(*entry, message, wParam, lParam, header);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd == nullptr && t_creating != nullptr) {
        wnd = t_creating;
        t_creating = nullptr;
        wnd->Attach(hwnd);
    }
    if (wnd == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    UINT savedMessage = wnd->m_curMessage;
    WPARAM savedWParam = wnd->m_curWParam;
    LPARAM savedLParam = wnd->m_curLParam;
    wnd->m_curMessage = message;
    wnd->m_curWParam = wParam;
    wnd->m_curLParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    wnd->m_curMessage = savedMessage;
    wnd->m_curWParam = savedWParam;
    wnd->m_curLParam = savedLParam;

    if (message == WM_NCDESTROY) {
        wnd->OnNcDestroyed();
        wnd->PostNcDestroy();
    }
    return result;
}

BOOL AfxPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd != nullptr;) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (hwnd == stop || !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
            break;
        hwnd = ::GetParent(hwnd);
    }
    return FALSE;
}
