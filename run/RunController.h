#pragma once
// A run from start to end, without any window: the job taken in and checked, the
// search, then the plan carried out or written as a batch file, and the facts the
// exit code comes from. The windows take part only through IRunHost.
#include <memory>
#include <string>
#include <vector>

#include "engine/PairMemory.h"
#include "engine/SearchCore.h"
#include "exec/FolderLocks.h"
#include "exec/SyncExecutor.h"
#include "run/PlanRows.h"
#include "run/RunHistory.h"
#include "run/RunFacts.h"
#include "run/RunHost.h"
#include "run/StartArguments.h"

class JobContext;

class RunController {
public:
    explicit RunController(JobContext& jobs) : jobs_(jobs) {}
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    // The window side of the run: set once it exists, cleared before it goes.
    void SetHost(IRunHost* host) { host_ = host; }
    // An unattended run ("-s"): nobody answers, nothing is shown, nothing is asked.
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    bool IsUnattended() const { return unattended_; }

    // The first job after start-up. Unattended: the job file is read, the command
    // line's folders replace its own, the values are checked and the folders made
    // absolute, then the job is searched and carried out. Otherwise the settings
    // dialog for the job, and a search when it is confirmed.
    void StartFirstJob(const StartArguments& arguments);
    // The settings dialog for a job file (empty: the default job file), and a
    // search when it is confirmed.
    void EditAndSearch(const std::string& jobPath);
    // Replaces the plan with the current job's planned actions, in processing
    // priority; after a failure or a stop the plan is empty and the user is told why.
    void Search();
    // Carries out the plan's rows and tells how it went.
    void Synchronise();
    // Writes the plan's rows as a batch file at `path` and tells how it went.
    void ExportBatch(const std::string& path);

    // The runs over the current job's two folders, newest first.
    std::vector<RunSummary> History() const;
    // Replaces the plan with the rows that undo the run that started at
    // `start` ("20261208-093015"); false, with the user told why, when there
    // is no such run or a folder is not free. Carrying the plan out is a run
    // like any other, recorded as the undo of that run.
    bool PlanUndo(const std::string& start);

    PlanRows& Plan() { return plan_; }
    const PlanRows& Plan() const { return plan_; }
    // Why the last search ended early, or how many entries it left out: the
    // first line of the next log.
    const std::string& LastMessage() const { return lastMessage_; }
    // What the last search left out, by full path; none of it is planned.
    const std::vector<std::string>& LeftOutPaths() const { return leftOutPaths_; }
    const SyncOutcome& LastSync() const { return lastSync_; }
    RunFacts Facts() const;
    // Where the pair's memory and the runs' records are kept (tests put them
    // elsewhere); empty: the user's local application data.
    void SetStateFolder(const std::string& folder) { stateFolder_ = folder; }
    void SetHistoryFolder(const std::string& folder) { historyFolder_ = folder; }
    // Whether the last search decided against a memory it could trust.
    bool SearchHadMemory() const { return searchHadMemory_; }

private:
    // Checks an unattended job's values; true, with the user told why, when refused.
    bool RefuseJob(const StartArguments& arguments);
    // Takes both folders of the current job for this run, so that no other run
    // works in them meanwhile, and deals with what a killed run left there.
    // False, with the user told which folder is in use, when one is not free.
    bool TakeFolders();
    // Tells an unattended run's refusal, and writes it as the log's only line
    // when the job asks for a log.
    void TellRefusal(const std::string& text);
    void Tell(const std::string& text);
    // A line for the next log that belongs to no row: what the run found and
    // passed over or put right. Unattended, it is told as well.
    void Note(const std::string& text);
    // Unattended, nobody reads the window or the status bar: whatever keeps the
    // run from ending with 0 goes to the standard error, each failed row with its
    // reason and each left-out entry with its path.
    void ReportRunEnd();
    // Takes the rows that were carried out into the pair's memory and writes
    // it; the rows that were not keep what the memory held for them.
    // False when the memory could not be written.
    bool RememberPair();
    // The run's record, made ready before the rows are carried out; the
    // records beyond the job's limits go first.
    std::unique_ptr<RunRecorder> StartRecord();

    JobContext& jobs_;
    IRunHost* host_ = nullptr;
    bool unattended_ = false;
    PlanRows plan_;
    std::string lastMessage_;
    SearchCounts searchCounts_;
    std::vector<std::string> leftOutPaths_;
    bool jobRefused_ = false;
    bool folderInUse_ = false;
    FolderLocks locks_;
    SYSTEMTIME runStart_ = {};
    // Lines for the next log: a killed run's leftovers dealt with.
    std::vector<std::string> pendingNotes_;
    SearchEnd searchEnd_ = SearchEnd::NotRun;
    SyncOutcome lastSync_;
    std::string stateFolder_;
    std::string historyFolder_;
    // The run the plan undoes ("20261208-093015"); empty for a search's plan.
    std::string undoing_;
    // The memory of a two-way job that keeps one: its file, what the pair
    // holds after the rows that were carried out, and whether it is in use.
    std::string statePath_;
    PairMemory nextMemory_;
    bool rememberPair_ = false;
    bool searchHadMemory_ = false;
};

// The status text after a search that left entries out.
std::string LeftOutText(size_t count);
// The status text of a plan that undoes a run: its start and the rows.
std::string UndoPlanText(const RunSummary& run, int rows);
// Why an undo has nothing to do.
inline constexpr const char* kNothingToUndoText = "元に戻せる実行がありません";
