// Filling the real result list with 100,000 rows and sorting them into
// processing priority, as a search does, against sorting the same items with
// std::sort in the same run.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
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

constexpr int kRows = 100000;

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

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM) {
    return ComparePriority(reinterpret_cast<const SyncItem*>(a),
                           reinterpret_cast<const SyncItem*>(b));
}

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("OrvaneBench") {}
};

} // namespace

int main() {
    BenchApp app;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    CProfile profile("OrvaneBench");
    JobContext jobs(profile);
    jobs.currentJob.mode = 2;
    CFrameWnd frame;
    COrvaneView view(jobs);
    frame.SetViewToCreate(&view);
    if (!frame.LoadFrame(IDR_MAINFRAME)) {
        std::printf("the window could not be created\n");
        return 1;
    }
    view.UpdateData(FALSE);
    view.SetupColumns();
    frame.ShowWindow(SW_SHOW);

    std::vector<SyncItem*> baseline;
    for (int i = 0; i < kRows; ++i)
        baseline.push_back(MakeItem(i));
    Stopwatch sortOnly;
    std::sort(baseline.begin(), baseline.end(),
              [](const SyncItem* a, const SyncItem* b) { return ComparePriority(a, b) < 0; });
    double baselineSeconds = sortOnly.Seconds();
    for (SyncItem* item : baseline)
        delete item;

    Stopwatch fill;
    view.resultList.SetRedraw(FALSE);
    for (int i = 0; i < kRows; ++i)
        view.InsertRow(MakeItem(i), i);
    double fillSeconds = fill.Seconds();
    Stopwatch sort;
    view.resultList.SortItems(CompareRows, 0);
    double sortSeconds = sort.Seconds();
    view.resultList.SetRedraw(TRUE);
    view.UpdateWindow();
    double totalSeconds = fill.Seconds();

    std::printf("rows: %d\n", view.resultList.GetItemCount());
    std::printf("fill (insert with text callback): %.3f s\n", fillSeconds);
    std::printf("priority sort in the list:        %.3f s\n", sortSeconds);
    std::printf("fill + sort + first paint:        %.3f s (target under 2 s)\n", totalSeconds);
    std::printf("baseline std::sort of the items:  %.3f s (list sort / baseline: %.2fx)\n",
                baselineSeconds, sortSeconds / baselineSeconds);
    Stopwatch clear;
    view.DeleteAllRows();
    std::printf("deleting all rows (frees items):  %.3f s\n", clear.Seconds());
    return 0;
}
