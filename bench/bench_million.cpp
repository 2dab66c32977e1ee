// The real program over two identical trees of 100,000, 300,000 and 1,000,000
// files a side (100 files a folder), against a bare FindFirstFileA/FindNextFileA
// walk of the same trees in the same run: `Orvane.exe -s` on a mode-2 job and
// on a mode-0 job with memory (its second run, deciding against the memory the
// first one wrote), each with the peak working set read from its process while
// it runs; then the pair's memory file read and written by this process, against
// the search. The trees grow from one size to the next and are removed at the
// end (--keep leaves them for the next run). Give the sizes in thousands of
// files a side to measure others ("bench_million 100 1000").
#include "BenchSupport.h"
#include "BenchTrees.h"
#include "engine/FileFinder.h"
#include "engine/PairMemory.h"
#include "job/JobFile.h"
#include "job/JobSettings.h"
#include "run/SyncStateFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kSubfolders = 100, kFilesPerFolder = 100;
const int kFilesPerTop = kSubfolders * kFilesPerFolder;

using Trees = BenchTrees;

Trees TreePaths() {
    return BenchTreePaths("orvane_bench_million");
}

// Top folders [from, to) on both sides, the same names and times.
bool GrowTrees(const Trees& trees, int from, int to) {
    const FILETIME time = {0x5A2C0000u, 0x01D9A000u};
    char relative[64];
    for (const std::string& root : {trees.processing, trees.reference}) {
        CreateDirectoryA(root.c_str(), nullptr);
        for (int top = from; top < to; ++top) {
            std::snprintf(relative, sizeof relative, "\\Top%03d", top);
            const std::string topFolder = root + relative;
            if (GetFileAttributesA((topFolder + "\\complete").c_str()) != INVALID_FILE_ATTRIBUTES)
                continue;
            CreateDirectoryA(topFolder.c_str(), nullptr);
            for (int sub = 0; sub < kSubfolders; ++sub) {
                std::snprintf(relative, sizeof relative, "\\Folder%02d", sub);
                const std::string folder = topFolder + relative;
                CreateDirectoryA(folder.c_str(), nullptr);
                for (int file = 0; file < kFilesPerFolder; ++file) {
                    std::snprintf(relative, sizeof relative, "\\Document%02d.dat", file);
                    FileHandle handle(CreateFileA((folder + relative).c_str(), GENERIC_WRITE, 0,
                                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
                    if (!handle.IsOpen() || !SetFileTime(handle.Get(), nullptr, nullptr, &time))
                        return false;
                }
            }
            // Marked last, so a tree cut short by a kill is finished by the next run.
            FileHandle marker(CreateFileA((topFolder + "\\complete").c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!marker.IsOpen() || !SetFileTime(marker.Get(), nullptr, nullptr, &time))
                return false;
        }
    }
    return true;
}

struct ProgramRun {
    double seconds = -1;
    size_t peakBytes = 0;
    DWORD exitCode = 0;
};

// Runs the program and reads its peak working set while it runs: Wine answers
// for another process only while it is alive, with its peak so far.
ProgramRun RunProgram(const std::string& commandLine) {
    ProgramRun run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    Stopwatch watch;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return run;
    CloseHandle(process.hThread);
    for (;;) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
            run.peakBytes = std::max(run.peakBytes, counters.PeakWorkingSetSize);
        if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0)
            break;
    }
    run.seconds = watch.Seconds();
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    return run;
}

std::string ProgramPath(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--program") == 0)
            return argv[i + 1];
    // build\bench\bench_million.exe beside build\app\Orvane.exe
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path = path.substr(0, path.rfind('\\'));
    path = path.substr(0, path.rfind('\\'));
    return path + "\\app\\Orvane.exe";
}

JobSettings JobOver(const Trees& trees, int mode) {
    JobSettings job;
    job.processingFolder = trees.processing;
    job.referenceFolder = trees.reference;
    job.mode = mode;
    job.includeSubfolders = 1;
    job.deleteEnabled = 1;
    job.fastCopy = 1;
    job.rememberState = mode == Bidirectional ? 1 : 0;
    return job;
}

// Gross figures, then net of the program's run on two empty folders (its start
// and its fixed memory), which weigh on the smaller trees.
void PrintRun(const char* what, const ProgramRun& run, const ProgramRun& bare, double walk,
              long long entries) {
    std::printf("  %-34s %7.2f s, %5.2fx the walk, peak %4zu MiB (%3.0f bytes per entry)%s\n", what,
                run.seconds, run.seconds / walk, run.peakBytes >> 20,
                double(run.peakBytes) / double(entries),
                run.exitCode == 0 ? "" : " (exit code not 0)");
    std::printf("  %-34s %7.2f s, %5.2fx the walk, %3.0f bytes per entry\n",
                "  net of the start:", run.seconds - bare.seconds,
                (run.seconds - bare.seconds) / walk,
                (double(run.peakBytes) - double(bare.peakBytes)) / double(entries));
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> thousands;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else if (std::strcmp(argv[i], "--program") == 0)
            ++i;
        else
            thousands.push_back(std::atoi(argv[i]));
    }
    if (thousands.empty())
        thousands = {100, 300, 1000};
    const std::string program = ProgramPath(argc, argv);
    if (GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("the program is not at %s (give it with --program)\n", program.c_str());
        return 1;
    }
    const Trees trees = TreePaths();
    CreateDirectoryA(trees.base.c_str(), nullptr);
    const std::string mirrorJob = trees.base + "\\mirror.orvane";
    const std::string memoryJob = trees.base + "\\memory.orvane";
    const std::string emptyJob = trees.base + "\\empty.orvane";
    JobSettings empty = JobOver(trees, UpdateReference);
    empty.processingFolder = trees.base + "\\EmptyP";
    empty.referenceFolder = trees.base + "\\EmptyR";
    CreateDirectoryA(empty.processingFolder.c_str(), nullptr);
    CreateDirectoryA(empty.referenceFolder.c_str(), nullptr);
    if (!WriteJobFile(mirrorJob, JobOver(trees, UpdateReference)) ||
        !WriteJobFile(memoryJob, JobOver(trees, Bidirectional)) || !WriteJobFile(emptyJob, empty)) {
        std::printf("the job files could not be written in %s\n", trees.base.c_str());
        return 1;
    }
    ProgramRun bare = RunProgram("\"" + program + "\" -s \"" + emptyJob + "\"");
    std::printf("the program on two empty folders: %.2f s, peak %zu MiB\n", bare.seconds,
                bare.peakBytes >> 20);

    int tops = 0;
    bool ok = bare.exitCode == 0;
    for (int size : thousands) {
        const int wanted = std::max(1, size * 1000 / kFilesPerTop);
        std::printf("growing the trees to %d files a side ...\n", wanted * kFilesPerTop);
        std::fflush(stdout);
        if (!GrowTrees(trees, std::min(tops, wanted), wanted)) {
            std::printf("the trees could not be made in %s\n", trees.base.c_str());
            return 1;
        }
        tops = std::max(tops, wanted);
        // Only the tops asked for: a larger tree left by --keep is trimmed to size.
        for (int top = wanted;; ++top) {
            char relative[32];
            std::snprintf(relative, sizeof relative, "\\Top%03d", top);
            if (GetFileAttributesA((trees.processing + relative).c_str()) ==
                INVALID_FILE_ATTRIBUTES)
                break;
            RemoveTree(trees.processing + relative);
            RemoveTree(trees.reference + relative);
        }
        tops = wanted;

        // The best of two walks: the first after growing the trees may find
        // the system's caches cold or still busy with the writes.
        long long entries = 0;
        double walk = 0;
        for (int round = 0; round < 2; ++round) {
            Stopwatch walkWatch;
            entries = BareWalk(trees.processing) + BareWalk(trees.reference);
            walk = round == 0 ? walkWatch.Seconds() : std::min(walk, walkWatch.Seconds());
        }
        std::printf("%lld entries on both sides, bare walk %.2f s\n", entries, walk);
        ProgramRun mirror = RunProgram("\"" + program + "\" -s \"" + mirrorJob + "\"");
        PrintRun("mode 2:", mirror, bare, walk, entries);

        const std::string state = StateFilePath(trees.processing, trees.reference);
        DeleteFileA(state.c_str());
        ProgramRun first = RunProgram("\"" + program + "\" -s \"" + memoryJob + "\"");
        PrintRun("mode 0, first run (no memory):", first, bare, walk, entries);
        ProgramRun remembered = RunProgram("\"" + program + "\" -s \"" + memoryJob + "\"");
        PrintRun("mode 0 with memory:", remembered, bare, walk, entries);

        PairMemory memory;
        Stopwatch readWatch;
        bool read =
            ReadPairMemory(state, trees.processing, trees.reference, memory) == MemoryRead::Fits;
        const double readSeconds = readWatch.Seconds();
        const std::string copy = trees.base + "\\copy.state";
        Stopwatch writeWatch;
        bool written = WritePairMemory(copy, trees.processing, trees.reference, memory);
        const double writeSeconds = writeWatch.Seconds();
        DeleteFileA(copy.c_str());
        std::printf("  memory file of %zu records: read %.2f s, written %.2f s: %.1f %% and "
                    "%.1f %% of the search with memory%s\n",
                    memory.Size(), readSeconds, writeSeconds,
                    100.0 * readSeconds / remembered.seconds,
                    100.0 * writeSeconds / remembered.seconds, read && written ? "" : " (FAILED)");
        std::fflush(stdout);
        ok = ok && read && written && mirror.exitCode == 0 && first.exitCode == 0 &&
             remembered.exitCode == 0;
    }
    if (!keep) {
        std::printf("removing the trees ...\n");
        RemoveTree(trees.base);
    }
    return ok ? 0 : 1;
}
