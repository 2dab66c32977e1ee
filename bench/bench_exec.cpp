// Executing 10,000 small-file copies through the executor in fast copy mode, against
// a bare CopyFileA loop over the same files in the same run; the safe copy alone
// (temporary file and rename, no check before the row) shows what the check costs.
// Then one file of 1 GiB, safe copy against a bare CopyFileA. The files go in chunks,
// each chunk copied by every method in turn (the order rotating), so that a change
// in the machine's load falls on all methods alike; each method fills a folder of
// its own, which grows alike for all. Last, the same files replaced again: the
// executor with versions kept (each old version moved into the run's versions
// folder, every temporary and backup name written to the run's journal) against
// a bare CopyFileA loop over existing targets.
#include <functional>

#include "ExecBench.h"
#include "exec/FolderLocks.h"
#include "exec/SafeCopy.h"
#include "exec/SyncExecutor.h"

namespace {

const int kFiles = 10000;
const int kChunk = 250;

std::vector<std::string> MakeSourceFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::string content(200, 'x');
    for (int i = 0; i < kFiles; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "表ソ能_%05d.txt", i);
        names.push_back(name);
        WriteSmallFile(folder + "\\" + name, content);
    }
    return names;
}

BenchRows CopyRows(const std::string& from, const std::string& to,
                   const std::vector<std::string>& names) {
    SyncItem item;
    item.operation = Copy;
    item.reason = Existence;
    item.subject.rootFolder = from;
    item.subject.relativeFolder = std::string(1, '\\');
    item.counterpart.rootFolder = to;
    BenchRows rows;
    for (const std::string& name : names) {
        item.subject.name = name;
        // What the search would have seen, for the executor's check before each copy.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(item.SourcePath().c_str(), GetFileExInfoStandard, &data)) {
            item.subject.lastWriteTime = data.ftLastWriteTime;
            item.subject.sizeHigh = data.nFileSizeHigh;
            item.subject.sizeLow = data.nFileSizeLow;
        }
        rows.items.push_back(item);
    }
    return rows;
}

double BareLoop(const std::string& from, const std::string& to, const BenchRows& rows) {
    double start = Now();
    int copied = 0;
    for (const SyncItem& item : rows.items)
        copied += CopyFileA((from + "\\" + item.subject.name).c_str(),
                            (to + "\\" + item.subject.name).c_str(), FALSE) != 0;
    double seconds = Now() - start;
    if (copied != rows.RowCount())
        std::printf("  bare loop copied only %d files\n", copied);
    return seconds;
}

double SafeCopyLoop(const std::string& from, const std::string& to, const BenchRows& rows) {
    double start = Now();
    int copied = 0;
    for (const SyncItem& item : rows.items) {
        SafeCopyRequest request;
        request.from = from + "\\" + item.subject.name;
        request.to = to + "\\" + item.subject.name;
        ActionError error;
        copied += SafeCopyFile(request, CopyHooks(), &error) == CopyEnd::Copied;
    }
    double seconds = Now() - start;
    if (copied != rows.RowCount())
        std::printf("  safe copy loop copied only %d files\n", copied);
    return seconds;
}

// One large file: a bare CopyFileA onto a fresh name against the safe copy.
void LargeFile(const std::string& folder) {
    const unsigned long long size = 1ull << 30;
    std::string source = folder + "\\large.bin";
    {
        FileHandle file(CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string block(1 << 20, 'L');
        DWORD written = 0;
        for (unsigned long long done = 0; done < size; done += block.size())
            WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written,
                      nullptr);
    }
    for (int turn = 0; turn < 2; ++turn) {
        std::string bare = folder + "\\bare.bin", safe = folder + "\\safe.bin";
        double start = Now();
        bool bareOk = CopyFileA(source.c_str(), bare.c_str(), FALSE) != 0;
        double bareSeconds = Now() - start;
        SafeCopyRequest request;
        request.from = source;
        request.to = safe;
        ActionError error;
        start = Now();
        bool safeOk = SafeCopyFile(request, CopyHooks(), &error) == CopyEnd::Copied;
        double safeSeconds = Now() - start;
        std::printf("1 GiB file, turn %d: bare CopyFileA %.2f s (%s), safe copy %.2f s (%s), "
                    "ratio %.3f\n",
                    turn, bareSeconds, bareOk ? "ok" : "failed", safeSeconds,
                    safeOk ? "ok" : "failed", safeSeconds / bareSeconds);
        DeleteFileA(bare.c_str());
        DeleteFileA(safe.c_str());
    }
    DeleteFileA(source.c_str());
}

