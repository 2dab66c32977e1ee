// The main window as the user meets it after a start whose settings dialog was
// cancelled: placement, bars, list, commands and the count pane.
#include <gtest/gtest.h>

#include <optional>

#include "OrvaneSession.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "engine/SyncItem.h"
#include "framework/MiniDockFrame.h"
#include "res/resource.h"

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ClearSettingsKey(); }
    void TearDown() override {
        session.reset();
        ClearSettingsKey();
    }

    // A start whose settings dialog is cancelled: the main window with an empty
    // list and no job. False when the program did not get that far.
    bool StartEmpty() {
        session.emplace("", std::vector<ModalScript::Step>{CancelSettings()});
        return session->Started() && session->StartScriptCompleted();
    }
    std::optional<OrvaneSession> session;
};

// The placement stored under "Pos", as the frame reads and writes it.
void StorePlacement(const WindowPlacement& placement) {
    WriteSettingsInt("Pos", "x", placement.x);
    WriteSettingsInt("Pos", "y", placement.y);
    WriteSettingsInt("Pos", "cx", placement.cx);
    WriteSettingsInt("Pos", "cy", placement.cy);
}
void ExpectStoredPlacement(const WindowPlacement& placement) {
    EXPECT_EQ(placement.x, ReadSettingsInt("Pos", "x", -1));
    EXPECT_EQ(placement.y, ReadSettingsInt("Pos", "y", -1));
    EXPECT_EQ(placement.cx, ReadSettingsInt("Pos", "cx", -1));
    EXPECT_EQ(placement.cy, ReadSettingsInt("Pos", "cy", -1));
}

RECT WindowRect(CWnd& wnd) {
    RECT rect = {};
    wnd.GetWindowRect(&rect);
    return rect;
}

SyncItem* NewItem(const char* name, int operation = Copy) {
    auto* item = new SyncItem;
    item->operation = operation;
    item->reason = Existence;
    item->subject.rootFolder = "C:\\p";
    item->subject.relativeFolder.assign(1, '\\');
    item->subject.name = name;
    return item;
}

TEST(Placement, StoredValuesArePulledBackOntoTheScreen) {
    const struct {
        WindowPlacement stored, expected;
    } cases[] = {
        {{5000, -50, 600, 480}, {1180, 0, 600, 480}},
        {{10, 20, -1, -5}, {10, 20, 1280, 1000}},
        {{0, 5000, 1280, 1000}, {0, 900, 1280, 1000}},
        {{1179, 899, 0, 0}, {1179, 899, 0, 0}},
    };
    for (const auto& c : cases) {
        WindowPlacement got = ClampPlacement(c.stored, 1280, 1000);
        EXPECT_EQ(c.expected.x, got.x);
        EXPECT_EQ(c.expected.y, got.y);
        EXPECT_EQ(c.expected.cx, got.cx);
        EXPECT_EQ(c.expected.cy, got.cy);
    }
}

TEST_F(MainWindow, FirstStartOpensAtTheTopLeftAndStoresItsPlacementOnClose) {
    {
        OrvaneSession session("", {CancelSettings()});
        ASSERT_TRUE(session.Started());
        ASSERT_TRUE(session.StartScriptCompleted());
        RECT rect = WindowRect(session.Frame());
        EXPECT_EQ(0, rect.left);
        EXPECT_EQ(0, rect.top);
        EXPECT_EQ(600, rect.right - rect.left);
        EXPECT_EQ(480, rect.bottom - rect.top);
        EXPECT_EQ("Orvane", session.Frame().GetWindowText());
        session.Frame().MoveWindow(30, 40, 500, 400);
        ASSERT_TRUE(session.Close());
    }
    ExpectStoredPlacement({30, 40, 500, 400});
}

TEST_F(MainWindow, StoredPlacementIsClampedAtStart) {
    StorePlacement({5000, -50, -1, 300});
    ASSERT_TRUE(StartEmpty());
    RECT rect = WindowRect(session->Frame());
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED) - 100, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), rect.right - rect.left);
    EXPECT_EQ(300, rect.bottom - rect.top);
}

