// The frame's control bars: layout around the view, docking, floating, and
// their state in the settings.
#include <string>

#include "framework/DockSide.h"
#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/MiniDockFrame.h"
#include "framework/WinApp.h"

namespace {

// The sides in the order the layout takes them, as stored in the settings.
const UINT kSides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                       AFX_IDW_DOCKBAR_RIGHT};

bool IsShown(const CWnd* bar) {
    return (GetWindowLongA(bar->m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A floating window is kept where at least its top left part can be reached.
POINT OnScreen(POINT topLeft) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN) - ScaleForDpi(48);
    const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN) - ScaleForDpi(24);
    POINT point = topLeft;
    point.x = point.x > right ? right : point.x < left ? left : point.x;
    point.y = point.y > bottom ? bottom : point.y < top ? top : point.y;
    return point;
}

} // namespace

void CFrameWnd::AddControlBar(CWnd* bar) {
    m_bars.push_back(bar);
    if (auto* controlBar = dynamic_cast<CControlBar*>(bar))
        controlBar->m_pDockSite = this;
}

CWnd* CFrameWnd::GetControlBar(UINT id) const {
    for (CWnd* bar : m_bars)
        if (static_cast<UINT>(GetDlgCtrlID(bar->m_hWnd)) == id)
            return bar;
    return nullptr;
}

RECT CFrameWnd::DockArea() const {
    RECT area = {};
    GetClientRect(&area);
    for (CWnd* bar : m_bars) {
        if (dynamic_cast<CStatusBar*>(bar) == nullptr || !IsShown(bar))
            continue;
        RECT rect = {};
        bar->GetWindowRect(&rect);
        area.bottom -= rect.bottom - rect.top;
    }
    return area;
}

void CFrameWnd::RecalcLayout() {
    if (m_hWnd == nullptr)
        return;
    for (CWnd* bar : m_bars) {
        if (auto* statusBar = dynamic_cast<CStatusBar*>(bar);
            statusBar != nullptr && IsShown(bar)) {
            statusBar->SendMessage(WM_SIZE); // it aligns itself along the bottom
            statusBar->UpdateParts();
        }
    }
    RECT area = DockArea();
    for (UINT side : kSides) {
        for (CWnd* wnd : m_bars) {
            auto* bar = dynamic_cast<CControlBar*>(wnd);
            if (bar == nullptr || bar->m_nDockSide != side || !IsShown(bar))
                continue;
            SIZE size = bar->CalcFixedLayout();
            const int width = area.right - area.left;
            const int height = area.bottom - area.top;
            switch (side) {
            case AFX_IDW_DOCKBAR_TOP:
                bar->MoveWindow(area.left, area.top, width, size.cy);
                area.top += size.cy;
                break;
            case AFX_IDW_DOCKBAR_BOTTOM:
                bar->MoveWindow(area.left, area.bottom - size.cy, width, size.cy);
                area.bottom -= size.cy;
                break;
            case AFX_IDW_DOCKBAR_LEFT:
                bar->MoveWindow(area.left, area.top, size.cx, height);
                area.left += size.cx;
                break;
            default:
                bar->MoveWindow(area.right - size.cx, area.top, size.cx, height);
                area.right -= size.cx;
                break;
            }
        }
    }
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr)
        m_pView->MoveWindow(area.left, area.top,
                            area.right > area.left ? area.right - area.left : 0,
                            area.bottom > area.top ? area.bottom - area.top : 0);
}

