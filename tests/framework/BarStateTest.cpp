// The frame's bars as the settings and the frame itself see them: a state an
// earlier run stored is read as it was meant and written back in the very same
// keys, and a floating bar's tool window goes with the frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "../job/ScratchProfile.h"
#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/MiniDockFrame.h"

namespace {

constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr char kPrefix[] = "Bars";

// A frame with a toolbar and a status bar, set up as the program sets up its own.
class FrameWithBars {
public:
    FrameWithBars() {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        frame.LoadFrame(1);
        frame.MoveWindow(60, 50, 480, 360);
        toolBar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER,
                         kToolBarId);
        toolBar.SetWindowText("bar");
        statusBar.Create(&frame, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, kStatusBarId);
        frame.AddControlBar(&toolBar);
        frame.AddControlBar(&statusBar);
        toolBar.EnableDocking(CBRS_ALIGN_ANY);
        frame.EnableDocking(CBRS_ALIGN_ANY);
        frame.DockControlBar(&toolBar, AFX_IDW_DOCKBAR_TOP);
    }
    HWND ToolWindow() const {
        return toolBar.GetDockingFrame() != nullptr ? toolBar.GetDockingFrame()->m_hWnd : nullptr;
    }

    CFrameWnd frame;
    CToolBar toolBar;
    CStatusBar statusBar;
};

// One bar's values under "Bars-Bar<n>", as the program has always written them.
struct StoredBar {
    int visible, dockSide, floating, floatX, floatY;
};

void Store(CProfile& profile, const StoredBar& tool, int statusVisible) {
    profile.WriteProfileInt("Bars-Summary", "Bars", 2);
    profile.WriteProfileInt("Bars-Bar0", "BarID", kToolBarId);
    profile.WriteProfileInt("Bars-Bar0", "Visible", tool.visible);
    profile.WriteProfileInt("Bars-Bar0", "DockSide", tool.dockSide);
    profile.WriteProfileInt("Bars-Bar0", "Floating", tool.floating);
    profile.WriteProfileInt("Bars-Bar0", "FloatX", tool.floatX);
    profile.WriteProfileInt("Bars-Bar0", "FloatY", tool.floatY);
    profile.WriteProfileInt("Bars-Bar1", "BarID", kStatusBarId);
    profile.WriteProfileInt("Bars-Bar1", "Visible", statusVisible);
}

int Read(const CProfile& profile, const char* section, const char* entry) {
    return profile.GetProfileInt(section, entry, -12345);
}

POINT TopLeftOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

} // namespace