double Executor(const BenchRows& rows, const SyncOptions& options, QuietProgress& progress) {
    AlwaysYes answers;
    double start = Now();
    SyncOutcome outcome = ExecuteSync(rows, options, progress, answers);
    double seconds = Now() - start;
    if (outcome.rowsReached != rows.RowCount() || outcome.rowsFailed != 0)
        std::printf("  executor reached %d rows, %d failed\n", outcome.rowsReached,
                    outcome.rowsFailed);
    return seconds;
}

// Rows that replace each target (as a search sees targets older than their sources).
BenchRows ReplaceRows(const std::string& from, const std::string& to,
                      const std::vector<std::string>& names) {
    BenchRows rows = CopyRows(from, to, names);
    const SYSTEMTIME year2000 = {2000, 1, 6, 1, 0, 0, 0, 0};
    FILETIME old;
    SystemTimeToFileTime(&year2000, &old);
    for (SyncItem& item : rows.items) {
        item.reason = Date;
        item.counterpart.relativeFolder = item.subject.relativeFolder;
        item.counterpart.name = item.subject.name;
        std::string target = item.counterpart.FullPath();
        FileHandle file(CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        SetFileTime(file.Get(), nullptr, nullptr, &old);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data)) {
            item.counterpart.lastWriteTime = data.ftLastWriteTime;
            item.counterpart.sizeHigh = data.nFileSizeHigh;
            item.counterpart.sizeLow = data.nFileSizeLow;
        }
    }
    return rows;
}

std::string Subfolder(const std::string& parent, const char* name) {
    std::string folder = parent + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

struct Method {
    const char* name;
    std::string target;
    std::function<double(const BenchRows&)> copy;
    double seconds = 0;
};

} // namespace

