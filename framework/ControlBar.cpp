#include "framework/ControlBars.h"

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/MiniDockFrame.h"

namespace {

// What the non-client hit test reports over the gripper (a code Windows leaves
// unused, so the default handling does nothing with it).
constexpr LRESULT kGripperHit = HTOBJECT;

} // namespace

CControlBar::CControlBar() = default;
CControlBar::~CControlBar() = default;

bool CControlBar::IsHorizontal() const {
    return m_nDockSide != AFX_IDW_DOCKBAR_LEFT && m_nDockSide != AFX_IDW_DOCKBAR_RIGHT;
}

bool CControlBar::IsBarVisible() const {
    return m_hWnd != nullptr && (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
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

SIZE CControlBar::CalcFixedLayout() {
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
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
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
        if (wParam == static_cast<WPARAM>(kGripperHit)) {
            BeginDrag({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (m_dragging) {
            POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(m_hWnd, &point);
            if (message == WM_MOUSEMOVE) {
                TrackTo(point);
            } else {
                m_dragPoint = point;
                EndDrag(true);
            }
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (m_dragging && reinterpret_cast<HWND>(lParam) != m_hWnd)
            EndDrag(false);
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::BeginDrag(POINT screenPoint) {
    if (m_pDockSite == nullptr || m_dragging)
        return;
    m_dragging = true;
    m_dragPoint = screenPoint;
    m_dragRectShown = false;
    SetCapture(m_hWnd);
    TrackTo(screenPoint);
}

void CControlBar::TrackTo(POINT screenPoint) {
    m_dragPoint = screenPoint;
    UINT side = 0;
    RECT target = m_pDockSite->DropRect(this, screenPoint, &side);
    if (m_dragRectShown && EqualRect(&target, &m_dragRect))
        return;
    if (m_dragRectShown)
        DrawDragRect(m_dragRect); // drawn inverted: a second time takes it away
    m_dragRect = target;
    DrawDragRect(m_dragRect);
    m_dragRectShown = true;
}

void CControlBar::EndDrag(bool drop) {
    if (!m_dragging)
        return;
    m_dragging = false;
    if (m_dragRectShown)
        DrawDragRect(m_dragRect);
    m_dragRectShown = false;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (drop)
        m_pDockSite->DropControlBar(this, m_dragPoint);
}

void CControlBar::DrawDragRect(const RECT& rect) {
    HWND desktop = GetDesktopWindow();
    WindowDC dc(desktop, GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE));
    if (dc == nullptr)
        return;
    RECT inner = rect;
    const int thickness = ScaleForDpi(3);
    for (int i = 0; i < thickness; ++i) {
        DrawFocusRect(dc, &inner);
        InflateRect(&inner, -1, -1);
    }
}