TEST_F(MainWindow, ClosingMaximisedKeepsTheEarlierPlacement) {
    StorePlacement({11, 12, 513, 414});
    {
        OrvaneSession session("", {CancelSettings()});
        ASSERT_TRUE(session.Started());
        ASSERT_TRUE(session.StartScriptCompleted());
        session.Frame().ShowWindow(SW_MAXIMIZE);
        ASSERT_TRUE(IsZoomed(session.Frame().m_hWnd));
        ASSERT_TRUE(session.Close());
    }
    ExpectStoredPlacement({11, 12, 513, 414});
}

TEST_F(MainWindow, HiddenToolbarStaysHiddenAfterRestart) {
    {
        OrvaneSession session("", {CancelSettings()});
        ASSERT_TRUE(session.Started());
        ASSERT_TRUE(session.StartScriptCompleted());
        EXPECT_TRUE(session.Frame().m_wndToolBar.IsWindowVisible());
        EXPECT_TRUE(session.MenuItemChecked(ID_VIEW_TOOLBAR));
        session.Command(ID_VIEW_TOOLBAR);
        EXPECT_FALSE(session.Frame().m_wndToolBar.IsWindowVisible());
        EXPECT_FALSE(session.MenuItemChecked(ID_VIEW_TOOLBAR));
        EXPECT_TRUE(session.MenuItemChecked(ID_VIEW_STATUS_BAR));
        ASSERT_TRUE(session.Close());
    }
    OrvaneSession again("", {CancelSettings()});
    ASSERT_TRUE(again.Started());
    EXPECT_FALSE(again.Frame().m_wndToolBar.IsWindowVisible());
    EXPECT_TRUE(again.Frame().m_wndStatusBar.IsWindowVisible());
    EXPECT_FALSE(again.MenuItemChecked(ID_VIEW_TOOLBAR));
}

TEST_F(MainWindow, CancelledStartShowsAnEmptyListWithoutFolders) {
    ASSERT_TRUE(StartEmpty());
    COrvaneView& view = session->View();
    EXPECT_TRUE(view.IsWindowVisible());
    EXPECT_TRUE(view.resultList.IsWindowVisible());
    EXPECT_TRUE(view.processingLabel.IsWindowVisible());
    EXPECT_EQ("処理フォルダ：指定なし", view.processingLabel.GetWindowText());
    EXPECT_EQ("参照フォルダ：指定なし", view.referenceLabel.GetWindowText());
    EXPECT_EQ(0, view.resultList.GetItemCount());
    EXPECT_EQ(0, view.resultList.GetColumnCount());
    EXPECT_EQ("", session->App().currentJobPath);
    EXPECT_EQ(JobSettings{}, session->App().currentJob);
    EXPECT_EQ(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
              view.resultList.GetExtendedStyle() & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
    EXPECT_EQ("処理件数", session->Frame().m_wndStatusBar.GetPaneText(1));
}

TEST_F(MainWindow, ColumnsFollowTheMode) {
    ASSERT_TRUE(StartEmpty());
    COrvaneView& view = session->View();
    session->App().currentJob.mode = 2;
    view.SetupColumns();
    const char* titles[] = {"ファイル名", "処理",     "チェック内容",
                            "処理方向",   "古い時刻", "新しい時刻"};
    const int widths[] = {150, 45, 70, 50, 120, 120}; // at 96 DPI
    const char* timeText = "2005/04/07 05:21\"18";
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(6, view.resultList.GetColumnCount());
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(titles[column], view.resultList.GetColumnTitle(column));
        int width = view.resultList.GetColumnWidth(column);
        EXPECT_GE(width, MulDiv(widths[column], dpi, 96)) << column;
        // Neither the header nor a time is cut.
        EXPECT_GT(width, view.resultList.TextWidth(titles[column]) + 8) << column;
        if (column >= 4) {
            EXPECT_GT(width, view.resultList.TextWidth(timeText) + 8) << column;
        }
    }
    session->App().currentJob.mode = 3;
    view.SetupColumns();
    EXPECT_EQ(0, view.resultList.GetColumnCount());
}