int main() {
    ScratchFolder scratch("orvane_bench_exec");
    std::string source = Subfolder(scratch.Path(), "source");
    std::vector<std::string> names = MakeSourceFiles(source);
    std::string logs = Subfolder(scratch.Path(), "logs");

    SyncOptions fast;
    fast.fastCopy = true;
    SyncOptions logged = fast;
    logged.outputLog = true;
    logged.logFolder = logs;
    QuietProgress quiet;
    PumpingProgress pumping;
    const std::string bareTarget = Subfolder(scratch.Path(), "bare");
    // Versions kept, with the run's locks and journal, as a run of the program has them.
    const std::string versionsTarget = Subfolder(scratch.Path(), "versions");
    FolderLocks locks;
    std::string refusal;
    if (!locks.Take({{source, false}, {versionsTarget, true}}, &refusal))
        std::printf("  %s\n", refusal.c_str());
    SyncOptions versions = fast;
    versions.versions.keep = true;
    versions.journal = &locks;
    versions.referenceFolder = versionsTarget;
    Method methods[] = {
        {"bare CopyFileA loop", bareTarget,
         [&](const BenchRows& rows) { return BareLoop(source, bareTarget, rows); }},
        {"safe copy alone", Subfolder(scratch.Path(), "safe"), nullptr},
        {"executor, fast copy", Subfolder(scratch.Path(), "exec"),
         [&](const BenchRows& rows) { return Executor(rows, fast, quiet); }},
        {"executor, fast copy, log", Subfolder(scratch.Path(), "logged"),
         [&](const BenchRows& rows) { return Executor(rows, logged, quiet); }},
        {"executor, fast copy, paced pumping poll", Subfolder(scratch.Path(), "pumped"),
         [&](const BenchRows& rows) { return Executor(rows, fast, pumping); }},
        {"executor, fast copy, versions, journal", versionsTarget,
         [&](const BenchRows& rows) { return Executor(rows, versions, quiet); }},
    };
    const int methodCount = 6;
    methods[1].copy = [&](const BenchRows& rows) {
        return SafeCopyLoop(source, methods[1].target, rows);
    };

    for (int first = 0; first < kFiles; first += kChunk) {
        std::vector<std::string> chunk(names.begin() + first, names.begin() + first + kChunk);
        for (int turn = 0; turn < methodCount; ++turn) {
            Method& method = methods[(first / kChunk + turn) % methodCount];
            method.seconds += method.copy(CopyRows(source, method.target, chunk));
        }
    }
    std::printf("%d copies of 200-byte files, in chunks of %d\n", kFiles, kChunk);
    for (const Method& method : methods)
        std::printf("  %-36s %7.3f s  %7.1f us/file  ratio %.3f\n", method.name, method.seconds,
                    method.seconds / kFiles * 1e6, method.seconds / methods[0].seconds);
    std::printf("executor (safe copy and check before each row) against the bare loop: "
                "ratio %.3f (target <= 1.2)\n",
                methods[2].seconds / methods[0].seconds);
    std::printf("executor with versions kept and the journal against the bare loop: "
                "ratio %.3f (target <= 1.2)\n",
                methods[5].seconds / methods[0].seconds);

    // Every file replaced once more, chunk by chunk, the methods taking turns: the
    // bare loop, the executor keeping nothing (the old version goes in the same
    // rename), and the executor keeping each old version in the versions folder.
    const std::string plainTarget = methods[2].target;
    double replaced[3] = {0, 0, 0};
    for (int first = 0; first < kFiles; first += kChunk) {
        std::vector<std::string> chunk(names.begin() + first, names.begin() + first + kChunk);
        for (int turn = 0; turn < 3; ++turn) {
            int method = (first / kChunk + turn) % 3;
            if (method == 0)
                replaced[0] += BareLoop(source, bareTarget, CopyRows(source, bareTarget, chunk));
            else if (method == 1)
                replaced[1] += Executor(ReplaceRows(source, plainTarget, chunk), fast, quiet);
            else
                replaced[2] +=
                    Executor(ReplaceRows(source, versionsTarget, chunk), versions, quiet);
        }
    }
    std::printf("%d replacements of existing files:\n", kFiles);
    const char* replaceNames[] = {"bare CopyFileA over the old file", "executor, keeping nothing",
                                  "executor, keeping each old version"};
    for (int method = 0; method < 3; ++method)
        std::printf("  %-36s %7.3f s  %7.1f us/file  ratio %.3f\n", replaceNames[method],
                    replaced[method], replaced[method] / kFiles * 1e6,
                    replaced[method] / replaced[0]);
    std::printf("keeping each old version against keeping nothing: ratio %.3f\n",
                replaced[2] / replaced[1]);

    // The shell's copy, used when fast copy mode is off; for information.
    const int shellFiles = 1000;
    std::vector<std::string> few(names.begin(), names.begin() + shellFiles);
    SyncOptions shell;
    double shellSeconds =
        Executor(CopyRows(source, Subfolder(scratch.Path(), "shell"), few), shell, quiet);
    std::printf("shell copy: %.1f us/file over %d files\n", shellSeconds / shellFiles * 1e6,
                shellFiles);
    if (GetEnvironmentVariableA("ORVANE_BENCH_LARGE", nullptr, 0) > 0)
        LargeFile(scratch.Path());
    else
        std::printf("1 GiB file: set ORVANE_BENCH_LARGE=1 to measure (needs 3 GiB free)\n");
    return 0;
}
