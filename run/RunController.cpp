#include "run/RunController.h"

#include "base/TextEscape.h"
#include "engine/ThrottledProgress.h"
#include "engine/NameOrder.h"
#include "exec/BatchWriter.h"
#include "exec/OperationLog.h"
#include "exec/Premise.h"
#include "exec/StatusText.h"
#include "exec/Versions.h"
#include "job/JobCheck.h"
#include "job/JobContext.h"
#include "job/JobFolders.h"
#include "job/JobLists.h"
#include "run/SyncStateFile.h"
#include "run/UndoPlan.h"

#include <algorithm>

namespace {

// The next log's first note when the pair's memory could not be written: the
// old memory stays, so nothing is decided on a record of rows it lacks.
const char kNotRememberedText[] = "同期結果を記憶できませんでした（前回の記憶のまま比較します）";
// The next log's first note when the run's record could not be written.
const char kNotRecordedText[] =
    "前回の同期処理の実行の記録を書き込めませんでした（その実行は実行履歴から元に戻せません）";

} // namespace

std::string UndoPlanText(const RunSummary& run, int rows) {
    const std::string& start = run.record.header.start;
    return start.substr(0, 4) + "/" + start.substr(4, 2) + "/" + start.substr(6, 2) + " " +
           start.substr(9, 2) + ":" + start.substr(11, 2) + ":" + start.substr(13, 2) +
           " の実行を元に戻す予定です（" + std::to_string(rows) + "件）";
}

std::string LeftOutText(size_t count) {
    return "対象外の項目が" + std::to_string(count) + "件あります（処理しません）";
}

void RunController::Tell(const std::string& text) {
    host_->Tell(text);
}

void RunController::StartFirstJob(const StartArguments& arguments) {
    if (!unattended_) {
        if (host_->EditJob(arguments.jobPath, arguments.processingFolder,
                           arguments.referenceFolder))
            Search();
        else
            jobs_.currentJobPath.clear();
        return;
    }
    JobSettings& job = jobs_.currentJob;
    std::string unreadable = jobs_.LoadJob(job, arguments.jobPath);
    if (!unreadable.empty()) {
        // Nothing of such a job is trusted, its log folder included.
        jobRefused_ = true;
        lastMessage_ = unreadable;
        Tell(lastMessage_);
        return;
    }
    // The command line's folders count for this run only; the job file keeps its own.
    if (!arguments.processingFolder.empty())
        job.processingFolder = arguments.processingFolder;
    if (!arguments.referenceFolder.empty())
        job.referenceFolder = arguments.referenceFolder;
    if (RefuseJob(arguments))
        return;
    // Unattended, the folders stay this run's from before the search to the
    // last row, without a gap another run could use.
    if (!TakeFolders())
        return;
    if (arguments.undo) {
        // The job's last run that is not undone yet: an undo's undo brings the
        // run's result back.
        std::vector<RunSummary> history = History();
        auto last = std::find_if(history.begin(), history.end(),
                                 [](const RunSummary& run) { return !run.undone; });
        if (last == history.end()) {
            searchEnd_ = SearchEnd::Failed;
            lastMessage_ = kNothingToUndoText;
            Tell(lastMessage_);
        } else if (PlanUndo(last->record.header.start)) {
            Synchronise();
        }
    } else {
        Search();
        Synchronise();
    }
    locks_.Release();
}

bool RunController::TakeFolders() {
    const JobSettings& job = jobs_.currentJob;
    std::vector<LockedFolder> folders;
    // An empty folder is the search's to report.
    if (!job.processingFolder.empty())
        folders.push_back({job.processingFolder, job.mode != UpdateReference});
    if (!job.referenceFolder.empty())
        folders.push_back({job.referenceFolder, job.mode != UpdateProcessing});
    std::string refusal;
    if (!locks_.Take(folders, &refusal)) {
        folderInUse_ = true;
        if (unattended_)
            TellRefusal(refusal);
        else
            Tell(refusal);
        return false;
    }
    GetLocalTime(&runStart_);
    OldVersions oldVersions(VersionSettingsOf(job), runStart_);
    std::vector<std::string> notes;
    locks_.ClearLeftovers(oldVersions, &notes);
    for (std::string& note : oldVersions.TakeNotes())
        notes.push_back(std::move(note));
    for (const std::string& note : notes)
        Note(note);
    return true;
}

void RunController::Note(const std::string& text) {
    pendingNotes_.push_back(text);
    // Nobody reads the log of an unattended run unless it is asked for.
    if (unattended_)
        Tell(text);
}

