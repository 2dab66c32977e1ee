// Scanning and comparing two generated trees of about 100,000 entries each,
// against the bare FindFirstFileA/FindNextFileA walk of the same trees: the
// engine alone, and the search as the program runs it, with its progress window
// pacing its message pumps; the design's floor (a pump at every poll) beside it,
// the pacing interval's cost, the window's repaints and the stop latency.
// Run with --keep to leave the trees in the temp folder for the next run.
#include "BenchSupport.h"
#include "BenchTrees.h"
#include "engine/EngineCallbacks.h"
#include "engine/Comparison.h"
#include "engine/Scanner.h"
#include "engine/SearchCore.h"
#include "engine/SyncItem.h"
#include "engine/ThrottledProgress.h"
#include "run/SyncStateFile.h"
#include "ui/DlgBusy.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kFolders = 100, kSubfolders = 10, kFilesPerSubfolder = 99;

using Trees = BenchTrees;

Trees TreePaths() {
    return BenchTreePaths("orvane_bench_scan");
}

FILETIME TimePlusSeconds(int seconds) {
    ULARGE_INTEGER value;
    value.QuadPart = 132000000000000000ULL + 10000000ULL * seconds; // mid 2019
    return FILETIME{value.LowPart, value.HighPart};
}

bool MakeFile(const std::string& path, const FILETIME& time) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsOpen() && SetFileTime(file.Get(), nullptr, nullptr, &time) != 0;
}

// 100 folders of 10 subfolders of 99 files on each side: 1 in 100 files is
// missing on each side, 1 in 10 is newer on one side or the other.
bool GenerateTrees(const Trees& trees) {
    std::string marker = trees.base + "\\complete";
    if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    CreateDirectoryA(trees.base.c_str(), nullptr);
    std::printf("generating trees in %s ...\n", trees.base.c_str());
    std::fflush(stdout);
    char relative[64];
    for (const std::string& root : {trees.processing, trees.reference}) {
        CreateDirectoryA(root.c_str(), nullptr);
        bool isProcessing = root == trees.processing;
        int file = 0;
        for (int d = 0; d < kFolders; ++d) {
            std::snprintf(relative, sizeof relative, "\\Folder%03d", d);
            CreateDirectoryA((root + relative).c_str(), nullptr);
            for (int s = 0; s < kSubfolders; ++s) {
                std::snprintf(relative, sizeof relative, "\\Folder%03d\\sub%02d", d, s);
                std::string subfolder = root + relative;
                CreateDirectoryA(subfolder.c_str(), nullptr);
                for (int f = 0; f < kFilesPerSubfolder; ++f, ++file) {
                    int kind = (file * 37) % 100;
                    if ((kind == 0 && isProcessing) || (kind == 1 && !isProcessing))
                        continue;
                    int seconds = 0;
                    if (kind >= 10 && kind < 15 && isProcessing)
                        seconds = 60;
                    if (kind >= 15 && kind < 20 && !isProcessing)
                        seconds = 60;
                    std::snprintf(relative, sizeof relative, "\\File%05d.dat", file);
                    if (!MakeFile(subfolder + relative, TimePlusSeconds(seconds)))
                        return false;
                }
            }
        }
    }
    return MakeFile(marker, TimePlusSeconds(0));
}

void PumpOnce() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// No window: the engine's own cost.
class SilentProgress : public IProgress {
public:
    void SetLine1(const std::string&) override {}
    void SetLine2(const std::string&) override {}
    void Refresh() override {}
    bool PollStop() override { return false; }
    bool PollStopNow() override { return false; }
};

