#include "framework/MiniDockFrame.h"

#include "framework/ControlBars.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
} // namespace

BOOL CMiniDockFrameWnd::Create(CWnd& frame, CControlBar& bar, CDockSite& site) {
    m_pBar = &bar;
    m_pSite = &site;
    return CreateEx(kExStyle, nullptr, bar.GetWindowText().c_str(), kStyle, 0, 0, 0, 0,
                    frame.m_hWnd, nullptr);
}

void CMiniDockFrameWnd::FitToBar() {
    SIZE size = m_pBar->CalcFixedLayout();
    RECT rect = {0, 0, size.cx, size.cy};
    AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
    SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pBar->MoveWindow(0, 0, size.cx, size.cy);
}

LRESULT CMiniDockFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        m_pSite->Show(*m_pBar, false);
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) {
            m_pSite->BeginDrag(
                *m_pBar, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            m_pSite->Dock(*m_pBar, 0); // back to the side it last had
            return 0;
        }
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
        return ::SendMessageA(::GetWindow(m_hWnd, GW_OWNER), message, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // clicking a button leaves the main window active
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