TEST(ResultColumns, BaseWidthsScaleWithTheDpiAndWidenToFitTheirText) {
    const struct {
        int base, dpi, text, expected;
    } cases[] = {
        {70, 96, 40, 70},   {70, 96, 60, 76},   {70, 144, 40, 105},
        {70, 144, 90, 114}, {120, 144, 0, 180}, {45, 120, 50, 70},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ResultColumnWidth(c.base, c.dpi, c.text))
            << c.base << " at " << c.dpi << " for " << c.text;
}

// The list takes the keyboard after the start and after every dialog and
// operation, so Tab and the arrow keys work without a click.
TEST_F(MainWindow, TheListHasTheFocusAfterStartDialogsAndSearches) {
    TempDir dir;
    MakeFolder(dir / "p");
    MakeFolder(dir / "r");
    WriteFileBytes(dir / "p\\a.txt", "a");
    ASSERT_TRUE(StartEmpty());
    HWND list = session->View().resultList.m_hWnd;
    EXPECT_EQ(list, GetFocus()) << "after the start";
    EXPECT_EQ(session->Frame().m_hWnd, GetActiveWindow());

    ASSERT_TRUE(session->CommandWithScript(ID_OPTIONS, {CancelSettings()}));
    EXPECT_EQ(list, GetFocus()) << "after a cancelled options dialog";
    EXPECT_EQ(session->Frame().m_hWnd, GetActiveWindow());
    EXPECT_TRUE(session->Frame().IsWindowEnabled());

    ASSERT_TRUE(session->CommandWithScript(ID_OPTIONS, {ConfirmSettings(dir / "p", dir / "r")}));
    EXPECT_EQ(1, session->View().RowCount());
    EXPECT_EQ(list, GetFocus()) << "after a search";
    EXPECT_EQ(session->Frame().m_hWnd, GetActiveWindow());

    session->Command(ID_SEARCH_AGAIN);
    EXPECT_EQ(list, GetFocus()) << "after searching again";
    ASSERT_TRUE(session->Close());
}

TEST_F(MainWindow, ListCommandsFollowTheRowCount) {
    ASSERT_TRUE(StartEmpty());
    const UINT listCommands[] = {ID_EXECUTE_SYNC, ID_EXPORT_BATCH, ID_REMOVE_ROWS, ID_SELECT_ALL};
    for (UINT id : listCommands)
        EXPECT_FALSE(session->MenuItemEnabled(id)) << id;
    EXPECT_FALSE(session->ToolbarButtonEnabled(ID_EXECUTE_SYNC));
    EXPECT_FALSE(session->ToolbarButtonEnabled(ID_REMOVE_ROWS));
    EXPECT_TRUE(session->MenuItemEnabled(ID_SEARCH_AGAIN));
    EXPECT_FALSE(session->MenuItemEnabled(ID_NEXT_PANE)) << "no handler, so disabled";

    session->App().currentJob.mode = 0;
    session->View().SetupColumns();
    session->View().InsertRow(NewItem("a.txt"), 0);
    for (UINT id : listCommands)
        EXPECT_TRUE(session->MenuItemEnabled(id)) << id;
    EXPECT_TRUE(session->ToolbarButtonEnabled(ID_EXPORT_BATCH));
}

