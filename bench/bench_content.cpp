// The costs of trusting bytes instead of times. First, large files copied by
// the executor with each copy read back and compared before it takes its name,
// against the same copies unverified. Second, the search of two trees whose
// files hold the same bytes but other times, with content compared, against
// reading both trees once with plain reads. Prints times and ratios; the
// folders are made in the temporary folder and removed.
#include <windows.h>

#include <cstdio>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "BenchTrees.h"
#include "ExecBench.h"
#include "engine/SearchCore.h"
#include "exec/SyncExecutor.h"
#include "job/JobSettings.h"

namespace {

// `count` files of `bytes` bytes, each its own content, all with `time`.
bool WriteFiles(const std::string& folder, int count, DWORD bytes, const FILETIME& time) {
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<char> content(bytes);
    for (DWORD i = 0; i < bytes; ++i)
        content[i] = static_cast<char>(i * 2654435761u >> 24);
    for (int i = 0; i < count; ++i) {
        std::memcpy(content.data(), &i, sizeof i);
        FileHandle file(CreateFileA((folder + "\\file" + std::to_string(i) + ".bin").c_str(),
                                    GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!file.IsOpen() || !WriteFile(file.Get(), content.data(), bytes, &written, nullptr) ||
            !SetFileTime(file.Get(), nullptr, nullptr, &time))
            return false;
    }
    return true;
}

JobSettings JobOver(const std::string& p, const std::string& r) {
    JobSettings job;
    job.processingFolder = p;
    job.referenceFolder = r;
    job.mode = UpdateReference;
    job.includeSubfolders = 1;
    job.deleteEnabled = 1;
    job.fastCopy = 1;
    return job;
}

bool Search(const JobSettings& job, KeptRows* plan) {
    QuietProgress progress;
    std::vector<std::string> include, exclude;
    std::string message;
    return SearchAndCompare(job, include, exclude, progress, *plan, message);
}

// Sends a copied file's bytes to the disk, as a stick ejected or a volume
// without write caching does.
bool FlushFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    return file.IsOpen() && FlushFileBuffers(file.Get());
}

enum class Copying { Cached, Flushed, Verified };

// Seconds to copy the processing side's files into an empty reference side.
double CopyAll(const std::string& base, Copying copying, int files, DWORD bytes) {
    const std::string p = base + "\\p", r = base + "\\r";
    CreateDirectoryA(base.c_str(), nullptr);
    if (!WriteFiles(p, files, bytes, FILETIME{0x5A2C0000u, 0x01D9A000u}) ||
        !CreateDirectoryA(r.c_str(), nullptr))
        return -1;
    // The source reaches the disk before the clock starts, and the system's
    // write-back of earlier rounds has time to end: otherwise the copy
    // competes with it, by chance more in one round than in another.
    for (int i = 0; i < files; ++i)
        FlushFile(p + "\\file" + std::to_string(i) + ".bin");
    Sleep(2000);
    JobSettings job = JobOver(p, r);
    job.verifyCopies = copying == Copying::Verified ? 1 : 0;
    KeptRows plan;
    if (!Search(job, &plan))
        return -1;
    SyncOptions options = MakeSyncOptions(job, true, "");
    QuietProgress window;
    struct : IDeleteQuestion {
        int AskDelete(const std::string&) override { return IDYES; }
        bool AskMassDeletion(const std::string&) override { return true; }
    } yes;
    double start = Now();
    SyncOutcome outcome = ExecuteSync(plan, options, window, yes);
    bool flushed = true;
    for (int i = 0; copying == Copying::Flushed && i < files; ++i)
        flushed = FlushFile(r + "\\file" + std::to_string(i) + ".bin") && flushed;
    double seconds = Now() - start;
    RemoveTree(base);
    return flushed && outcome.rowsFailed == 0 && outcome.end == SyncEnd::AllRows ? seconds : -1;
}

// Seconds to read every file of `folder` once, block by block.
double ReadAll(const std::string& folder, int files) {
    std::vector<char> block(256 << 10);
    double start = Now();
    for (int i = 0; i < files; ++i) {
        FileHandle file(CreateFileA((folder + "\\file" + std::to_string(i) + ".bin").c_str(),
                                    GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        DWORD got = 0;
        while (
            file.IsOpen() &&
            ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr) &&
            got != 0) {
        }
    }
    return Now() - start;
}

// The shorter of two times, where -1 is none yet; a failure (-1) stays one.
double Best(double sofar, double measured) {
    if (measured < 0)
        return -2;
    return sofar == -1 || measured < sofar ? measured : sofar;
}

// A stop pressed while one large pair of files is compared: the time from the
// press to the end of the search.
double StopLatency(const std::string& base) {
    const std::string p = base + "\\p", r = base + "\\r";
    CreateDirectoryA(base.c_str(), nullptr);
    if (!WriteFiles(p, 1, 1u << 30, FILETIME{0x5A2C0000u, 0x01D9A100u}) ||
        !WriteFiles(r, 1, 1u << 30, FILETIME{0x5A2C0000u, 0x01D9A000u}))
        return -1;
    struct StopOnRequest : QuietProgress {
        std::atomic<bool> pressed{false};
        bool PollStop() override { return pressed; }
    } progress;
    JobSettings job = JobOver(p, r);
    job.compareContent = 1;
    KeptRows plan;
    std::vector<std::string> include, exclude;
    std::string message;
    std::atomic<double> pressedAt{0};
    std::thread user([&] {
        Sleep(200);
        pressedAt = Now();
        progress.pressed = true;
    });
    SearchAndCompare(job, include, exclude, progress, plan, message);
    const double ended = Now();
    user.join();
    RemoveTree(base);
    // -1: the comparison ended before the press.
    return pressedAt > 0 && ended >= pressedAt ? ended - pressedAt : -1;
}

void PrintRatio(const char* what, double measured, double baseline, const char* target) {
    if (measured < 0 || baseline < 0)
        std::printf("  %s: FAILED\n", what);
    else
        std::printf("  %s: %.3f s against %.3f s, ratio %.3f (%s)\n", what, measured, baseline,
                    measured / baseline, target);
}

} // namespace

int main() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "orvane_bench_content";
    RemoveTree(base);
    bool ok = true;

