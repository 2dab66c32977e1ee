#include "framework/DockSite.h"

#include <cstdlib>
#include <string>

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/MiniDockFrame.h"
#include "framework/Profile.h"

struct CDockSite::Bar {
    CWnd* window = nullptr;
    CControlBar* dockable = nullptr;       // nullptr for a bar that aligns itself
    UINT dockedSide = AFX_IDW_DOCKBAR_TOP; // while floating, the side it goes back to
    bool floating = false;
    POINT floatPosition = {0, 0}; // top left of the tool window
    std::unique_ptr<CMiniDockFrameWnd> floatingFrame;

    UINT Side() const { return floating ? AFX_IDW_DOCKBAR_FLOAT : dockedSide; }
};

namespace {

// The sides in the order the layout takes them; the settings store a side as
// its index here.
const UINT kSides[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                       AFX_IDW_DOCKBAR_RIGHT};

int SideIndex(UINT side) {
    for (int index = 0; index < 4; ++index)
        if (kSides[index] == side)
            return index;
    return 0;
}

DWORD AlignmentOfSide(UINT side) {
    switch (side) {
    case AFX_IDW_DOCKBAR_TOP:
        return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    default:
        return 0;
    }
}

UINT SideOfStyle(DWORD barStyle) {
    return (barStyle & CBRS_ALIGN_BOTTOM)  ? AFX_IDW_DOCKBAR_BOTTOM
           : (barStyle & CBRS_ALIGN_LEFT)  ? AFX_IDW_DOCKBAR_LEFT
           : (barStyle & CBRS_ALIGN_RIGHT) ? AFX_IDW_DOCKBAR_RIGHT
                                           : AFX_IDW_DOCKBAR_TOP;
}

bool IsAcross(UINT side) {
    return side != AFX_IDW_DOCKBAR_LEFT && side != AFX_IDW_DOCKBAR_RIGHT;
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

std::string SectionName(const char* prefix, const std::string& suffix) {
    return std::string(prefix) + "-" + suffix;
}

} // namespace

UINT ChooseDockSide(const RECT& area, POINT point, int reach, DWORD allowed) {
    const bool acrossInside = point.x > area.left - reach && point.x < area.right + reach;
    const bool downInside = point.y > area.top - reach && point.y < area.bottom + reach;
    struct Candidate {
        UINT side;
        int distance;
        bool alongEdge;
    };
    const Candidate candidates[] = {
        {AFX_IDW_DOCKBAR_TOP, std::abs(point.y - area.top), acrossInside},
        {AFX_IDW_DOCKBAR_BOTTOM, std::abs(point.y - area.bottom), acrossInside},
        {AFX_IDW_DOCKBAR_LEFT, std::abs(point.x - area.left), downInside},
        {AFX_IDW_DOCKBAR_RIGHT, std::abs(point.x - area.right), downInside},
    };
    UINT best = AFX_IDW_DOCKBAR_FLOAT;
    int bestDistance = reach;
    for (const Candidate& c : candidates) {
        if (c.alongEdge && (allowed & AlignmentOfSide(c.side)) && c.distance < bestDistance) {
            best = c.side;
            bestDistance = c.distance;
        }
    }
    return best;
}

CDockSite::CDockSite(CFrameWnd& frame) : frame_(frame) {}
CDockSite::~CDockSite() = default;

CDockSite::Bar* CDockSite::Find(const CWnd& window) const {
    for (const auto& bar : bars_)
        if (bar->window == &window)
            return bar.get();
    return nullptr;
}

void CDockSite::AddBar(CWnd& window) {
    auto bar = std::make_unique<Bar>();
    bar->window = &window;
    bar->dockable = dynamic_cast<CControlBar*>(&window);
    CControlBar* dockable = bar->dockable;
    if (dockable != nullptr) {
        bar->dockedSide = SideOfStyle(dockable->GetBarStyle());
        dockable->m_pDockSite = this;
    }
    const UINT side = bar->dockedSide;
    bars_.push_back(std::move(bar));
    // Until now the bar lay across, as a bar outside a frame does.
    if (dockable != nullptr && dockable->m_hWnd != nullptr)
        Arrange(*dockable, IsAcross(side));
}

CWnd* CDockSite::FindBar(UINT id) const {
    for (const auto& bar : bars_)
        if (static_cast<UINT>(GetDlgCtrlID(bar->window->m_hWnd)) == id)
            return bar->window;
    return nullptr;
}

std::vector<CWnd*> CDockSite::Bars() const {
    std::vector<CWnd*> windows;
    for (const auto& bar : bars_)
        windows.push_back(bar->window);
    return windows;
}

void CDockSite::EnableDocking(DWORD sides) {
    dockingSides_ = sides & CBRS_ALIGN_ANY;
}

UINT CDockSite::SideOf(const CControlBar& window) const {
    const Bar* bar = Find(window);
    return bar != nullptr ? bar->Side() : AFX_IDW_DOCKBAR_TOP;
}

CMiniDockFrameWnd* CDockSite::FloatingFrameOf(const CControlBar& window) const {
    const Bar* bar = Find(window);
    return bar != nullptr ? bar->floatingFrame.get() : nullptr;
}

void CDockSite::Arrange(CControlBar& bar, bool horizontal) {
    bar.SetOrientation(horizontal);
    // The gripper turns with the bar, or goes while it floats: the border is
    // measured again.
    SetWindowPos(bar.m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CDockSite::Dock(CControlBar& window, UINT side) {
    Bar* bar = Find(window);
    if (bar == nullptr || window.m_hWnd == nullptr)
        return;
    if (side == 0)
        side = bar->dockedSide;
    if (!(AlignmentOfSide(side) & dockingSides_ & window.GetDockStyle()))
        return;
    const bool wasFloating = bar->floating;
    bar->dockedSide = side;
    bar->floating = false;
    if (wasFloating) {
        ::SetParent(window.m_hWnd, frame_.m_hWnd);
        if (bar->floatingFrame)
            bar->floatingFrame->ShowWindow(SW_HIDE);
    }
    Arrange(window, IsAcross(side));
    frame_.RecalcLayout();
}

void CDockSite::Float(CControlBar& window, POINT topLeft) {
    Bar* bar = Find(window);
    if (bar == nullptr || window.m_hWnd == nullptr)
        return;
    if (!bar->floatingFrame) {
        auto created = std::make_unique<CMiniDockFrameWnd>();
        if (!created->Create(frame_, window, *this))
            return;
        bar->floatingFrame = std::move(created);
    }
    bar->floating = true;
    bar->floatPosition = OnScreen(topLeft);
    CMiniDockFrameWnd& floating = *bar->floatingFrame;
    ::SetParent(window.m_hWnd, floating.m_hWnd);
    Arrange(window, true);
    floating.FitToBar();
    SetWindowPos(floating.m_hWnd, nullptr, bar->floatPosition.x, bar->floatPosition.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    floating.EnableWindow(frame_.IsWindowEnabled());
    floating.ShowWindow(IsSwitchedOn(window) && frame_.IsWindowVisible() ? SW_SHOWNA : SW_HIDE);
    frame_.RecalcLayout();
}

RECT CDockSite::DockArea() const {
    RECT area = {};
    frame_.GetClientRect(&area);
    for (const auto& bar : bars_) {
        if (dynamic_cast<CStatusBar*>(bar->window) == nullptr || !IsSwitchedOn(*bar->window))
            continue;
        RECT rect = {};
        bar->window->GetWindowRect(&rect);
        area.bottom -= rect.bottom - rect.top;
    }
    return area;
}

RECT CDockSite::DropRect(const CControlBar& bar, POINT point, UINT* side) const {
    RECT area = DockArea();
    MapWindowPoints(frame_.m_hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const SIZE size = bar.CalcFixedLayout();
    const int thickness = bar.IsHorizontal() ? size.cy : size.cx;
    const int length = bar.IsHorizontal() ? size.cx : size.cy;
    const int reach = thickness > ScaleForDpi(24) ? thickness : ScaleForDpi(24);
    *side = ChooseDockSide(area, point, reach, dockingSides_ & bar.GetDockStyle());
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
        // Floating, the bar hangs a little up and left of the mouse.
        POINT topLeft = {point.x - ScaleForDpi(12), point.y - ScaleForDpi(8)};
        return RECT{topLeft.x, topLeft.y, topLeft.x + length, topLeft.y + thickness};
    }
    }
}

void CDockSite::Drop(CControlBar& bar, POINT point) {
    UINT side = 0;
    const RECT target = DropRect(bar, point, &side);
    if (side == AFX_IDW_DOCKBAR_FLOAT)
        Float(bar, {target.left, target.top - GetSystemMetrics(SM_CYSMCAPTION)});
    else
        Dock(bar, side);
    // The moved view's controls keep stale bits otherwise (Wine copies the
    // moved area), and the drag outline may have left traces.
    RedrawWindow(frame_.m_hWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool CDockSite::IsSwitchedOn(const CWnd& bar) {
    return (GetWindowLongA(bar.m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CDockSite::Show(CWnd& window, bool show) {
    window.ShowWindow(show ? SW_SHOW : SW_HIDE);
    Bar* bar = Find(window);
    if (bar != nullptr && bar->floating && bar->floatingFrame)
        bar->floatingFrame->ShowWindow(show && frame_.IsWindowVisible() ? SW_SHOWNA : SW_HIDE);
    frame_.RecalcLayout();
}

void CDockSite::FollowFrameEnabled(bool enabled) {
    for (const auto& bar : bars_)
        if (bar->floatingFrame)
            bar->floatingFrame->EnableWindow(enabled);
}

void CDockSite::FollowFrameShown(bool shown) {
    for (const auto& bar : bars_)
        if (bar->floating && bar->floatingFrame)
            bar->floatingFrame->ShowWindow(shown && IsSwitchedOn(*bar->window) ? SW_SHOWNA
                                                                               : SW_HIDE);
}

RECT CDockSite::LayOutBars() {
    for (const auto& bar : bars_) {
        auto* statusBar = dynamic_cast<CStatusBar*>(bar->window);
        if (statusBar != nullptr && IsSwitchedOn(*statusBar)) {
            statusBar->SendMessage(WM_SIZE); // it aligns itself along the bottom
            statusBar->UpdateParts();
        }
    }
    RECT area = DockArea();
    for (UINT side : kSides) {
        for (const auto& bar : bars_) {
            if (bar->dockable == nullptr || bar->Side() != side || !IsSwitchedOn(*bar->window))
                continue;
            const SIZE size = bar->dockable->CalcFixedLayout();
            const int width = area.right - area.left;
            const int height = area.bottom - area.top;
            switch (side) {
            case AFX_IDW_DOCKBAR_TOP:
                bar->window->MoveWindow(area.left, area.top, width, size.cy);
                area.top += size.cy;
                break;
            case AFX_IDW_DOCKBAR_BOTTOM:
                bar->window->MoveWindow(area.left, area.bottom - size.cy, width, size.cy);
                area.bottom -= size.cy;
                break;
            case AFX_IDW_DOCKBAR_LEFT:
                bar->window->MoveWindow(area.left, area.top, size.cx, height);
                area.left += size.cx;
                break;
            default:
                bar->window->MoveWindow(area.right - size.cx, area.top, size.cx, height);
                area.right -= size.cx;
                break;
            }
        }
    }
    return area;
}

void CDockSite::BeginDrag(CControlBar& bar, POINT screenPoint) {
    if (drag_.bar != nullptr || Find(bar) == nullptr)
        return;
    drag_ = Drag{};
    drag_.bar = &bar;
    SetCapture(bar.m_hWnd);
    DragTo(screenPoint);
}

void CDockSite::DragTo(POINT screenPoint) {
    if (drag_.bar == nullptr)
        return;
    UINT side = 0;
    const RECT target = DropRect(*drag_.bar, screenPoint, &side);
    if (drag_.outlineShown && EqualRect(&target, &drag_.outline))
        return;
    if (drag_.outlineShown)
        DrawDragOutline(); // drawn inverted: a second time takes it away
    drag_.outline = target;
    DrawDragOutline();
    drag_.outlineShown = true;
}

void CDockSite::EndDrag(POINT screenPoint) {
    CControlBar* bar = drag_.bar;
    CancelDrag();
    if (bar != nullptr)
        Drop(*bar, screenPoint);
}

void CDockSite::CancelDrag() {
    if (drag_.bar == nullptr)
        return;
    const HWND captor = drag_.bar->m_hWnd;
    if (drag_.outlineShown)
        DrawDragOutline();
    // Cleared before the capture goes: the bar hears of that at once and must
    // not take it for a drag cut short.
    drag_ = Drag{};
    if (GetCapture() == captor)
        ReleaseCapture();
}

void CDockSite::DrawDragOutline() const {
    HWND desktop = GetDesktopWindow();
    WindowDC dc(desktop, GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE));
    if (dc == nullptr)
        return;
    RECT inner = drag_.outline;
    const int thickness = ScaleForDpi(3);
    for (int i = 0; i < thickness; ++i) {
        DrawFocusRect(dc, &inner);
        InflateRect(&inner, -1, -1);
    }
}

void CDockSite::Save(CProfile& profile, const char* prefix) const {
    profile.WriteProfileInt(SectionName(prefix, "Summary").c_str(), "Bars",
                            static_cast<int>(bars_.size()));
    for (size_t i = 0; i < bars_.size(); ++i) {
        const Bar& bar = *bars_[i];
        const std::string section = SectionName(prefix, "Bar" + std::to_string(i));
        profile.WriteProfileInt(section.c_str(), "BarID", GetDlgCtrlID(bar.window->m_hWnd));
        profile.WriteProfileInt(section.c_str(), "Visible", IsSwitchedOn(*bar.window) ? 1 : 0);
        if (bar.dockable == nullptr)
            continue;
        profile.WriteProfileInt(section.c_str(), "DockSide", SideIndex(bar.dockedSide));
        profile.WriteProfileInt(section.c_str(), "Floating", bar.floating ? 1 : 0);
        profile.WriteProfileInt(section.c_str(), "FloatX", bar.floatPosition.x);
        profile.WriteProfileInt(section.c_str(), "FloatY", bar.floatPosition.y);
    }
}

void CDockSite::Load(const CProfile& profile, const char* prefix) {
    const int count = profile.GetProfileInt(SectionName(prefix, "Summary").c_str(), "Bars", 0);
    for (int i = 0; i < count; ++i) {
        const std::string section = SectionName(prefix, "Bar" + std::to_string(i));
        CWnd* window =
            FindBar(static_cast<UINT>(profile.GetProfileInt(section.c_str(), "BarID", 0)));
        if (window == nullptr)
            continue;
        const int visible = profile.GetProfileInt(section.c_str(), "Visible", 1);
        window->ShowWindow(visible ? SW_SHOW : SW_HIDE);
        auto* bar = dynamic_cast<CControlBar*>(window);
        if (bar == nullptr)
            continue;
        const int sideIndex = profile.GetProfileInt(section.c_str(), "DockSide", -1);
        if (sideIndex >= 0 && sideIndex < 4)
            Dock(*bar, kSides[sideIndex]); // also the side a floating bar returns to
        if (profile.GetProfileInt(section.c_str(), "Floating", 0) == 1)
            Float(*bar, {profile.GetProfileInt(section.c_str(), "FloatX", 0),
                         profile.GetProfileInt(section.c_str(), "FloatY", 0)});
    }
    frame_.RecalcLayout();
}