TEST_F(MainWindow, RemovingSelectedRowsKeepsOrderAndCountsTheRest) {
    ASSERT_TRUE(StartEmpty());
    COrvaneView& view = session->View();
    session->App().currentJob.mode = 0;
    view.SetupColumns();
    const char* names[] = {"1", "2", "3", "4", "5", "6"};
    for (int i = 0; i < 6; ++i)
        view.InsertRow(NewItem(names[i]), i);
    view.resultList.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    view.resultList.SetItemState(4, LVIS_SELECTED, LVIS_SELECTED);
    session->Command(ID_REMOVE_ROWS);

    ASSERT_EQ(4, view.resultList.GetItemCount());
    const char* remaining[] = {"\\1", "\\3", "\\4", "\\6"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(remaining[i], view.resultList.GetItemText(i, 0));
    CStatusBar& bar = session->Frame().m_wndStatusBar;
    EXPECT_EQ("処理件数:4", bar.GetPaneText(1));
    EXPECT_EQ("参→処: コピー 4 件（0 バイト）", view.summaryLabel.GetWindowText())
        << "the summary follows the removal";
    UINT id = 0, style = 0;
    int width = 0;
    bar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(ID_INDICATOR_COUNT, id);
    EXPECT_EQ(bar.TextWidth("処理件数:4"), width);
    EXPECT_GT(width, 0);

    // Nothing selected: no row goes, the count is written again.
    session->Command(ID_REMOVE_ROWS);
    EXPECT_EQ(4, view.resultList.GetItemCount());
    EXPECT_EQ("処理件数:4", bar.GetPaneText(1));

    session->Command(ID_SELECT_ALL);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(view.resultList.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED);
    session->Command(ID_REMOVE_ROWS);
    EXPECT_EQ(0, view.resultList.GetItemCount());
    EXPECT_EQ("処理件数:0", bar.GetPaneText(1));
}

// The list holds no rows of its own: sorting, inserting in the middle and the
// list's type-ahead all work on the view's rows and show through the list.
TEST_F(MainWindow, TheListShowsTheViewsRowsAsTheyAreSortedInsertedAndSearched) {
    ASSERT_TRUE(StartEmpty());
    COrvaneView& view = session->View();
    session->App().currentJob.mode = 0;
    view.SetupColumns();
    view.InsertRow(NewItem("b"), 0);
    view.InsertRow(NewItem("x", Delete), 1);
    view.InsertRow(NewItem("a"), 2);
    view.InsertRow(NewItem("y", Delete), 3);
    view.resultList.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    view.SortRows();
    auto names = [&view] {
        std::vector<std::string> texts;
        for (int i = 0; i < view.resultList.GetItemCount(); ++i)
            texts.push_back(view.resultList.GetItemText(i, 0));
        return texts;
    };
    EXPECT_EQ((std::vector<std::string>{"\\y", "\\x", "\\a", "\\b"}), names());
    EXPECT_EQ(-1, view.resultList.GetNextSelected(-1)) << "no mark stays on a moved row";

    view.resultList.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(1, view.InsertRow(NewItem("m"), 1));
    EXPECT_EQ((std::vector<std::string>{"\\y", "\\m", "\\x", "\\a", "\\b"}), names());
    EXPECT_EQ(-1, view.resultList.GetNextSelected(-1));
    EXPECT_EQ(5, view.InsertRow(NewItem("z"), 99)) << "out of range appends";

    ::SetFocus(view.resultList.m_hWnd);
    for (char typed : std::string("\\A"))
        view.resultList.SendMessage(WM_CHAR, static_cast<WPARAM>(typed), 1);
    EXPECT_EQ(3, view.resultList.GetNextSelected(-1)) << "typed text, in another case";
}

TEST_F(MainWindow, EveryWayOfDeletingRowsFreesTheirItems) {
    const int before = SyncItem::LiveCount();
    {
        OrvaneSession session("", {CancelSettings()});
        ASSERT_TRUE(session.Started());
        COrvaneView& view = session.View();
        for (int i = 0; i < 6; ++i)
            view.InsertRow(NewItem("x"), i);
        EXPECT_EQ(before + 6, SyncItem::LiveCount());
        view.resultList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
        view.resultList.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
        view.RemoveSelectedRows();
        EXPECT_EQ(before + 4, SyncItem::LiveCount());
        TempDir dir; // two empty folders: the new search finds nothing
        MakeFolder(dir / "p");
        MakeFolder(dir / "r");
        session.App().currentJob.processingFolder = dir / "p";
        session.App().currentJob.referenceFolder = dir / "r";
        session.Command(ID_SEARCH_AGAIN); // a new search clears the list first
        EXPECT_EQ(0, view.resultList.GetItemCount());
        EXPECT_EQ(before, SyncItem::LiveCount());
        for (int i = 0; i < 3; ++i)
            view.InsertRow(NewItem("y"), i);
        ASSERT_TRUE(session.Close()); // the window takes its rows with it
    }
    EXPECT_EQ(before, SyncItem::LiveCount());
}

TEST_F(MainWindow, PromptsAndTooltipsComeFromTheStringTable) {
    OrvaneSession session("", {CancelSettings()});
    ASSERT_TRUE(session.Started());
    CMainFrame& frame = session.Frame();
    HMENU edit = GetSubMenu(GetMenu(frame.m_hWnd), 1);
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_SEARCH_AGAIN, MF_STRING),
                      reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ("今の条件で再検索を行う", frame.m_wndStatusBar.GetPaneText(0));

    NMTTDISPINFOA tip = {};
    tip.hdr.hwndFrom = frame.m_wndToolBar.m_hWnd;
    tip.hdr.idFrom = ID_FILE_OPEN;
    tip.hdr.code = TTN_GETDISPINFOA;
    frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(nullptr, tip.lpszText);
    EXPECT_STREQ("開く", tip.lpszText);
}

