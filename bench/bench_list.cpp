// Filling the real result list with 100,000 and 1,000,000 rows (or the counts
// given on the command line), sorting them into processing priority, painting
// and clearing it, as a search does. Measured in the same run against a
// std::sort of the same items and against a list control that holds its rows
// itself (one LVM_INSERTITEM per row, as a list without LVS_OWNERDATA needs).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "engine/Priority.h"
#include "engine/SyncItem.h"
#include "framework/FrameWnd.h"
#include "framework/Profile.h"
#include "framework/WinApp.h"
#include "job/JobContext.h"
#include "res/resource.h"
#include "ui/OrvaneView.h"

namespace {

// Rows of every kind in a scrambled order, with paths as a tree scan gives them.
SyncItem* MakeItem(int i) {
    static const int kinds[][3] = {{Copy, Date, 0},
                                   {Copy, Existence, 0},
                                   {Create, Existence, 1},
                                   {Delete, Existence, 0},
                                   {Delete, Existence, 1}};
    const int* kind = kinds[(i * 7) % 5];
    auto* item = new SyncItem;
    item->operation = kind[0];
    item->reason = kind[1];
    item->isFolder = kind[2];
    item->direction = ProcessingToReference;
    unsigned scrambled = static_cast<unsigned>(i) * 2654435761u;
    char folder[64];
    std::snprintf(folder, sizeof folder, "\\dir%03u\\sub%02u\\", scrambled % 997,
                  (scrambled >> 10) % 31);
    item->subject.rootFolder = "C:\\data";
    item->subject.relativeFolder = folder;
    item->subject.name = "file" + std::to_string(scrambled % 100000) + ".txt";
    item->counterpart.rootFolder = "D:\\backup";
    return item;
}

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("OrvaneBench") {}
};

// The bare control's clearing grows with the square of the rows under Wine
// (149 s for 1,000,000 rows), so it is measured only up to this many rows.
const int kBareLimit = 200000;

struct ListFigures;
void MeasureBareControl(COrvaneView& view, int rows, ListFigures& figures);

struct ListFigures {
    double make = 0, fill = 0, sort = 0, paint = 0, clear = 0, baseline = 0;
    double selectAll = 0, removeBlock = 0; // pruning the list, as the user does
    double scroll = 0;                     // to the last row and back, painted each time
    double bareFill = -1, bareClear = -1;  // a list control holding its own rows
    double bytesPerRow = 0, itemBytesPerRow = 0, bareBytesPerRow = 0;
    int rows = 0;
};

// One search's worth of rows, as a search fills the list: the items are made in
// the plan, put in priority order and shown, checked by the list's sort, painted
// once, and deleted.
ListFigures Measure(COrvaneView& view, int rows) {
    ListFigures figures;
    std::vector<SyncItem*> baseline;
    for (int i = 0; i < rows; ++i)
        baseline.push_back(MakeItem(i));
    Stopwatch sortOnly;
    std::sort(baseline.begin(), baseline.end(),
              [](const SyncItem* a, const SyncItem* b) { return ComparePriority(a, b) < 0; });
    figures.baseline = sortOnly.Seconds();
    for (SyncItem* item : baseline)
        delete item;
    baseline.clear();

    PROCESS_MEMORY_COUNTERS before = MemoryCounters();
    Stopwatch make;
    // As the comparison passes hand their rows to the plan, in their own order.
    PlanRows& plan = view.Run().Plan();
    for (int i = 0; i < rows; ++i)
        plan.InsertRow(MakeItem(i), -1);
    figures.make = make.Seconds();
    PROCESS_MEMORY_COUNTERS made = MemoryCounters();
    figures.itemBytesPerRow = (double(made.WorkingSetSize) - double(before.WorkingSetSize)) / rows;

    // As the search ends: the plan put in priority order, then shown.
    Stopwatch fill;
    view.resultList.SetRedraw(FALSE);
    plan.SortByPriority();
    view.ShowPlan();
    figures.fill = fill.Seconds();
    Stopwatch sort;
    view.SortRows();
    figures.sort = sort.Seconds();
    Stopwatch paint;
    view.resultList.SetRedraw(TRUE);
    view.UpdateWindow();
    figures.paint = paint.Seconds();
    PROCESS_MEMORY_COUNTERS after = MemoryCounters();
    figures.bytesPerRow = (double(after.WorkingSetSize) - double(before.WorkingSetSize)) / rows;
    figures.rows = view.resultList.GetItemCount();

    // End to end as Ctrl+End and Ctrl+Home do: the rows in view drawn at each end.
    Stopwatch scroll;
    view.resultList.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
    view.UpdateWindow();
    view.resultList.SendMessage(LVM_ENSUREVISIBLE, 0, FALSE);
    view.UpdateWindow();
    figures.scroll = scroll.Seconds();

    Stopwatch selectAll;
    view.SelectAllRows();
    figures.selectAll = selectAll.Seconds();
    // A shift-click range: the tenth of the rows in the middle.
    view.resultList.SetRedraw(FALSE);
    view.resultList.SetItemState(-1, 0, LVIS_SELECTED);
    for (int i = rows / 2; i < rows / 2 + rows / 10; ++i)
        view.resultList.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    view.resultList.SetRedraw(TRUE);
    Stopwatch removeBlock;
    view.RemoveSelectedRows();
    figures.removeBlock = removeBlock.Seconds();

    Stopwatch clear;
    view.DeleteAllRows();
    figures.clear = clear.Seconds();
    if (rows <= kBareLimit)
        MeasureBareControl(view, rows, figures);
    return figures;
}

