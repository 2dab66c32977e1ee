#include "app/MainFrame.h"

#include "framework/WinApp.h"
#include "res/resource.h"

namespace {
const char kPlacementSection[] = "Pos";
const char kBarStatePrefix[] = "Bars";
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_COUNT};
} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

WindowPlacement ClampPlacement(const WindowPlacement& stored, int maxWidth, int maxHeight) {
    WindowPlacement placement;
    placement.y = stored.y > 0 ? stored.y : 0;
    if (placement.y > maxHeight - 100)
        placement.y = maxHeight - 100;
    placement.x = stored.x > 0 ? stored.x : 0;
    if (placement.x > maxWidth - 100)
        placement.x = maxWidth - 100;
    // Compared unsigned, a negative size counts as too large.
    placement.cy =
        static_cast<unsigned>(stored.cy) < static_cast<unsigned>(maxHeight) ? stored.cy : maxHeight;
    placement.cx =
        static_cast<unsigned>(stored.cx) < static_cast<unsigned>(maxWidth) ? stored.cx : maxWidth;
    return placement;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    CWinApp* app = AfxGetApp();
    WindowPlacement stored = {app->GetProfileInt(kPlacementSection, "x", 0),
                              app->GetProfileInt(kPlacementSection, "y", 0),
                              app->GetProfileInt(kPlacementSection, "cx", 600),
                              app->GetProfileInt(kPlacementSection, "cy", 480)};
    WindowPlacement placement =
        ClampPlacement(stored, GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED));
    cs.x = placement.x;
    cs.y = placement.y;
    cs.cx = placement.cx;
    cs.cy = placement.cy;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    // Double-click notification only: no full repaint on every size change.
    SetClassLongPtrA(m_hWnd, GCL_STYLE, CS_DBLCLKS);
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                               AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetWindowText("ツール バー"); // the caption while it floats
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, 2))
        return -1;
    AddControlBar(&m_wndToolBar);
    AddControlBar(&m_wndStatusBar);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    m_wndStatusBar.GetPaneInfo(0, id, style, width);
    m_wndStatusBar.SetPaneInfo(0, id, SBPS_STRETCH, width);
    LoadBarState(kBarStatePrefix);
    return 0;
}

BOOL CMainFrame::DestroyWindow() {
    SaveBarState(kBarStatePrefix);
    if (!IsIconic(m_hWnd) && !IsZoomed(m_hWnd)) {
        RECT rect = {};
        GetWindowRect(&rect);
        CWinApp* app = AfxGetApp();
        app->WriteProfileInt(kPlacementSection, "y", rect.top);
        app->WriteProfileInt(kPlacementSection, "x", rect.left);
        app->WriteProfileInt(kPlacementSection, "cy", rect.bottom - rect.top);
        app->WriteProfileInt(kPlacementSection, "cx", rect.right - rect.left);
    }
    return CFrameWnd::DestroyWindow();
}

void CMainFrame::SetStatusText(const std::string& text) {
    m_wndStatusBar.SetPaneText(0, text.c_str());
}
