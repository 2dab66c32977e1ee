// A renamed folder of 1,000 files of 2 MiB (2 GiB) carried out on the other
// side: with move detection (a search that proves the move, and one rename)
// against the deletion and copy of everything without it. Prints the times
// and the ratio; the folders are made in the temporary folder and removed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "BenchTrees.h"
#include "ExecBench.h"
#include "engine/Priority.h"
#include "engine/SearchCore.h"
#include "exec/SyncExecutor.h"
#include "job/JobSettings.h"

namespace {

const int kFiles = 1000;
const DWORD kFileBytes = 2u << 20;

bool WriteTree(const std::string& folder, const std::vector<char>& bytes) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const FILETIME time = {0x5A2C0000u, 0x01D9A000u};
    for (int i = 0; i < kFiles; ++i) {
        std::vector<char> content = bytes;
        std::memcpy(content.data(), &i, sizeof i); // each file its own bytes
        FileHandle file(CreateFileA((folder + "\\photo" + std::to_string(i) + ".jpg").c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!file.IsOpen() ||
            !WriteFile(file.Get(), content.data(), kFileBytes, &written, nullptr) ||
            !SetFileTime(file.Get(), nullptr, nullptr, &time))
            return false;
    }
    return true;
}

struct Run {
    double search = 0, execute = 0;
    int rows = 0, moves = 0;
    bool ok = false;
};

// The processing side's folder is "renamed", the reference side still has the
// old one: a mode-2 run brings the reference side up to date.
Run RunJob(const std::string& base, bool detectMoves) {
    const std::string p = base + "\\p", r = base + "\\r";
    std::vector<char> bytes(kFileBytes, 'x');
    Run run;
    if (!CreateDirectoryA(base.c_str(), nullptr) || !CreateDirectoryA(p.c_str(), nullptr) ||
        !CreateDirectoryA(r.c_str(), nullptr) || !WriteTree(p + "\\renamed", bytes) ||
        !WriteTree(r + "\\photos", bytes))
        return run;
    JobSettings job;
    job.processingFolder = p;
    job.referenceFolder = r;
    job.mode = UpdateReference;
    job.includeSubfolders = 1;
    job.deleteEnabled = 1;
    job.allowMassDeletion = 1;
    job.fastCopy = 1;
    job.detectMoves = detectMoves ? 1 : 0;
    QuietProgress progress;
    KeptRows plan;
    std::vector<std::string> include, exclude;
    std::string message;
    double start = Now();
    bool searched = SearchAndCompare(job, include, exclude, progress, plan, message);
    // In processing priority, as the program puts them.
    std::stable_sort(plan.rows.begin(), plan.rows.end(), [](const auto& a, const auto& b) {
        return ComparePriority(a.get(), b.get()) < 0;
    });
    run.search = Now() - start;
    for (const auto& row : plan.rows)
        run.moves += row->operation == Move ? 1 : 0;
    run.rows = plan.RowCount();
    SyncOptions options = MakeSyncOptions(job, true, "");
    QuietProgress window;
    struct : IDeleteQuestion {
        int AskDelete(const std::string&) override { return IDYES; }
        bool AskMassDeletion(const std::string&) override { return true; }
    } yes;
    start = Now();
    SyncOutcome outcome = ExecuteSync(plan, options, window, yes);
    run.execute = Now() - start;
    run.ok = searched && outcome.rowsFailed == 0 && outcome.end == SyncEnd::AllRows;
    if (!run.ok)
        std::printf("  (search %s, %d rows failed, end %d%s%s)\n", searched ? "done" : "failed",
                    outcome.rowsFailed, static_cast<int>(outcome.end),
                    outcome.failures.empty() ? "" : ": ",
                    outcome.failures.empty() ? "" : outcome.failures[0].reason.c_str());
    return run;
}

} // namespace

int main() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "orvane_bench_moves";
    RemoveTree(base);
    std::printf("a renamed folder of %d files of %lu MiB on the processing side, mode 2:\n", kFiles,
                kFileBytes >> 20);
    Run moved = RunJob(base, true);
    RemoveTree(base);
    std::printf("  with move detection:    search %.3f s, execution %.3f s, total %.3f s, %d rows "
                "(%d moves)%s (target under 2 s)\n",
                moved.search, moved.execute, moved.search + moved.execute, moved.rows, moved.moves,
                moved.ok ? "" : " FAILED");
    Run copied = RunJob(base, false);
    RemoveTree(base);
    std::printf(
        "  without:                search %.3f s, execution %.3f s, total %.3f s, %d rows%s\n",
        copied.search, copied.execute, copied.search + copied.execute, copied.rows,
        copied.ok ? "" : " FAILED");
    std::printf("  ratio with / without:   %.3f\n",
                (moved.search + moved.execute) / (copied.search + copied.execute));
    return moved.ok && copied.ok ? 0 : 1;
}
