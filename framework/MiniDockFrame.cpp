#include "framework/MiniDockFrame.h"

#include "framework/ControlBars.h"
#include "framework/FrameWnd.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
} // namespace

BOOL CMiniDockFrameWnd::Create(CFrameWnd* frame, CControlBar* bar) {
    m_pFrame = frame;
    m_pBar = bar;
    return CreateEx(kExStyle, nullptr, bar->GetWindowText().c_str(), kStyle, 0, 0, 0, 0,
                    frame->m_hWnd, nullptr);
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
        m_pFrame->ShowControlBar(m_pBar, FALSE);
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) {
            m_pBar->BeginDrag(
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            m_pFrame->DockControlBar(m_pBar, 0); // back to the side it last had
            return 0;
        }
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
        return m_pFrame->SendMessage(message, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // clicking a button leaves the main window active
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