// A key typed into the list with Ctrl held, as the message loop offers it.
bool TypeShortcut(OrvaneSession& session, WPARAM key, bool control) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg = {session.View().resultList.m_hWnd, WM_KEYDOWN, key, 1, 0, {0, 0}};
    bool translated = session.App().PreTranslateMessage(&msg) != FALSE;
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    return translated;
}

TEST_F(MainWindow, ShortcutsWorkOnlyWhileTheWindowTakesInput) {
    OrvaneSession session("", {CancelSettings()});
    ASSERT_TRUE(session.Started());
    COrvaneView& view = session.View();
    for (int i = 0; i < 3; ++i)
        view.InsertRow(NewItem("r"), i);

    // During a long operation the frame is disabled: Ctrl+A does nothing.
    session.Frame().EnableWindow(FALSE);
    EXPECT_FALSE(TypeShortcut(session, 'A', true));
    EXPECT_FALSE(view.resultList.GetItemState(0, LVIS_SELECTED));
    session.Frame().EnableWindow(TRUE);

    EXPECT_TRUE(TypeShortcut(session, 'A', true));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(view.resultList.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED);
    EXPECT_TRUE(TypeShortcut(session, VK_DELETE, false));
    EXPECT_EQ(0, view.resultList.GetItemCount());
}

TEST_F(MainWindow, EscapeClosesTheProgram) {
    ASSERT_TRUE(StartEmpty());
    HWND list = session->View().resultList.m_hWnd;
    PressKey(list, VK_ESCAPE);
    EXPECT_TRUE(session->RunUntilExit(10000));
    EXPECT_FALSE(IsWindow(list));
}

// A rectangle of a window in the frame's client coordinates.
RECT RectInFrame(HWND window, HWND frame) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The client area less the status bar: what the toolbar and the view share.
RECT DockArea(CMainFrame& frame) {
    RECT area = {};
    frame.GetClientRect(&area);
    area.bottom = RectInFrame(frame.m_wndStatusBar.m_hWnd, frame.m_hWnd).top;
    return area;
}