    const int largeFiles = 8;
    const DWORD largeBytes = 128u << 20;
    std::printf("%d files of %lu MiB copied by the executor into an empty folder:\n", largeFiles,
                largeBytes >> 20);
    // Alternated, best of three each: the disk's write-back of one round runs
    // into the next. A copy read back from the disk waits until its bytes are
    // there; an unverified one ends with them in the cache, so it is timed
    // both as it ends and with its bytes flushed to the disk.
    double cached = -1, flushed = -1, verified = -1;
    for (int round = 0; round < 3; ++round) {
        cached = Best(cached, CopyAll(base, Copying::Cached, largeFiles, largeBytes));
        flushed = Best(flushed, CopyAll(base, Copying::Flushed, largeFiles, largeBytes));
        verified = Best(verified, CopyAll(base, Copying::Verified, largeFiles, largeBytes));
    }
    PrintRatio("verified against unverified", verified, cached, "target at most 1.7");
    PrintRatio("verified against unverified with its bytes flushed to the disk", verified, flushed,
               "the cost of the read-back alone");
    ok = ok && cached > 0 && flushed > 0 && verified > 0;

    const int files = 2000;
    const DWORD bytes = 256u << 10;
    std::printf("two trees of %d files of %lu KiB, the same bytes, other times:\n", files,
                bytes >> 10);
    const std::string p = base + "\\p", r = base + "\\r";
    CreateDirectoryA(base.c_str(), nullptr);
    if (!WriteFiles(p, files, bytes, FILETIME{0x5A2C0000u, 0x01D9A100u}) ||
        !WriteFiles(r, files, bytes, FILETIME{0x5A2C0000u, 0x01D9A000u})) {
        std::printf("  the trees could not be written\n");
        RemoveTree(base);
        return 1;
    }
    // Both timed with the trees in the cache, best of three.
    ReadAll(p, files);
    ReadAll(r, files);
    double readOnce = -1;
    for (int round = 0; round < 3; ++round)
        readOnce = Best(readOnce, ReadAll(p, files) + ReadAll(r, files));
    JobSettings job = JobOver(p, r);
    KeptRows byTimes;
    double start = Now();
    bool searched = Search(job, &byTimes);
    const double listing = Now() - start;
    std::printf("  the search by times only: %.3f s, %d rows\n", listing, byTimes.RowCount());
    job.compareContent = 1;
    KeptRows plan;
    double compared = -1;
    for (int round = 0; round < 3; ++round) {
        plan.rows.clear();
        start = Now();
        searched = Search(job, &plan) && searched;
        compared = Best(compared, Now() - start);
    }
    std::printf("  rows planned with content compared: %d (0 expected)\n", plan.RowCount());
    ok = ok && searched && plan.RowCount() == 0;
    PrintRatio("search comparing content against reading both trees", searched ? compared : -1,
               readOnce, "target at most 1.1");
    PrintRatio("the same without the search's own listing", searched ? compared - listing : -1,
               readOnce, "the comparison's share");
    RemoveTree(base);

    const double latency = StopLatency(base);
    std::printf("a stop during the comparison of two 1 GiB files: the search ends %.1f ms after "
                "it (target under 100)\n",
                latency * 1000);
    return ok && latency >= 0 ? 0 : 1;
}