// A plain top-level window to own the progress window, as the view does.
class ProgressOwner : public CWnd {
public:
    ProgressOwner() {
        CreateEx(0, nullptr, "Orvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                 nullptr);
    }
};

class KeepingSink : public IRowSink {
public:
    int InsertRow(SyncItem* item, int) override {
        rows.emplace_back(item);
        return static_cast<int>(rows.size()) - 1;
    }
    std::vector<std::unique_ptr<SyncItem>> rows;
};

struct SearchFigures {
    double seconds = 0;
    size_t rows = 0;
    bool ok = false;
};

SearchFigures Search(const Trees& trees, IProgress& progress, bool detectMoves = false) {
    JobSettings job;
    job.detectMoves = detectMoves ? 1 : 0;
    job.processingFolder = trees.processing;
    job.referenceFolder = trees.reference;
    job.mode = UpdateProcessing;
    job.includeSubfolders = 1;
    job.deleteEnabled = 1;
    std::vector<std::string> include, exclude;
    std::string message;
    KeepingSink sink;
    Stopwatch watch;
    SearchFigures figures;
    figures.ok = SearchAndCompare(job, include, exclude, progress, sink, message);
    figures.seconds = watch.Seconds();
    figures.rows = sink.rows.size();
    return figures;
}

// Bytes in use in the C runtime's heap.
size_t HeapBytesInUse() {
    HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    size_t bytes = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            bytes += entry.cbData + entry.cbOverhead;
    }
    HeapUnlock(heap);
    return bytes;
}

// Where the time of (b) goes: each phase timed on its own.
void PrintPhases(const Trees& trees, long long entries) {
    size_t heapBefore = HeapBytesInUse();
    JobSettings job;
    job.mode = UpdateProcessing;
    job.deleteEnabled = 1;
    SilentProgress progress;
    KeepingSink sink;
    std::vector<std::string> none;
    std::string message;
    FolderListing processing(trees.processing), reference(trees.reference);
    Scanner scanner(progress, none, none, message);
    ExcludedFolders excluded(none);
    Stopwatch watch;
    bool ok =
        scanner.ScanTree("\\", processing, excluded) && scanner.ScanTree("\\", reference, excluded);
    double scanSeconds = watch.Seconds();
    double heldPerEntry = (double(HeapBytesInUse()) - double(heapBefore)) / entries;
    watch.Restart();
    processing.SortEntries();
    reference.SortEntries();
    double sortSeconds = watch.Seconds();
    watch.Restart();
    Comparison(job, progress, sink).RunPasses(processing, reference);
    double passSeconds = watch.Seconds();
    std::printf("    phases of one more run:        scan %.3f s, sort %.3f s, passes %.3f s%s\n",
                scanSeconds, sortSeconds, passSeconds, ok ? "" : " FAILED");
    std::printf("    heap held by the listings:     %.0f bytes per entry\n", heldPerEntry);
}

// The memory of a two-way job: the passes that decide against it and fill the
// next one, its heap per entry, and writing and reading its file.
void PrintMemoryRound(const Trees& trees, long long entries, double searchSeconds) {
    JobSettings job;
    job.mode = Bidirectional;
    job.deleteEnabled = 1;
    SilentProgress progress;
    std::vector<std::string> none;
    std::string message;
    FolderListing processing(trees.processing), reference(trees.reference);
    Scanner scanner(progress, none, none, message);
    ExcludedFolders excluded(none);
    scanner.ScanTree("\\", processing, excluded);
    scanner.ScanTree("\\", reference, excluded);
    processing.SortEntries();
    reference.SortEntries();
    KeepingSink firstSink, sink;
    PairMemory first, next, read;
    Stopwatch watch;
    Comparison firstRun(job, progress, firstSink);
    firstRun.UseMemory(nullptr, &first);
    firstRun.RunPasses(processing, reference);
    double plainPasses = watch.Seconds();
    size_t heapBefore = HeapBytesInUse();
    watch.Restart();
    Comparison withMemory(job, progress, sink);
    withMemory.UseMemory(&first, &next);
    withMemory.RunPasses(processing, reference);
    double memoryPasses = watch.Seconds();
    double heapPerRecord = (double(HeapBytesInUse()) - double(heapBefore)) / double(next.Size());
    std::string path = trees.base + "\\bench.state";
    watch.Restart();
    bool written = WritePairMemory(path, trees.processing, trees.reference, next);
    double writeSeconds = watch.Seconds();
    watch.Restart();
    bool readBack =
        ReadPairMemory(path, trees.processing, trees.reference, read) == MemoryRead::Fits;
    double readSeconds = watch.Seconds();
    DeleteFileA(path.c_str());
    std::printf("two-way memory (%zu records of %lld entries):\n", next.Size(), entries);
    std::printf("    mode-0 passes, first run / deciding against the memory: %.3f s / %.3f s\n",
                plainPasses, memoryPasses);
    std::printf("    write %.3f s, read %.3f s%s: %.1f %% of a search (%.3f s); with the "
                "passes' extra time %.1f %%\n",
                writeSeconds, readSeconds,
                written && readBack && read.Size() == next.Size() ? "" : " FAILED",
                100.0 * (writeSeconds + readSeconds) / searchSeconds, searchSeconds,
                100.0 * (writeSeconds + readSeconds + memoryPasses - plainPasses) / searchSeconds);
    std::printf("    heap per record (rows included): %.0f bytes\n", heapPerRecord);
}