// The same number of callback rows in a list control of the same styles and
// columns that holds its rows itself, beside the real one, with no handler
// behind it.
void MeasureBareControl(COrvaneView& view, int rows, ListFigures& figures) {
    RECT area;
    view.resultList.GetWindowRect(&area);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(view.resultList.m_hWnd, GWL_STYLE)) &
                  ~static_cast<DWORD>(LVS_OWNERDATA);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, area.right - area.left,
                                area.bottom - area.top, view.m_hWnd, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 SendMessageA(view.resultList.m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    HWND header = reinterpret_cast<HWND>(SendMessageA(view.resultList.m_hWnd, LVM_GETHEADER, 0, 0));
    int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < columns; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = 100;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    PROCESS_MEMORY_COUNTERS before = MemoryCounters();
    Stopwatch fill;
    for (int i = 0; i < rows; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.lParam = i;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    figures.bareFill = fill.Seconds();
    figures.bareBytesPerRow =
        (double(MemoryCounters().WorkingSetSize) - double(before.WorkingSetSize)) / rows;
    Stopwatch clear;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    figures.bareClear = clear.Seconds();
    DestroyWindow(list);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {100000, 1000000};

    BenchApp app;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    CProfile profile("OrvaneBench");
    JobContext jobs(profile);
    jobs.currentJob.mode = 2;
    CFrameWnd frame;
    RunController run(jobs);
    COrvaneView view(jobs, run);
    frame.SetViewToCreate(&view);
    if (!frame.LoadFrame(IDR_MAINFRAME)) {
        std::printf("the window could not be created\n");
        return 1;
    }
    view.UpdateData(FALSE);
    view.SetupColumns();
    frame.ShowWindow(SW_SHOW);

    bool allRows = true;
    for (int rows : sizes) {
        ListFigures f = Measure(view, rows);
        double total = f.fill + f.sort + f.paint;
        std::printf("rows: %d (in the list: %d)\n", rows, f.rows);
        std::printf("  making the items:                 %.3f s (not part of the total)\n", f.make);
        if (f.bareFill >= 0)
            std::printf("  order + fill (appending rows):    %.3f s (bare control's fill: %.3f s, "
                        "%.2fx)\n",
                        f.fill, f.bareFill, f.fill / f.bareFill);
        else
            std::printf("  order + fill (appending rows):    %.3f s (bare control: not measured "
                        "above %d rows)\n",
                        f.fill, kBareLimit);
        std::printf("  priority sort in the list:        %.3f s\n", f.sort);
        std::printf("  first paint:                      %.3f s\n", f.paint);
        std::printf("  fill + sort + first paint:        %.3f s\n", total);
        std::printf("  baseline std::sort of the items:  %.3f s (list sort / baseline: %.2fx)\n",
                    f.baseline, f.sort / f.baseline);
        std::printf("  working set per row:              %.0f bytes (items alone %.0f",
                    f.bytesPerRow, f.itemBytesPerRow);
        if (f.bareFill >= 0)
            std::printf(", bare control %.0f", f.bareBytesPerRow);
        std::printf(")\n");
        std::printf("  scrolling to the end and back:    %.3f s\n", f.scroll);
        std::printf("  selecting all rows:               %.3f s\n", f.selectAll);
        std::printf("  removing a tenth of the rows:     %.3f s (a selected block in the middle)\n",
                    f.removeBlock);
        std::printf("  deleting the rest (frees items):  %.3f s", f.clear);
        if (f.bareClear >= 0)
            std::printf(" (bare control: %.3f s)", f.bareClear);
        std::printf("\n");
        allRows = allRows && f.rows == rows;
    }
    return allRows ? 0 : 1;
}