void CFrameWnd::ShowControlBar(CWnd* bar, BOOL show) {
    if (bar == nullptr)
        return;
    bar->ShowWindow(show ? SW_SHOW : SW_HIDE);
    auto* controlBar = dynamic_cast<CControlBar*>(bar);
    if (controlBar != nullptr && controlBar->IsFloating() && controlBar->m_pDockFrame)
        controlBar->m_pDockFrame->ShowWindow(show && IsWindowVisible() ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId) {
    if (bar == nullptr || bar->m_hWnd == nullptr)
        return;
    if (dockBarId == 0)
        dockBarId = bar->IsFloating() ? bar->m_nLastDockSide : bar->m_nDockSide;
    const DWORD alignment = AlignmentOfSide(dockBarId);
    if (!(alignment & m_dwDockStyle & bar->m_dwDockStyle))
        return;
    const bool wasFloating = bar->IsFloating();
    bar->m_nDockSide = dockBarId;
    bar->m_nLastDockSide = dockBarId;
    if (wasFloating) {
        ::SetParent(bar->m_hWnd, m_hWnd);
        if (bar->m_pDockFrame)
            bar->m_pDockFrame->ShowWindow(SW_HIDE);
    }
    bar->SetOrientation(bar->IsHorizontal());
    // The gripper turns with the bar: the border is measured again.
    SetWindowPos(bar->m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* bar, POINT topLeft) {
    if (bar == nullptr || bar->m_hWnd == nullptr)
        return;
    if (!bar->m_pDockFrame) {
        auto frame = std::make_unique<CMiniDockFrameWnd>();
        if (!frame->Create(this, bar))
            return;
        bar->m_pDockFrame = std::move(frame);
    }
    if (!bar->IsFloating())
        bar->m_nLastDockSide = bar->m_nDockSide;
    bar->m_nDockSide = AFX_IDW_DOCKBAR_FLOAT;
    bar->m_floatPosition = OnScreen(topLeft);
    CMiniDockFrameWnd* frame = bar->m_pDockFrame.get();
    ::SetParent(bar->m_hWnd, frame->m_hWnd);
    bar->SetOrientation(true);
    SetWindowPos(bar->m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame->FitToBar();
    SetWindowPos(frame->m_hWnd, nullptr, bar->m_floatPosition.x, bar->m_floatPosition.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::EnableWindow(frame->m_hWnd, IsWindowEnabled());
    frame->ShowWindow(IsShown(bar) && IsWindowVisible() ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

RECT CFrameWnd::DropRect(CControlBar* bar, POINT point, UINT* side) {
    RECT area = DockArea();
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    SIZE size = bar->CalcFixedLayout();
    const int thickness = bar->IsHorizontal() ? size.cy : size.cx;
    const int length = bar->IsHorizontal() ? size.cx : size.cy;
    *side = ChooseDockSide(area, point, thickness > ScaleForDpi(24) ? thickness : ScaleForDpi(24),
                           m_dwDockStyle & bar->m_dwDockStyle);
    switch (*side) {
    case AFX_IDW_DOCKBAR_TOP:
        return RECT{area.left, area.top, area.right, area.top + thickness};
    case AFX_IDW_DOCKBAR_BOTTOM:
        return RECT{area.left, area.bottom - thickness, area.right, area.bottom};
    case AFX_IDW_DOCKBAR_LEFT:
        return RECT{area.left, area.top, area.left + thickness, area.bottom};
    case AFX_IDW_DOCKBAR_RIGHT:
        return RECT{area.right - thickness, area.top, area.right, area.bottom};
    default: {
        POINT topLeft = {point.x - ScaleForDpi(12), point.y - ScaleForDpi(8)};
        return RECT{topLeft.x, topLeft.y, topLeft.x + length, topLeft.y + thickness};
    }
    }
}

void CFrameWnd::DropControlBar(CControlBar* bar, POINT point) {
    UINT side = 0;
    RECT target = DropRect(bar, point, &side);
    if (side == AFX_IDW_DOCKBAR_FLOAT)
        FloatControlBar(bar, {target.left, target.top - GetSystemMetrics(SM_CYSMCAPTION)});
    else
        DockControlBar(bar, side);
    // The moved view's controls keep stale bits otherwise (Wine copies the
    // moved area), and the drag frame may have left traces.
    RedrawWindow(m_hWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CFrameWnd::OnEnable(WPARAM wParam, LPARAM) {
    // A floating bar would otherwise still send commands while a long operation
    // or a modal dialog has the frame disabled.
    for (CWnd* wnd : m_bars)
        if (auto* bar = dynamic_cast<CControlBar*>(wnd); bar != nullptr && bar->m_pDockFrame)
            ::EnableWindow(bar->m_pDockFrame->m_hWnd, wParam != 0);
    return Default();
}

LRESULT CFrameWnd::OnShowWindow(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        for (CWnd* wnd : m_bars) {
            auto* bar = dynamic_cast<CControlBar*>(wnd);
            if (bar != nullptr && bar->IsFloating() && bar->m_pDockFrame)
                bar->m_pDockFrame->ShowWindow(wParam && IsShown(bar) ? SW_SHOWNA : SW_HIDE);
        }
    }
    return Default();
}

// The frame's own bars' state: "<prefix>-Summary" counts the bars and
// "<prefix>-Bar<n>" holds one bar's identifier, visibility, side (an index into
// top, bottom, left, right), whether it floats and where.
void CFrameWnd::SaveBarState(const char* prefix) const {
    CWinApp* app = AfxGetApp();
    std::string summary = std::string(prefix) + "-Summary";
    app->WriteProfileInt(summary.c_str(), "Bars", static_cast<int>(m_bars.size()));
    for (size_t i = 0; i < m_bars.size(); ++i) {
        std::string section = std::string(prefix) + "-Bar" + std::to_string(i);
        // The style, not IsWindowVisible: a frame never shown (an unattended
        // run) must not store its bars as hidden.
        app->WriteProfileInt(section.c_str(), "BarID", GetDlgCtrlID(m_bars[i]->m_hWnd));
        app->WriteProfileInt(section.c_str(), "Visible", IsShown(m_bars[i]) ? 1 : 0);
        auto* bar = dynamic_cast<CControlBar*>(m_bars[i]);
        if (bar == nullptr)
            continue;
        const UINT docked = bar->IsFloating() ? bar->m_nLastDockSide : bar->m_nDockSide;
        int sideIndex = 0;
        for (int s = 0; s < 4; ++s)
            if (kSides[s] == docked)
                sideIndex = s;
        app->WriteProfileInt(section.c_str(), "DockSide", sideIndex);
        app->WriteProfileInt(section.c_str(), "Floating", bar->IsFloating() ? 1 : 0);
        app->WriteProfileInt(section.c_str(), "FloatX", bar->m_floatPosition.x);
        app->WriteProfileInt(section.c_str(), "FloatY", bar->m_floatPosition.y);
    }
}

void CFrameWnd::LoadBarState(const char* prefix) {
    CWinApp* app = AfxGetApp();
    std::string summary = std::string(prefix) + "-Summary";
    int count = app->GetProfileInt(summary.c_str(), "Bars", 0);
    for (int i = 0; i < count; ++i) {
        std::string section = std::string(prefix) + "-Bar" + std::to_string(i);
        int id = app->GetProfileInt(section.c_str(), "BarID", 0);
        CWnd* wnd = GetControlBar(static_cast<UINT>(id));
        if (wnd == nullptr)
            continue;
        int visible = app->GetProfileInt(section.c_str(), "Visible", 1);
        wnd->ShowWindow(visible ? SW_SHOW : SW_HIDE);
        auto* bar = dynamic_cast<CControlBar*>(wnd);
        if (bar == nullptr)
            continue;
        int sideIndex = app->GetProfileInt(section.c_str(), "DockSide", -1);
        if (sideIndex >= 0 && sideIndex < 4)
            DockControlBar(bar, kSides[sideIndex]); // also the side a floating bar returns to
        if (app->GetProfileInt(section.c_str(), "Floating", 0) == 1)
            FloatControlBar(bar, {app->GetProfileInt(section.c_str(), "FloatX", 0),
                                  app->GetProfileInt(section.c_str(), "FloatY", 0)});
    }
    RecalcLayout();
}