// What a clock read costs: the pacing reads one at every poll.
void PrintClockReads() {
    const int reads = 1000000;
    volatile ULONGLONG sink = 0;
    Stopwatch ticks;
    for (int i = 0; i < reads; ++i)
        sink = sink + GetTickCount64();
    double tickSeconds = ticks.Seconds();
    Stopwatch counters;
    for (int i = 0; i < reads; ++i) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        sink = sink + now.QuadPart;
    }
    double counterSeconds = counters.Seconds();
    std::printf("one clock read:                    GetTickCount64 %.0f ns, "
                "QueryPerformanceCounter %.0f ns\n",
                tickSeconds / reads * 1e9, counterSeconds / reads * 1e9);
}

// Paints of the progress window, seen as the pump takes them. Under Wine a new
// text paints its line at once, without the pump, so another thread invalidates
// the window now and then, as a window dragged over it would.
struct PaintWatch {
    static HWND window;
    static int paints;
    static double lastPaint, longestGap;
    static Stopwatch* clock;
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_PAINT &&
            message->hwnd == window) {
            double now = clock->Seconds();
            if (paints > 0)
                longestGap = std::max(longestGap, now - lastPaint);
            lastPaint = now;
            ++paints;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
HWND PaintWatch::window = nullptr;
int PaintWatch::paints = 0;
double PaintWatch::lastPaint = 0, PaintWatch::longestGap = 0;
Stopwatch* PaintWatch::clock = nullptr;

struct RealSearchFigures {
    double walk = 1e9, pump = 1e9, search = 1e9, longestPaintGap = 0;
    int paints = 0;
    bool ok = false;
    // The design's floor: the walk plus two pumps per entry.
    double Floor(long long entries) const { return walk + 2.0 * entries * pump; }
};

// One search with the progress window pacing its pumps at `intervalMs`; with
// `exposeEveryMs`, the window is invalidated that often meanwhile.
RealSearchFigures RealSearch(const Trees& trees, ProgressOwner& owner, ULONGLONG intervalMs,
                             DWORD exposeEveryMs = 0) {
    RealSearchFigures figures;
    Stopwatch walkWatch;
    BareWalk(trees.processing);
    BareWalk(trees.reference);
    figures.walk = walkWatch.Seconds();
    CDlgBusy busy(&owner, PollPacer(&GetTickCount64, intervalMs));
    busy.SetLine1("検索中");
    if (!busy.CreateBusy())
        return figures;
    const int polls = 5000;
    busy.PumpMessages();
    Stopwatch pollWatch;
    for (int i = 0; i < polls; ++i)
        busy.PumpMessages();
    figures.pump = pollWatch.Seconds() / polls;

    Stopwatch paintClock;
    PaintWatch::window = busy.m_hWnd;
    PaintWatch::paints = 0;
    PaintWatch::longestGap = 0;
    PaintWatch::clock = &paintClock;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &PaintWatch::Hook, nullptr, GetCurrentThreadId());
    std::atomic<bool> searching{true};
    HWND dialog = busy.m_hWnd;
    std::thread exposer([&] {
        while (exposeEveryMs != 0 && searching) {
            InvalidateRect(dialog, nullptr, TRUE);
            Sleep(exposeEveryMs);
        }
    });
    ThrottledProgress progress(busy);
    SearchFigures search = Search(trees, progress);
    searching = false;
    exposer.join();
    UnhookWindowsHookEx(hook);
    figures.search = search.seconds;
    figures.ok = search.ok;
    figures.paints = PaintWatch::paints;
    figures.longestPaintGap = PaintWatch::longestGap;
    busy.Destroy();
    return figures;
}