void RunController::TellRefusal(const std::string& text) {
    const JobSettings& job = jobs_.currentJob;
    lastMessage_ = text;
    Tell(text);
    if (job.outputLog != 0) {
        OperationLog log;
        if (!log.Open(job.logFolder, text))
            Tell("ログファイルが開けません\r\n" + EscapeForText(log.Path()));
    }
}

bool RunController::RefuseJob(const StartArguments& arguments) {
    JobSettings& job = jobs_.currentJob;
    std::vector<JobProblem> problems =
        CheckUnattendedJob(jobs_.currentJobPath, job, !arguments.processingFolder.empty(),
                           !arguments.referenceFolder.empty());
    if (problems.empty()) {
        // In the settings dialog's form, once, here: every later use of the
        // folders (search, log, messages) sees the same text. The lists and the
        // versions folder are checked against the folders in that form.
        NormaliseJobFolders(job);
        problems = CheckJobLists(job);
        std::string versionsProblem = VersionsFolderProblem(job);
        if (!versionsProblem.empty())
            problems.push_back({"VersionsDir", versionsProblem});
    }
    if (problems.empty())
        return false;
    jobRefused_ = true;
    std::string reasons;
    bool logTrusted = true; // a log asked for by values that were refused goes nowhere
    for (const JobProblem& problem : problems) {
        reasons += (reasons.empty() ? "" : "\r\n") + problem.text;
        if (problem.key == "OutputLog" || problem.key == "LogDir")
            logTrusted = false;
    }
    std::string text = "処理定義ファイルの値が正しくないため、処理を行いませんでした\r\n" + reasons;
    if (logTrusted) {
        TellRefusal(text);
    } else {
        lastMessage_ = text;
        Tell(text);
    }
    return true;
}

void RunController::EditAndSearch(const std::string& jobPath) {
    if (host_->EditJob(jobPath, "", ""))
        Search();
}

void RunController::Search() {
    undoing_.clear();
    const JobSettings& job = jobs_.currentJob;
    // Interactively the folders are this run's only while it reads or changes
    // them: a list left open must not keep a scheduled run out.
    const bool ownFolders = !unattended_;
    if (ownFolders && !TakeFolders()) {
        // Nothing done; rows of an earlier job must not stay to be carried out
        // without their folders held.
        plan_.Clear();
        host_->ShowPlan();
        return;
    }
    lastMessage_.clear();
    host_->ShowSearchStart(job, jobs_.currentJobPath);
    // The list forgets the old rows before they go.
    plan_.Clear();
    host_->ShowPlan();
    bool completed = false;
    {
        OperationScope operation(*host_, "処理の準備をしています");
        ThrottledProgress progress(operation.Progress());
        std::vector<std::string> includeExtensions, excludeExtensions;
        searchCounts_ = SearchCounts();
        // A memory that is missing, another pair's or damaged is no memory:
        // today's rules, and nothing deleted on its strength.
        PairMemory lastMemory;
        nextMemory_ = PairMemory();
        rememberPair_ = job.mode == Bidirectional && job.rememberState != 0;
        statePath_ = rememberPair_
                         ? StateFilePath(job.processingFolder, job.referenceFolder, stateFolder_)
                         : std::string();
        rememberPair_ = rememberPair_ && !statePath_.empty();
        MemoryRead memory = rememberPair_ ? ReadPairMemory(statePath_, job.processingFolder,
                                                           job.referenceFolder, lastMemory)
                                          : MemoryRead::None;
        searchHadMemory_ = memory == MemoryRead::Fits;
        if (memory == MemoryRead::DoesNotFit)
            Note(kMemoryDoesNotFitText);
        completed = SearchAndCompare(job, includeExtensions, excludeExtensions, progress, plan_,
                                     lastMessage_, SystemFileFinder(), &searchCounts_,
                                     &leftOutPaths_, searchHadMemory_ ? &lastMemory : nullptr,
                                     rememberPair_ ? &nextMemory_ : nullptr);
        if (completed) {
            progress.SetLine1("処理優先順にソート中");
            progress.SetLine2("（中断するのに時間がかかる場合があります）");
            progress.Refresh();
            plan_.SortByPriority();
        } else {
            plan_.Clear();
            leftOutPaths_.clear();
            rememberPair_ = false;
        }
    }
    host_->ShowPlan();
    if (ownFolders)
        locks_.Release();
    if (completed) {
        searchEnd_ = SearchEnd::Completed;
        if (!leftOutPaths_.empty()) {
            lastMessage_ = LeftOutText(leftOutPaths_.size());
            host_->ShowStatus(lastMessage_);
        }
        return;
    }
    // A failure always says why; only a stop leaves the text empty.
    searchEnd_ = lastMessage_.empty() ? SearchEnd::Stopped : SearchEnd::Failed;
    if (searchEnd_ == SearchEnd::Stopped)
        lastMessage_ = "処理を中断しました";
    Tell(lastMessage_);
}

