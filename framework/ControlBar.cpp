#include "framework/ControlBars.h"

#include "framework/Gdi.h"

namespace {

// What the non-client hit test reports over the gripper (a code Windows leaves
// unused, so the default handling does nothing with it).
constexpr LRESULT kGripperHit = HTOBJECT;

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

UINT CControlBar::GetDockSide() const {
    return m_pDockSite != nullptr ? m_pDockSite->SideOf(*this) : AFX_IDW_DOCKBAR_TOP;
}

bool CControlBar::IsHorizontal() const {
    const UINT side = GetDockSide();
    return side != AFX_IDW_DOCKBAR_LEFT && side != AFX_IDW_DOCKBAR_RIGHT;
}

CMiniDockFrameWnd* CControlBar::GetDockingFrame() const {
    return m_pDockSite != nullptr ? m_pDockSite->FloatingFrameOf(*this) : nullptr;
}

RECT CControlBar::Insets() const {
    const int border = ScaleForDpi(2);
    RECT insets = {border, border, border, border};
    // A floating bar is dragged by its window's caption instead.
    if ((m_dwStyle & CBRS_GRIPPER) && !IsFloating()) {
        if (IsHorizontal())
            insets.left += ScaleForDpi(8);
        else
            insets.top += ScaleForDpi(8);
    }
    return insets;
}

SIZE CControlBar::CalcFixedLayout() const {
    SIZE content = ContentSize();
    RECT insets = Insets();
    return SIZE{content.cx + insets.left + insets.right, content.cy + insets.top + insets.bottom};
}

RECT CControlBar::GripperRect() const {
    RECT window = {};
    GetWindowRect(&window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const RECT insets = Insets();
    if (IsHorizontal())
        return RECT{insets.top, insets.top, insets.left, height - insets.bottom};
    return RECT{insets.left, insets.left, width - insets.right, insets.top};
}

void CControlBar::DrawGripper() {
    if (!(m_dwStyle & CBRS_GRIPPER) || IsFloating())
        return;
    WindowDC dc(m_hWnd, GetWindowDC(m_hWnd));
    if (dc == nullptr)
        return;
    RECT grip = GripperRect();
    const int line = ScaleForDpi(3);
    // Two raised ridges along the bar's short side, as Windows' own bars have.
    for (int i = 0; i < 2; ++i) {
        RECT ridge = grip;
        if (IsHorizontal()) {
            ridge.left = grip.left + ScaleForDpi(1) + i * line;
            ridge.right = ridge.left + line;
        } else {
            ridge.top = grip.top + ScaleForDpi(1) + i * line;
            ridge.bottom = ridge.top + line;
        }
        DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
    }
}

bool CControlBar::IsDragged() const {
    return m_pDockSite != nullptr && m_pDockSite->IsDragging(*this);
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: {
        LRESULT result = Default();
        RECT* rect = reinterpret_cast<RECT*>(lParam); // also the first of NCCALCSIZE_PARAMS
        const RECT insets = Insets();
        rect->left += insets.left;
        rect->top += insets.top;
        rect->right -= insets.right;
        rect->bottom -= insets.bottom;
        if (rect->right < rect->left)
            rect->right = rect->left;
        if (rect->bottom < rect->top)
            rect->bottom = rect->top;
        return result;
    }
    case WM_NCPAINT: {
        LRESULT result = Default();
        DrawGripper();
        return result;
    }
    case WM_NCHITTEST: {
        LRESULT hit = Default();
        if (hit == HTCLIENT || !(m_dwStyle & CBRS_GRIPPER) || IsFloating())
            return hit;
        const POINT point = PointOf(lParam);
        RECT window = {};
        GetWindowRect(&window);
        RECT grip = GripperRect();
        OffsetRect(&grip, window.left, window.top);
        return PtInRect(&grip, point) ? kGripperHit : hit;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == kGripperHit) {
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL)));
            return TRUE;
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (wParam == static_cast<WPARAM>(kGripperHit) && m_pDockSite != nullptr) {
            m_pDockSite->BeginDrag(*this, PointOf(lParam));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (IsDragged()) {
            POINT point = PointOf(lParam);
            ClientToScreen(m_hWnd, &point);
            if (message == WM_MOUSEMOVE)
                m_pDockSite->DragTo(point);
            else
                m_pDockSite->EndDrag(point);
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (IsDragged() && reinterpret_cast<HWND>(lParam) != m_hWnd)
            m_pDockSite->CancelDrag();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