// Seconds from a click on 中止 `afterMs` into a search to the search's return.
// The click comes from another thread, as a user's does: at any moment between
// two of the search's pumps, and it waits in the queue for the next one.
double StopLatency(const Trees& trees, ProgressOwner& owner, DWORD afterMs) {
    CDlgBusy busy(&owner);
    busy.SetLine1("検索中");
    if (!busy.CreateBusy())
        return 1e9;
    HWND dialog = busy.m_hWnd;
    Stopwatch clickTime;
    std::atomic<bool> clicked{false};
    std::thread clicker([&] {
        Sleep(afterMs);
        clickTime.Restart();
        clicked = PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0) != 0;
    });
    ThrottledProgress progress(busy);
    SearchFigures search = Search(trees, progress);
    double latency = clickTime.Seconds();
    clicker.join();
    busy.Destroy();
    return search.ok || !clicked ? 1e9 : latency; // a search that ended by itself was not stopped
}

} // namespace

int main(int argc, char** argv) {
    bool keep = argc > 1 && std::strcmp(argv[1], "--keep") == 0;
    Trees trees = TreePaths();
    if (!GenerateTrees(trees)) {
        std::printf("could not generate the trees\n");
        return 1;
    }
    BareWalk(trees.processing); // warm the file system's caches for all measurements
    BareWalk(trees.reference);

    // The machine is shared: alternate the two measurements and keep the best of each.
    const int rounds = 3;
    long long entries = 0;
    double walkSeconds = 1e9;
    SearchFigures search;
    search.seconds = 1e9;
    double peakPerEntry = 0;
    for (int round = 0; round < rounds; ++round) {
        Stopwatch walkWatch;
        entries = BareWalk(trees.processing) + BareWalk(trees.reference);
        walkSeconds = std::min(walkSeconds, walkWatch.Seconds());

        PROCESS_MEMORY_COUNTERS before = MemoryCounters();
        SilentProgress silent;
        SearchFigures figures = Search(trees, silent);
        PROCESS_MEMORY_COUNTERS after = MemoryCounters();
        if (round == 0) // later rounds reuse the heap the first one grew
            peakPerEntry =
                (double(after.PeakWorkingSetSize) - double(before.WorkingSetSize)) / entries;
        if (figures.seconds < search.seconds)
            search = figures;
    }

    std::printf("entries in both trees:            %lld\n", entries);
    std::printf("(a) bare FindFirst/FindNext walk:  %.3f s, %.0f entries/s (best of %d)\n",
                walkSeconds, entries / walkSeconds, rounds);
    std::printf(
        "(b) scan + sort + passes:          %.3f s, %.0f entries/s (best of %d), %zu rows%s\n",
        search.seconds, entries / search.seconds, rounds, search.rows, search.ok ? "" : " FAILED");
    std::printf("    ratio (b)/(a):                 %.2f\n", search.seconds / walkSeconds);
    std::printf("    peak working set per entry:    %.0f bytes\n", peakPerEntry);
    // The same search looking for moves among what it plans to delete and copy
    // (1 in 100 files on each side, all of one size and time: alike files of
    // other names, so every one is looked at and none proved): best of each,
    // alternated.
    double plain = 1e9, withMoves = 1e9;
    for (int round = 0; round < rounds; ++round) {
        SilentProgress silent;
        plain = std::min(plain, Search(trees, silent).seconds);
        withMoves = std::min(withMoves, Search(trees, silent, true).seconds);
    }
    std::printf("(g) with move detection:           %.3f s against %.3f s without: ratio %.3f "
                "(target 1.1)\n",
                withMoves, plain, withMoves / plain);
    PrintPhases(trees, entries);
    PrintMemoryRound(trees, entries, search.seconds);

    // The search as the program runs it: its progress window over a window of
    // its own, the pumps paced by time. The design's floor pumps at every poll:
    // the bare walk plus one empty-queue pump of that window per entry while
    // scanning and one while comparing; it is printed beside the new ratio
    // (search / walk). The machine is shared, so each round measures its own
    // walk and pump right before the search.
    const int polls = 5000;
    PumpOnce(); // the first call creates the thread's message queue
    Stopwatch bareWatch;
    for (int i = 0; i < polls; ++i)
        PumpOnce();
    std::printf("one empty-queue pump, no window:   %.1f us\n", bareWatch.Seconds() / polls * 1e6);
    PrintClockReads();
    ProgressOwner owner;
    RealSearchFigures best;
    bool realOk = true;
    for (int round = 0; realOk && round < rounds; ++round) {
        RealSearchFigures figures = RealSearch(trees, owner, PollPacer::kIntervalMs);
        realOk = figures.ok;
        std::printf("(c) round %d: walk %.3f s, pump %.1f us, design floor %.3f s, search %.3f s, "
                    "search/walk %.2f, search/floor %.2f%s\n",
                    round + 1, figures.walk, figures.pump * 1e6, figures.Floor(entries),
                    figures.search, figures.search / figures.walk,
                    figures.search / figures.Floor(entries), figures.ok ? "" : " FAILED");
        best.walk = std::min(best.walk, figures.walk);
        best.pump = std::min(best.pump, figures.pump);
        best.search = std::min(best.search, figures.search);
    }
    // Best of each: a busy moment can only raise a figure.
    std::printf("    best search %.3f s / best walk %.3f s = %.2f (target 1.3); design floor "
                "%.3f s (walk + 2 pumps per entry, %.1fx the walk)\n",
                best.search, best.walk, best.search / best.walk, best.Floor(entries),
                best.Floor(entries) / best.walk);

    // What the pacing interval costs and buys; 0 pumps at every poll, as designed.
    for (ULONGLONG interval : {0ULL, 5ULL, 10ULL, 20ULL, 50ULL}) {
        RealSearchFigures figures = RealSearch(trees, owner, interval);
        realOk = realOk && figures.ok;
        std::printf("(d) interval %2llu ms: search %.3f s, search/walk %.2f\n", interval,
                    figures.search, figures.search / figures.walk);
    }

    // The window repaints while the search runs.
    RealSearchFigures painted = RealSearch(trees, owner, PollPacer::kIntervalMs, 50);
    realOk = realOk && painted.ok;
    std::printf("(f) window invalidated every 50 ms: %d paints in a search of %.3f s, longest "
                "time between two paints %.0f ms\n",
                painted.paints, painted.search, painted.longestPaintGap * 1e3);

    // From a click on 中止 (posted while the search runs, just after a pump) to
    // the search's return.
    const int clicks = 8;
    double fastest = 1e9, slowest = 0;
    for (int click = 0; realOk && click < clicks; ++click) {
        double latency = StopLatency(trees, owner, 300 + 137 * click);
        fastest = std::min(fastest, latency);
        slowest = std::max(slowest, latency);
    }
    std::printf("(e) stop latency, click to the end of the search: %.0f to %.0f ms over %d "
                "clicks (target under 100)\n",
                fastest * 1e3, slowest * 1e3, clicks);
    if (!keep)
        RemoveTree(trees.base);
    return search.ok && realOk ? 0 : 1;
}
