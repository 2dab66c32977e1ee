#pragma once
// How the frame's bars dock. The frame owns one dock site, and the site alone
// decides where each bar is: docked on a side of the frame's client area (the
// area less the status bar), or floating in a small tool window of its own. It
// keeps, per bar, the side it is on, the side a floating bar returns to and where
// it floats; docks, floats and drops bars; shows and hides them, floating ones
// with the frame; lays the docked bars out; and stores all of it in the settings.
//
// The bars themselves only draw their gripper and report a drag to the site
// (start, moves, end); the floating tool window only hosts its bar and reports
// what is done to its caption (a drag, a double-click, the close button).
#include <windows.h>

#include <memory>
#include <vector>

class CControlBar;
class CFrameWnd;
class CMiniDockFrameWnd;
class CProfile;
class CWnd;

// The sides a bar docks on, by the identifiers of MFC's dock bars.
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81E;
constexpr UINT AFX_IDW_DOCKBAR_FLOAT = 0xE81F;

// Where a bar dropped at a point goes: the side of `area` (screen coordinates)
// whose edge lies nearest the point, when that edge is closer than `reach` and
// the side is among `allowed` (CBRS_ALIGN_*); the point must also lie within
// `reach` of the area along the edge. Otherwise the bar floats:
// AFX_IDW_DOCKBAR_FLOAT.
UINT ChooseDockSide(const RECT& area, POINT point, int reach, DWORD allowed);

class CDockSite {
public:
    explicit CDockSite(CFrameWnd& frame);
    ~CDockSite();
    CDockSite(const CDockSite&) = delete;
    CDockSite& operator=(const CDockSite&) = delete;

    // Takes a bar into the frame's layout, in the order the bars are stored. A
    // control bar starts on the side its CBRS_ALIGN_* style names (bottom before
    // left before right, else top); any other bar (the status bar) aligns itself.
    void AddBar(CWnd& bar);
    // The bar with that child identifier, or nullptr.
    CWnd* FindBar(UINT id) const;
    std::vector<CWnd*> Bars() const;

    // Which sides of the frame take docked bars (CBRS_ALIGN_*).
    void EnableDocking(DWORD sides);
    // Docks a bar on a side; 0 is the side it last had. A side the frame or the
    // bar does not allow leaves it where it is.
    void Dock(CControlBar& bar, UINT side);
    // Floats a bar in its tool window with that top left corner (screen), moved
    // back where needed so that the window's top left 48 by 24 pixels (at 96 dpi)
    // lie inside the rectangle of all screens.
    void Float(CControlBar& bar, POINT topLeft);
    // The end of a drag at a screen point: docks on the nearest allowed edge
    // within reach, else floats there.
    void Drop(CControlBar& bar, POINT point);

    // AFX_IDW_DOCKBAR_TOP to _RIGHT, or AFX_IDW_DOCKBAR_FLOAT. A bar the site
    // does not hold lies across the top.
    UINT SideOf(const CControlBar& bar) const;
    // The tool window of a bar that has floated, nullptr before that.
    CMiniDockFrameWnd* FloatingFrameOf(const CControlBar& bar) const;

    // Whether the bar is switched on: its own visible flag, not whether it can be
    // seen (in a frame not shown yet, as in an unattended run, none can).
    static bool IsSwitchedOn(const CWnd& bar);
    // Switches a bar on or off, its tool window with it while it floats.
    void Show(CWnd& bar, bool show);
    // A floating bar's tool window is enabled and disabled with the frame (no
    // commands while a long operation or a modal dialog holds the frame), and
    // shown and hidden with it while the bar is switched on.
    void FollowFrameEnabled(bool enabled);
    void FollowFrameShown(bool shown);

    // Places the status bar and the docked bars (top, bottom, left, right, each
    // side's bars in the order they were added) and returns the part of the
    // frame's client area they leave for the view.
    RECT LayOutBars();

    // Starts, moves and ends the drag of a bar by its gripper or its tool
    // window's caption. The bar holds the mouse capture meanwhile; the place it
    // would take is shown as an outline on the screen.
    void BeginDrag(CControlBar& bar, POINT screenPoint);
    bool IsDragging(const CControlBar& bar) const { return drag_.bar == &bar; }
    void DragTo(POINT screenPoint);
    void EndDrag(POINT screenPoint);
    void CancelDrag();

    // The bars' state under "<prefix>-Summary" (Bars: the count) and
    // "<prefix>-Bar<n>" per bar: BarID, Visible and, for a control bar,
    // DockSide (0 top, 1 bottom, 2 left, 3 right; for a floating bar the side it
    // returns to), Floating (0 or 1), FloatX and FloatY (screen).
    void Save(CProfile& profile, const char* prefix) const;
    // Applies a stored state to the bars found by their identifiers; bars not
    // named there stay as they are.
    void Load(const CProfile& profile, const char* prefix);

private:
    struct Bar;
    Bar* Find(const CWnd& window) const;
    // The frame's client area less the status bar: what docked bars and the
    // view share.
    RECT DockArea() const;
    // The rectangle the bar would take if dropped at the point, and the side.
    RECT DropRect(const CControlBar& bar, POINT point, UINT* side) const;
    // The bar's contents and border follow its side.
    static void Arrange(CControlBar& bar, bool horizontal);
    void DrawDragOutline() const;

    CFrameWnd& frame_;
    DWORD dockingSides_ = 0;
    std::vector<std::unique_ptr<Bar>> bars_;

    struct Drag {
        CControlBar* bar = nullptr;
        RECT outline = {};
        bool outlineShown = false;
    };
    Drag drag_;
};