void RunController::Synchronise() {
    // Unattended, the folders are held since before the search.
    const bool ownFolders = !unattended_;
    if (ownFolders && !TakeFolders())
        return; // nothing done
    SyncOptions options = MakeSyncOptions(jobs_.currentJob, unattended_, lastMessage_);
    // An undo means to remove what the run made, however much: the guard
    // against a wrong folder is the record, and the conflicts it keeps.
    options.countsKnown = searchCounts_.complete && undoing_.empty();
    options.processingFound = searchCounts_.processing;
    options.referenceFound = searchCounts_.reference;
    options.leftOutPaths = &leftOutPaths_;
    options.runStart = runStart_;
    options.journal = &locks_;
    options.notesBefore = &pendingNotes_;
    std::unique_ptr<RunRecorder> record = StartRecord();
    options.recorder = record.get();
    lastSync_ = ExecuteSync(plan_, options, *host_, *host_);
    // Written while the folders are still this run's.
    bool remembered = lastSync_.end == SyncEnd::LogNotOpened || lastSync_.end == SyncEnd::Refused ||
                      RememberPair();
    if (ownFolders)
        locks_.Release();
    if (lastSync_.end != SyncEnd::LogNotOpened)
        pendingNotes_.clear();
    if (!remembered)
        pendingNotes_.push_back(kNotRememberedText);
    if (record->Failed())
        Note(kNotRecordedText);
    if (lastSync_.end == SyncEnd::LogNotOpened) {
        // Unattended, the path tells where the log was looked for.
        Tell(unattended_ ? "ログファイルが開けません\r\n" + EscapeForText(lastSync_.logPath)
                         : "ログファイルが開けません");
        return;
    }
    host_->ShowStatus(SyncStatusText(lastSync_));
    if (!lastSync_.logComplete)
        Tell(kLogIncompleteText);
    if (unattended_)
        ReportRunEnd();
}

std::unique_ptr<RunRecorder> RunController::StartRecord() {
    const JobSettings& job = jobs_.currentJob;
    std::string folder = HistoryFolder(job.processingFolder, job.referenceFolder, historyFolder_);
    VersionSettings versions = VersionSettingsOf(job);
    // The records go with the runs' versions, under the same limits.
    PruneRunRecords(folder, versions.keep ? versions.days : kDefaultVersionDays,
                    versions.keep ? versions.runs : 0, runStart_);
    OldVersions nets(versions, runStart_);
    RunRecordHeader header;
    header.start = RunFolderName(runStart_);
    header.jobPath = jobs_.currentJobPath;
    header.processingFolder = job.processingFolder;
    header.referenceFolder = job.referenceFolder;
    header.processingVersions = nets.FolderFor(job.processingFolder);
    header.referenceVersions = nets.FolderFor(job.referenceFolder);
    header.undoes = undoing_;
    return std::make_unique<RunRecorder>(folder, header, UserSeal::OfThisUser());
}

std::vector<RunSummary> RunController::History() const {
    const JobSettings& job = jobs_.currentJob;
    return RunHistory(HistoryFolder(job.processingFolder, job.referenceFolder, historyFolder_),
                      job.processingFolder, job.referenceFolder);
}

bool RunController::PlanUndo(const std::string& start) {
    const JobSettings& job = jobs_.currentJob;
    std::vector<RunSummary> history = History();
    auto run = std::find_if(history.begin(), history.end(), [&](const RunSummary& summary) {
        return summary.record.header.start == start;
    });
    const bool ownFolders = !unattended_;
    if (run == history.end() || (ownFolders && !TakeFolders())) {
        if (run == history.end()) {
            lastMessage_ = kNothingToUndoText;
            Tell(lastMessage_);
        }
        plan_.Clear();
        host_->ShowPlan();
        return false;
    }
    lastMessage_.clear();
    leftOutPaths_.clear();
    searchCounts_ = SearchCounts();
    host_->ShowSearchStart(job, jobs_.currentJobPath);
    plan_.Clear();
    ::PlanUndo(run->record, job.processingFolder, job.referenceFolder, plan_);
    host_->ShowPlan();
    if (ownFolders)
        locks_.Release();
    undoing_ = start;
    rememberPair_ = false;
    searchEnd_ = SearchEnd::Completed;
    host_->ShowStatus(UndoPlanText(*run, plan_.RowCount()));
    return true;
}

