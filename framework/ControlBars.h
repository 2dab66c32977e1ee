#pragma once
// The frame's bars: the dockable toolbar and the status bar.
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/DockSite.h"
#include "framework/ToolBarImages.h"

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_STRETCH = 0x08000000; // takes all width the other panes leave
constexpr UINT ID_SEPARATOR = 0;

// Bar styles, given with the window style when a bar is created and kept apart
// from it (the values MFC programs use).
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0400;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// A bar that the frame's dock site (DockSite.h) lays out along one of the
// frame's sides or shows in a small floating window of its own. The bar draws
// its gripper; a press there starts a drag, which the bar reports to the dock
// site until the mouse button is released.
class CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    // The sides (CBRS_ALIGN_*) this bar may dock on. With none it docks nowhere
    // and a drag leaves it floating.
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }

    // Where the dock site has the bar: AFX_IDW_DOCKBAR_TOP to _RIGHT, or
    // AFX_IDW_DOCKBAR_FLOAT. A bar not yet in a frame lies across the top.
    UINT GetDockSide() const;
    bool IsFloating() const { return GetDockSide() == AFX_IDW_DOCKBAR_FLOAT; }
    bool IsHorizontal() const;
    // The tool window the bar floats in, nullptr before it first floated.
    CMiniDockFrameWnd* GetDockingFrame() const;

    // The bar's outer size in its current orientation, without stretching.
    SIZE CalcFixedLayout() const;
    // Lays the contents out across or down; the bar then reports its new size.
    virtual void SetOrientation(bool) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The bar's own size of its contents (client area).
    virtual SIZE ContentSize() const { return SIZE{0, 0}; }

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;

private:
    RECT Insets() const;      // the non-client border, with the gripper
    RECT GripperRect() const; // in window coordinates
    void DrawGripper();
    bool IsDragged() const;

    CDockSite* m_pDockSite = nullptr; // set when the frame takes the bar
    friend class CDockSite;
};

class CToolBar : public CControlBar {
public:
    // style: window style and bar style (CBRS_*) together.
    BOOL CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id);
    // Buttons from a toolbar resource (button size and command identifiers, 0
    // for a separator) and its bitmap of the same identifier, the bitmap's
    // background made transparent and a grey copy for disabled buttons.
    BOOL LoadToolBar(UINT resourceId);
    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    UINT GetItemID(int index) const;

    void SetOrientation(bool horizontal) override;

protected:
    SIZE ContentSize() const override;

private:
    ToolBarImages images_;
};

class CStatusBar : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    // One pane per identifier: ID_SEPARATOR gives an empty pane, any other
    // identifier a pane showing that string resource, as wide as the text.
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetPaneText(int index, const char* text, BOOL update = TRUE);
    std::string GetPaneText(int index) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    int GetPaneCount() const { return static_cast<int>(panes_.size()); }
    // Width in pixels of a text in the status bar's font.
    int TextWidth(const std::string& text) const;
    // Lays the panes out over the current width.
    void UpdateParts();

protected:
    DECLARE_MESSAGE_MAP()
    void OnSize(UINT type, int cx, int cy);

private:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        std::string text;
    };
    std::vector<Pane> panes_;
};