// The toolbar spans the whole edge of its side and the view takes the rest;
// floating, the view takes it all.
void ExpectLayout(CMainFrame& frame, UINT side) {
    const RECT area = DockArea(frame);
    const RECT view = RectInFrame(frame.GetActiveView()->m_hWnd, frame.m_hWnd);
    RECT expected = area;
    if (side != AFX_IDW_DOCKBAR_FLOAT) {
        const RECT bar = RectInFrame(frame.m_wndToolBar.m_hWnd, frame.m_hWnd);
        const bool across = side == AFX_IDW_DOCKBAR_TOP || side == AFX_IDW_DOCKBAR_BOTTOM;
        EXPECT_EQ(across ? area.left : area.top, across ? bar.left : bar.top) << side;
        EXPECT_EQ(across ? area.right : area.bottom, across ? bar.right : bar.bottom) << side;
        EXPECT_GT(across ? bar.bottom - bar.top : bar.right - bar.left, 10) << side;
        switch (side) {
        case AFX_IDW_DOCKBAR_TOP:
            EXPECT_EQ(area.top, bar.top);
            expected.top = bar.bottom;
            break;
        case AFX_IDW_DOCKBAR_BOTTOM:
            EXPECT_EQ(area.bottom, bar.bottom);
            expected.bottom = bar.top;
            break;
        case AFX_IDW_DOCKBAR_LEFT:
            EXPECT_EQ(area.left, bar.left);
            expected.left = bar.right;
            break;
        default:
            EXPECT_EQ(area.right, bar.right);
            expected.right = bar.left;
            break;
        }
    } else {
        EXPECT_EQ(frame.m_wndToolBar.GetDockingFrame()->m_hWnd, frame.m_wndToolBar.GetParent());
    }
    EXPECT_TRUE(EqualRect(&expected, &view)) << side << ": view " << view.left << "," << view.top
                                             << "," << view.right << "," << view.bottom;
}

// Real mouse input: press on the gripper (the left end of a bar across the
// frame, the top end of one down its side), move to the point, release.
void DragByGripper(CToolBar& bar, POINT to) {
    RECT rect = {};
    bar.GetWindowRect(&rect);
    HDC screen = GetDC(nullptr);
    const int inset = MulDiv(5, GetDeviceCaps(screen, LOGPIXELSX), 96);
    ReleaseDC(nullptr, screen);
    const POINT grip = bar.IsHorizontal() ? POINT{rect.left + inset, (rect.top + rect.bottom) / 2}
                                          : POINT{(rect.left + rect.right) / 2, rect.top + inset};
    const POINT halfway = {(grip.x + to.x) / 2, (grip.y + to.y) / 2};
    const struct {
        POINT at;
        DWORD flags;
    } steps[] = {{grip, MOUSEEVENTF_MOVE},
                 {grip, MOUSEEVENTF_LEFTDOWN},
                 {halfway, MOUSEEVENTF_MOVE},
                 {to, MOUSEEVENTF_MOVE},
                 {to, MOUSEEVENTF_LEFTUP}};
    for (const auto& step : steps) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = step.at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = step.at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = step.flags | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        for (int i = 0; i < 5; ++i) {
            Sleep(10);
            PumpPending();
        }
    }
}