bool RunController::RememberPair() {
    if (!undoing_.empty()) {
        // The memory says what both sides held after the run that is undone:
        // decided against it, the undone side's old versions would look newer
        // and travel. Without memory the next search copies, and deletes nothing.
        if (jobs_.currentJob.rememberState != 0 && lastSync_.rowsReached > 0) {
            const JobSettings& job = jobs_.currentJob;
            std::string path =
                StateFilePath(job.processingFolder, job.referenceFolder, stateFolder_);
            if (!path.empty())
                DeleteFileA(path.c_str());
        }
        return true;
    }
    if (!rememberPair_)
        return true;
    for (int index : lastSync_.succeededRows) {
        const SyncItem& item = plan_.Row(index);
        std::string relativePath = item.subject.RelativePath();
        std::string key = NameKey(relativePath);
        if (item.operation == Delete) {
            nextMemory_.Forget(key);
            continue;
        }
        // What both sides hold now, as the file system tells it.
        PathState source = StateOf(item.SourcePath());
        PathState target = StateOf(item.DestinationPath());
        if (!source.exists || !target.exists || source.folder != target.folder ||
            source.size != target.size)
            continue;
        bool subjectIsProcessing = item.direction == ProcessingToReference;
        RememberedEntry entry;
        entry.present = true;
        entry.folder = source.folder;
        entry.size = source.folder ? 0 : source.size;
        entry.processingTime = subjectIsProcessing ? source.lastWriteTime : target.lastWriteTime;
        entry.referenceTime = subjectIsProcessing ? target.lastWriteTime : source.lastWriteTime;
        nextMemory_.Put(key, relativePath, entry);
    }
    const JobSettings& job = jobs_.currentJob;
    // Carried out once: a second run of the same list starts from what was written.
    rememberPair_ = false;
    return WritePairMemory(statePath_, job.processingFolder, job.referenceFolder, nextMemory_);
}

void RunController::ReportRunEnd() {
    // Names in the escape form: a line break in a name from another system must
    // not start a line that reads as one of the program's.
    for (const std::string& path : leftOutPaths_)
        Tell(kLeftOutPrefix + EscapeForText(path));
    for (const std::string& path : lastSync_.conflicts)
        Tell(kConflictPrefix + EscapeForText(path) + "\r\n" + kReasonPrefix + kConflictReasonText);
    for (const RowFailure& failure : lastSync_.failures)
        Tell("失敗:" + EscapeForText(failure.command) + "\r\n" + kReasonPrefix +
             EscapeForText(failure.reason));
    if (!lastSync_.refusal.empty())
        Tell(lastSync_.refusal);
    else if (lastSync_.end != SyncEnd::AllRows || lastSync_.rowsFailed > 0 ||
             !lastSync_.conflicts.empty())
        Tell(SyncStatusText(lastSync_));
    if (!leftOutPaths_.empty())
        Tell(LeftOutText(leftOutPaths_.size()));
}

void RunController::ExportBatch(const std::string& path) {
    BatchOutcome outcome = ::ExportBatch(path, plan_, *host_, *host_);
    host_->ShowStatus(BatchStatusText(outcome));
    if (outcome.end == BatchEnd::NotCreated)
        Tell(BatchNotCreatedText(path, outcome));
    else if (outcome.end == BatchEnd::WriteFailed)
        Tell(kBatchIncompleteText);
    if (outcome.rowsLeftOut > 0)
        Tell(BatchLeftOutText(outcome.rowsLeftOut));
}

RunFacts RunController::Facts() const {
    RunFacts facts;
    facts.unattended = unattended_;
    facts.jobRefused = jobRefused_;
    facts.folderInUse = folderInUse_;
    facts.search = searchEnd_;
    facts.syncEnd = lastSync_.end;
    facts.rowsFailed = lastSync_.rowsFailed;
    facts.rowsNotDone = lastSync_.RowsNotDone();
    facts.leftOut = static_cast<int>(leftOutPaths_.size());
    facts.conflicts = static_cast<int>(lastSync_.conflicts.size());
    facts.logIncomplete = !lastSync_.logComplete;
    return facts;
}
