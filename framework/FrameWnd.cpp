#include "framework/FrameWnd.h"

#include "base/ResourceString.h"
#include "framework/WinApp.h"

// Framework identifiers used here (the values MFC programs use).
namespace {
constexpr UINT kIdleMessage = 0xE001;
constexpr UINT kToolbarCommandFirst = 0xE800; // show/hide commands equal the bar identifiers
constexpr UINT kToolbarCommandLast = 0xE81F;
constexpr UINT kFirstPane = 0xE900;
} // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_SETFOCUS()
ON_WM_ACTIVATE()
ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
ON_COMMAND_RANGE(kToolbarCommandFirst, kToolbarCommandLast, OnBarCheck)
ON_UPDATE_COMMAND_UI_RANGE(kToolbarCommandFirst, kToolbarCommandLast, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA&) {
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style) {
    HINSTANCE instance = AfxGetInstanceHandle();
    CREATESTRUCTA cs = {};
    cs.style = style;
    cs.x = CW_USEDEFAULT;
    cs.y = CW_USEDEFAULT;
    cs.cx = CW_USEDEFAULT;
    cs.cy = CW_USEDEFAULT;
    cs.hMenu = LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
    cs.lpszName = AfxGetAppName();
    if (!PreCreateWindow(cs))
        return FALSE;
    m_hAccelTable = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
    if (!CreateEx(cs.dwExStyle, nullptr, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy, nullptr,
                  cs.hMenu)) {
        if (cs.hMenu != nullptr)
            DestroyMenu(cs.hMenu);
        return FALSE;
    }
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(resourceId));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA) {
    if (m_pView != nullptr && !m_pView->Create(this, kFirstPane))
        return -1;
    return 0;
}

void CFrameWnd::InitialUpdateFrame() {
    if (m_pView != nullptr)
        m_pView->OnInitialUpdate();
    RecalcLayout();
}

void CFrameWnd::OnSize(UINT, int, int) {
    RecalcLayout();
}

void CFrameWnd::RecalcLayout() {
    if (m_hWnd == nullptr)
        return;
    const RECT area = m_dockSite.LayOutBars();
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr)
        m_pView->MoveWindow(area.left, area.top,
                            area.right > area.left ? area.right - area.left : 0,
                            area.bottom > area.top ? area.bottom - area.top : 0);
}

void CFrameWnd::ShowControlBar(CWnd* bar, BOOL show) {
    if (bar != nullptr)
        m_dockSite.Show(*bar, show != FALSE);
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId) {
    if (bar != nullptr)
        m_dockSite.Dock(*bar, dockBarId);
}

void CFrameWnd::FloatControlBar(CControlBar* bar, POINT topLeft) {
    if (bar != nullptr)
        m_dockSite.Float(*bar, topLeft);
}

void CFrameWnd::DropControlBar(CControlBar* bar, POINT point) {
    if (bar != nullptr)
        m_dockSite.Drop(*bar, point);
}

void CFrameWnd::SaveBarState(const char* prefix) const {
    m_dockSite.Save(AfxGetApp()->Profile(), prefix);
}

void CFrameWnd::LoadBarState(const char* prefix) {
    m_dockSite.Load(AfxGetApp()->Profile(), prefix);
}

LRESULT CFrameWnd::OnEnable(WPARAM wParam, LPARAM) {
    m_dockSite.FollowFrameEnabled(wParam != 0);
    return Default();
}

LRESULT CFrameWnd::OnShowWindow(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) // the frame itself shown or hidden by ShowWindow
        m_dockSite.FollowFrameShown(wParam != 0);
    return Default();
}

void CFrameWnd::OnBarCheck(UINT id) {
    CWnd* bar = GetControlBar(id);
    if (bar != nullptr)
        ShowControlBar(bar, !CDockSite::IsSwitchedOn(*bar));
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI) {
    CWnd* bar = GetControlBar(cmdUI->m_nID);
    cmdUI->Enable(bar != nullptr);
    cmdUI->SetCheck(bar != nullptr && CDockSite::IsSwitchedOn(*bar));
}

void CFrameWnd::OnActivate(UINT state, HWND, bool) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && focus != m_hWnd && IsChild(m_hWnd, focus))
            m_hWndFocusSaved = focus;
    }
    Default();
}

void CFrameWnd::OnSetFocus(HWND) {
    HWND saved = m_hWndFocusSaved;
    m_hWndFocusSaved = nullptr;
    if (saved != nullptr && IsChild(m_hWnd, saved) && ::IsWindowVisible(saved) &&
        ::IsWindowEnabled(saved)) {
        ::SetFocus(saved);
        return;
    }
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr && m_pView->IsWindowEnabled())
        ::SetFocus(m_pView->m_hWnd);
}

// Closing goes through the virtual DestroyWindow, so a frame can store its state first.
void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
        PostQuitMessage(0);
}

bool CFrameWnd::OnCmdMsg(UINT id, UINT code, AfxCallArgs& args) {
    if (m_pView != nullptr && m_pView->OnCmdMsg(id, code, args))
        return true;
    if (CWnd::OnCmdMsg(id, code, args))
        return true;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id, code, args);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (m_hAccelTable == nullptr || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    if (!IsWindowEnabled())
        return FALSE; // a long operation or a modal dialog owns the input
    return TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(lParam))
        return 0; // the system menu
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        UINT id = GetMenuItemID(menu, index);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue; // separators and submenus
        CCmdUI cmdUI;
        cmdUI.m_nID = id;
        cmdUI.m_nIndex = static_cast<UINT>(index);
        cmdUI.m_pMenu = menu;
        cmdUI.DoUpdate(this, true);
    }
    return 0;
}

std::string CFrameWnd::PromptFor(UINT id, bool tooltip) const {
    std::string text = LoadResourceString(id);
    size_t lineBreak = text.find('\n'); // an ASCII byte: never inside a double-byte character
    if (lineBreak == std::string::npos)
        return tooltip ? std::string() : text;
    return tooltip ? text.substr(lineBreak + 1) : text.substr(0, lineBreak);
}

void CFrameWnd::SetMessageText(const char* text) {
    if (CStatusBar* bar = GetMessageBar())
        bar->SetPaneText(0, text);
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0)
        SetMessageText(PromptFor(kIdleMessage, false).c_str()); // the menu closed
    else if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)))
        SetMessageText(PromptFor(id, false).c_str());
    return 0;
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TTN_GETDISPINFOA) {
        static std::string tip; // must outlive this call; read by the tooltip at once
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        tip = PromptFor(static_cast<UINT>(header->idFrom), true);
        info->lpszText = const_cast<char*>(tip.c_str());
        *result = 0;
        return TRUE;
    }
    if (header->code == TBN_HOTITEMCHANGE) {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(lParam);
        UINT id = (hot->dwFlags & HICF_LEAVING) ? kIdleMessage : static_cast<UINT>(hot->idNew);
        SetMessageText(PromptFor(id, false).c_str());
        *result = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    for (CWnd* bar : m_dockSite.Bars()) {
        auto* toolbar = dynamic_cast<CToolBar*>(bar);
        if (toolbar == nullptr || !toolbar->IsWindowVisible())
            continue;
        for (int index = 0; index < toolbar->GetCount(); ++index) {
            UINT id = toolbar->GetItemID(index);
            if (id == 0)
                continue;
            CCmdUI cmdUI;
            cmdUI.m_nID = id;
            cmdUI.m_nIndex = static_cast<UINT>(index);
            cmdUI.m_pOther = toolbar->m_hWnd;
            cmdUI.DoUpdate(this, true);
        }
    }
}