TEST_F(MainWindow, ToolbarDocksOnEverySideOrFloatsAndIsRestoredThere) {
    const UINT sides[] = {AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT,
                          AFX_IDW_DOCKBAR_FLOAT, AFX_IDW_DOCKBAR_TOP};
    for (UINT side : sides) {
        RECT floating = {};
        {
            OrvaneSession session("", {CancelSettings()});
            ASSERT_TRUE(session.Started());
            CMainFrame& frame = session.Frame();
            // Dropped where a drag by the gripper ends: next to an edge, or mid-window.
            RECT area = DockArea(frame);
            MapWindowPoints(frame.m_hWnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
            const POINT middle = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
            POINT drop = middle;
            if (side == AFX_IDW_DOCKBAR_TOP)
                drop.y = area.top + 2;
            else if (side == AFX_IDW_DOCKBAR_BOTTOM)
                drop.y = area.bottom - 2;
            else if (side == AFX_IDW_DOCKBAR_LEFT)
                drop.x = area.left + 2;
            else if (side == AFX_IDW_DOCKBAR_RIGHT)
                drop.x = area.right + 2; // just outside counts too
            if (side == AFX_IDW_DOCKBAR_LEFT || side == AFX_IDW_DOCKBAR_FLOAT)
                DragByGripper(frame.m_wndToolBar, drop); // as the mouse does it
            else
                frame.DropControlBar(&frame.m_wndToolBar, drop);
            ASSERT_EQ(side, frame.m_wndToolBar.GetDockSide());
            ExpectLayout(frame, side);
            if (side == AFX_IDW_DOCKBAR_FLOAT) {
                HWND tool = frame.m_wndToolBar.GetDockingFrame()->m_hWnd;
                EXPECT_TRUE(IsWindowVisible(tool));
                GetWindowRect(tool, &floating);
                // Its close button hides the bar; the View menu brings it back there.
                SendMessageA(tool, WM_CLOSE, 0, 0);
                EXPECT_FALSE(IsWindowVisible(tool));
                EXPECT_FALSE(session.MenuItemChecked(ID_VIEW_TOOLBAR));
                session.Command(ID_VIEW_TOOLBAR);
                EXPECT_TRUE(IsWindowVisible(tool));
                EXPECT_TRUE(frame.m_wndToolBar.IsFloating());
                // While the frame is disabled its floating bar must not give commands.
                frame.EnableWindow(FALSE);
                EXPECT_FALSE(IsWindowEnabled(tool));
                frame.EnableWindow(TRUE);
                EXPECT_TRUE(IsWindowEnabled(tool));
            }
            ASSERT_TRUE(session.Close());
        }
        OrvaneSession again("", {CancelSettings()});
        ASSERT_TRUE(again.Started());
        CMainFrame& frame = again.Frame();
        ASSERT_EQ(side, frame.m_wndToolBar.GetDockSide());
        ExpectLayout(frame, side);
        if (side == AFX_IDW_DOCKBAR_FLOAT) {
            RECT restored = {};
            GetWindowRect(frame.m_wndToolBar.GetDockingFrame()->m_hWnd, &restored);
            EXPECT_TRUE(EqualRect(&floating, &restored));
            EXPECT_TRUE(frame.m_wndToolBar.IsWindowVisible());
        }
        ASSERT_TRUE(again.Close());
    }
}

// Every image over a colour the bitmap does not use: its background must let
// that colour through, and a disabled image must be grey where it is drawn.
TEST_F(MainWindow, ToolbarImagesAreMaskedAndDisabledOnesGrey) {
    OrvaneSession session("", {CancelSettings()});
    ASSERT_TRUE(session.Started());
    CToolBar& bar = session.Frame().m_wndToolBar;
    auto normal = reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST));
    auto disabled = reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETDISABLEDIMAGELIST));
    ASSERT_NE(nullptr, normal);
    ASSERT_NE(nullptr, disabled);
    ASSERT_EQ(9, ImageList_GetImageCount(normal));
    ASSERT_EQ(9, ImageList_GetImageCount(disabled));
    int width = 0, height = 0;
    ImageList_GetIconSize(normal, &width, &height);
    const COLORREF under = RGB(255, 0, 255);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(dc, canvas);
    HBRUSH brush = CreateSolidBrush(under);
    const RECT all = {0, 0, width, height};
    for (int image = 0; image < 9; ++image) {
        for (HIMAGELIST list : {normal, disabled}) {
            FillRect(dc, &all, brush);
            ImageList_Draw(list, image, dc, 0, 0, ILD_NORMAL);
            EXPECT_EQ(under, GetPixel(dc, 0, 0)) << image; // the background corner
            int drawn = 0, coloured = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    COLORREF pixel = GetPixel(dc, x, y);
                    if (pixel == under)
                        continue;
                    ++drawn;
                    coloured += GetRValue(pixel) != GetGValue(pixel) ||
                                GetGValue(pixel) != GetBValue(pixel);
                }
            }
            EXPECT_GT(drawn, 10) << image;
            EXPECT_LT(drawn, width * height) << image;
            if (list == disabled) {
                EXPECT_EQ(0, coloured) << image;
            }
        }
    }
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

} // namespace