TEST(BarState, StoredStateIsReadAsMeantAndWrittenBackInTheSameKeys) {
    // Where an off-screen window is pulled back to: its top left 48 by 24
    // pixels (at 96 dpi) inside the rectangle of all screens.
    const int farRight = GetSystemMetrics(SM_XVIRTUALSCREEN) +
                         GetSystemMetrics(SM_CXVIRTUALSCREEN) - ScaleForDpi(48);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const struct {
        const char* what;
        StoredBar stored;
        int statusVisible;
        UINT dockedSide;  // what the stored DockSide means: where the bar is or goes back to
        POINT floatingAt; // where the tool window is, and what is stored again
    } rows[] = {
        {"docked on the left", {1, 2, 0, 0, 0}, 1, AFX_IDW_DOCKBAR_LEFT, {}},
        {"switched off at the bottom", {0, 1, 0, 0, 0}, 0, AFX_IDW_DOCKBAR_BOTTOM, {}},
        {"docked on the right", {1, 3, 0, 0, 0}, 1, AFX_IDW_DOCKBAR_RIGHT, {}},
        {"floating, going back to the right",
         {1, 3, 1, 200, 150},
         1,
         AFX_IDW_DOCKBAR_RIGHT,
         {200, 150}},
        {"floating switched off, going back to the bottom",
         {0, 1, 1, 210, 160},
         0,
         AFX_IDW_DOCKBAR_BOTTOM,
         {210, 160}},
        {"floating off the screen, going back to the top",
         {1, 0, 1, 100000, -100000},
         1,
         AFX_IDW_DOCKBAR_TOP,
         {farRight, top}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ScratchProfile profile;
        Store(profile.Get(), row.stored, row.statusVisible);
        FrameWithBars bars;
        bars.frame.GetDockSite().Load(profile.Get(), kPrefix); // before the frame shows
        bars.frame.ShowWindow(SW_SHOWNA);

        const bool floating = row.stored.floating != 0;
        EXPECT_EQ(floating ? AFX_IDW_DOCKBAR_FLOAT : row.dockedSide, bars.toolBar.GetDockSide());
        EXPECT_EQ(row.stored.visible != 0, bars.toolBar.IsWindowVisible() != FALSE);
        EXPECT_EQ(row.statusVisible != 0, bars.statusBar.IsWindowVisible() != FALSE);
        if (floating) {
            ASSERT_NE(nullptr, bars.ToolWindow());
            const POINT at = TopLeftOf(bars.ToolWindow());
            EXPECT_EQ(row.floatingAt.x, at.x);
            EXPECT_EQ(row.floatingAt.y, at.y);
        }

        RegDeleteTreeA(HKEY_CURRENT_USER, profile.Get().RegistryKeyPath().c_str());
        bars.frame.GetDockSite().Save(profile.Get(), kPrefix);
        const CProfile& saved = profile.Get();
        EXPECT_EQ(2, Read(saved, "Bars-Summary", "Bars"));
        EXPECT_EQ(static_cast<int>(kToolBarId), Read(saved, "Bars-Bar0", "BarID"));
        EXPECT_EQ(row.stored.visible, Read(saved, "Bars-Bar0", "Visible"));
        EXPECT_EQ(row.stored.dockSide, Read(saved, "Bars-Bar0", "DockSide"));
        EXPECT_EQ(row.stored.floating, Read(saved, "Bars-Bar0", "Floating"));
        EXPECT_EQ(row.floatingAt.x, Read(saved, "Bars-Bar0", "FloatX"));
        EXPECT_EQ(row.floatingAt.y, Read(saved, "Bars-Bar0", "FloatY"));
        EXPECT_EQ(static_cast<int>(kStatusBarId), Read(saved, "Bars-Bar1", "BarID"));
        EXPECT_EQ(row.statusVisible, Read(saved, "Bars-Bar1", "Visible"));
        EXPECT_EQ(-12345, Read(saved, "Bars-Bar1", "DockSide")); // the status bar has no side

        if (floating) {
            // A double-click on the caption docks the bar on the side it goes back to.
            SendMessageA(bars.ToolWindow(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
            EXPECT_EQ(row.dockedSide, bars.toolBar.GetDockSide());
        }
    }
}

// The frame hidden hides the floating bar's window and shown shows it again,
// unless the bar was switched off; switched on again from the View menu, it
// comes back where it floated.
TEST(BarState, FloatingToolWindowGoesWithTheFrameWhileSwitchedOn) {
    FrameWithBars bars;
    bars.frame.ShowWindow(SW_SHOWNA);
    bars.frame.FloatControlBar(&bars.toolBar, {150, 120});
    const HWND tool = bars.ToolWindow();
    ASSERT_NE(nullptr, tool);
    CFrameWnd& frame = bars.frame;
    const struct {
        const char* step;
        std::function<void()> act;
        bool shown;
    } steps[] = {
        {"frame hidden", [&] { frame.ShowWindow(SW_HIDE); }, false},
        {"frame shown", [&] { frame.ShowWindow(SW_SHOWNA); }, true},
        {"closed by its button", [&] { SendMessageA(tool, WM_CLOSE, 0, 0); }, false},
        {"frame hidden and shown again",
         [&] {
             frame.ShowWindow(SW_HIDE);
             frame.ShowWindow(SW_SHOWNA);
         },
         false},
        {"View menu", [&] { frame.SendMessage(WM_COMMAND, kToolBarId); }, true},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(step.shown, IsWindowVisible(tool) != FALSE) << step.step;
    }
    EXPECT_TRUE(bars.toolBar.IsFloating());
    const POINT at = TopLeftOf(tool);
    EXPECT_EQ(150, at.x);
    EXPECT_EQ(120, at.y);
}
