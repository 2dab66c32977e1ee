#include "exec/SyncExecutor.h"

#include "base/WideFiles.h"
#include "engine/NameOrder.h"
#include "engine/SyncItem.h"
#include "engine/TemporaryName.h"
#include "exec/CommandText.h"
#include "exec/FileActions.h"
#include "exec/Premise.h"
#include "exec/ProgressText.h"
#include "job/JobSettings.h"

namespace {

// The note under a copy that was read back and found equal to its source.
const char* const kVerifiedNote = "コピー後に内容を確認しました";

// What became of one row.
enum class RowResult { Succeeded, Failed, Aborted, Stopped, Conflict };

class RowRunner {
public:
    RowRunner(const SyncOptions& options, OldVersions& oldVersions, IProgress& progress,
              IDeleteQuestion& question, ProgressFigures& figures)
        : options_(options), oldVersions_(oldVersions), progress_(progress), question_(question),
          figures_(figures) {}

    // The line after the row's log line: where the old version went.
    const std::string& Note() const { return note_; }
    // Why the last row failed.
    const ActionError& Error() const { return error_; }

    RowResult Run(const SyncItem& item) {
        note_.clear();
        place_ = OldVersions::Place();
        error_ = ActionError();
        switch (item.operation) {
        case Copy:
            return CopyItem(item);
        case Create:
            return CreateItem(item);
        case Delete:
            return DeleteItem(item);
        case Move:
            return MoveItem(item);
        case Conflict:
            return RowResult::Conflict; // only the user settles it
        default:
            return RowResult::Failed;
        }
    }

private:
    RowResult Failed(const ActionError& error) {
        error_ = error;
        return RowResult::Failed;
    }
    // The row's entry is not what the search saw: it is left alone.
    RowResult Changed(const std::string& path) {
        return Failed(StepFailed(ActionStep::ChangedSinceSearch, path, 0));
    }

    // Where a row's old version went, for the log and the record.
    void Placed(const OldVersions::Place& place, bool replaced) {
        place_ = place;
        note_ = OldVersions::NoteFor(place, replaced);
    }

    // Writes down in the run's record what a row did: on `root`'s side at
    // `relativePath`, leaving what is there now, its old version (as `old`
    // was) where place_ says.
    void Record(RecordedRow::Action action, const std::string& root,
                const std::string& relativePath, const FileEntry* old,
                const std::string& from = std::string()) {
        if (options_.recorder == nullptr)
            return;
        RecordedRow row;
        row.action = action;
        row.from = from;
        row.processingSide = root == options_.processingFolder;
        row.relativePath = relativePath;
        if (action == RecordedRow::Copied || action == RecordedRow::Replaced ||
            action == RecordedRow::Moved) {
            PathState left = StateOf(root + relativePath);
            row.size = left.size;
            row.time = left.lastWriteTime;
        }
        row.net = place_.net;
        const std::string versions = oldVersions_.FolderFor(root);
        if (place_.net == OldVersions::Net::Versions &&
            place_.saved.compare(0, versions.size(), versions) == 0)
            row.saved = place_.saved.substr(versions.size());
        if (old != nullptr) {
            row.oldSize = old->Size();
            row.oldTime = old->lastWriteTime;
        }
        options_.recorder->Add(row);
    }

    RowResult CopyItem(const SyncItem& item) {
        SafeCopyRequest request;
        request.from = item.SourcePath();
        request.to = item.DestinationPath();
        request.replace = item.Replaces();
        request.shellCopy = !options_.fastCopy;
        request.oldVersions = &oldVersions_;
        request.root = item.counterpart.rootFolder;
        request.relativePath =
            request.replace ? item.counterpart.RelativePath() : item.subject.RelativePath();
        OldVersions::Place place;
        request.place = &place;
        request.journal = options_.journal;
        request.verify = options_.verifyCopies;

        PathState source = StateOf(request.from);
        if (!StillAsSeen(source, item.subject))
            return Changed(request.from);
        if (request.replace) {
            PathState target = StateOf(request.to);
            // Done already, by an earlier run of the same list: nothing to copy.
            // Only under exactly this name: a case or normalisation variant the
            // file system also opens is another file to the user.
            if (HoldsSameVersion(target, source, options_.times) && HasExactName(request.to))
                return RowResult::Succeeded;
            if (!StillAsSeen(target, item.counterpart))
                return Changed(request.to);
        }
        // A new name is not looked at first: the final rename refuses a file that
        // is there, whenever it came. (Looking up a missing name costs a scan of
        // the whole folder on a case-sensitive file system under Wine.)

        // The target's folder stays where the plan placed it until the copy is
        // in place.
        HeldFolder held;
        ActionError outside;
        if (!oldVersions_.Bounds().Hold(
                request.root, request.relativePath, &held, &outside, nullptr,
                request.replace ? EntryCheck::Existing : EntryCheck::NewName))
            return Failed(outside);

        CopyHooks hooks;
        hooks.write = options_.write;
        hooks.rename = options_.rename;
        hooks.link = options_.link;
        // Only a copy of more than one block polls, so a long copy can be stopped.
        hooks.stopRequested = [this] { return progress_.PollStop(); };
        hooks.blockWritten = [this](DWORD bytes) { figures_.bytesDone += bytes; };
        ActionError error;
        switch (SafeCopyFile(request, hooks, &error)) {
        case CopyEnd::Copied:
            if (request.replace)
                Placed(place, true);
            if (request.verify)
                note_ = note_.empty() ? std::string(kVerifiedNote)
                                      : std::string(kVerifiedNote) + "。" + note_;
            Record(request.replace ? RecordedRow::Replaced : RecordedRow::Copied, request.root,
                   request.relativePath, request.replace ? &item.counterpart : nullptr);
            return RowResult::Succeeded;
        case CopyEnd::Stopped:
            return RowResult::Stopped;
        default:
            // A file at a new name that already holds this version: an earlier
            // run of the same list made it.
            if (!request.replace &&
                (error.code == ERROR_ALREADY_EXISTS || error.code == ERROR_FILE_EXISTS) &&
                HoldsSameVersion(StateOf(request.to), source, options_.times) &&
                HasExactName(request.to))
                return RowResult::Succeeded;
            return Failed(error);
        }
    }

    RowResult CreateItem(const SyncItem& item) {
        std::string path = item.DestinationPath();
        // An undo makes again a folder the run removed: there is no source to look at.
        if (!item.UndoesARun() && !StillAsSeen(StateOf(item.SourcePath()), item.subject))
            return Changed(item.SourcePath());
        HeldFolder held;
        ActionError outside;
        if (!oldVersions_.Bounds().Hold(item.counterpart.rootFolder, item.subject.RelativePath(),
                                        &held, &outside, nullptr, EntryCheck::NewName))
            return Failed(outside);
        // A folder that exists already fails, as the creation itself would.
        if (!CreateFolderAt(path))
            return Failed(StepFailed(ActionStep::CreateFolder, path));
        Record(RecordedRow::MadeFolder, item.counterpart.rootFolder, item.subject.RelativePath(),
               nullptr);
        return RowResult::Succeeded;
    }

    RowResult DeleteItem(const SyncItem& item) {
        std::string path = item.SourcePath();
        // Changed or gone since the search: neither asked about nor deleted.
        if (!StillAsSeen(StateOf(path), item.subject))
            return Changed(path);
        // A deletion made on the other side travels only while that side still
        // lacks the entry.
        if (item.reason == Deleted) {
            std::string other = item.counterpart.rootFolder + item.subject.RelativePath();
            if (!IsFree(StateOf(other)))
                return Changed(other);
        }
        if (options_.confirmDelete && !options_.unattended && !deleteAll_) {
            // The row's own poll is paced: a stop pressed since the last pump is
            // seen before a question could offer the deletion.
            if (progress_.PollStopNow())
                return RowResult::Stopped;
            std::string text = item.isFolder ? "フォルダを削除してもよろしいですか？\n"
                                             : "ファイルを削除してもよろしいですか？\n";
            switch (question_.AskDelete(text + path)) {
            case DeleteAll:
                deleteAll_ = true;
                break;
            case DeleteNo:
                // Logged as a failure: the listed action was not carried out.
                return Failed(StepFailed(ActionStep::Declined, path, 0));
            case DeleteAbort:
            case -1: // the question could not be shown: nothing is deleted unasked
                return RowResult::Aborted;
            default:
                break;
            }
        }
        ActionError error;
        HeldFolder held;
        if (!oldVersions_.Bounds().Hold(item.subject.rootFolder, item.subject.RelativePath(), &held,
                                        &error))
            return Failed(error);
        // Where the job keeps what it deletes; when it cannot go there, it stays.
        OldVersions::Place place;
        if (!oldVersions_.PutAside(path, item.subject.rootFolder, item.subject.RelativePath(),
                                   item.isFolder != 0, &place, &error))
            return Failed(error);
        Placed(place, false);
        Record(item.isFolder ? RecordedRow::RemovedFolder : RecordedRow::DeletedFile,
               item.subject.rootFolder, item.subject.RelativePath(), &item.subject);
        return RowResult::Succeeded;
    }

    // A rename on the counterpart's side, from its path to the subject's: what
    // proved the move must still hold, the new name must still be free (but for
    // a rename in case only, which is the same name to the file system), and
    // both ends lie in place.
    RowResult MoveItem(const SyncItem& item) {
        const std::string from = item.MoveSourcePath(), to = item.DestinationPath();
        const std::string& root = item.counterpart.rootFolder;
        const std::string fromPath = item.counterpart.RelativePath();
        const std::string toPath = item.subject.RelativePath();
        if (!item.UndoesARun() && !StillAsSeen(StateOf(item.SourcePath()), item.subject))
            return Changed(item.SourcePath());
        if (!StillAsSeen(StateOf(from), item.counterpart))
            return Changed(from);
        const bool sameName = CompareNames(fromPath, toPath) == 0;
        if (!sameName && !IsFree(StateOf(to)))
            return Changed(to);
        HeldFolder heldFrom, heldTo;
        ActionError error;
        if (!oldVersions_.Bounds().Hold(root, fromPath, &heldFrom, &error) ||
            !oldVersions_.Bounds().Hold(root, toPath, &heldTo, &error, nullptr,
                                        sameName ? EntryCheck::Existing : EntryCheck::NewName))
            return Failed(error);
        // Without MOVEFILE_COPY_ALLOWED: a rename on the volume, never a copy.
        if (sameName ? !RenameInCase(from, to, root, fromPath, &error)
                     : !MovePath(from.c_str(), to.c_str(), 0))
            return Failed(error.IsSet() ? error : StepFailed(ActionStep::Move, from));
        Record(item.isFolder ? RecordedRow::MovedFolder : RecordedRow::Moved, root, toPath, nullptr,
               fromPath);
        return RowResult::Succeeded;
    }

    // A rename in case only, through a backup folder beside it (named in the
    // journal first): some file systems take a rename onto a name that is the
    // same to them as nothing to do (Wine's Unix folders report success and
    // keep the old spelling). A kill half-way leaves the entry in the backup
    // folder, and the next run puts it back under its old name.
    bool RenameInCase(const std::string& from, const std::string& to, const std::string& root,
                      const std::string& fromPath, ActionError* error) {
        const std::string folder = FolderOf(from) + "\\" + BackupName(NextTemporaryNumber());
        const std::string waiting = folder + from.substr(LastSeparator(from));
        if (options_.journal != nullptr &&
            !options_.journal->WillMake(JournalRecord::Backup, folder, root + fromPath)) {
            *error = StepFailed(ActionStep::Journal, folder);
            return false;
        }
        if (!CreateFolderAt(folder) || !MovePath(from.c_str(), waiting.c_str(), 0)) {
            *error = StepFailed(ActionStep::Move, from);
            RemoveFolderAt(folder);
            return false;
        }
        bool renamed = MovePath(waiting.c_str(), to.c_str(), 0) != FALSE;
        if (!renamed) {
            *error = StepFailed(ActionStep::Move, from);
            MovePath(waiting.c_str(), from.c_str(), 0); // otherwise the journal names it
        }
        RemoveFolderAt(folder);
        return renamed;
    }

    const SyncOptions& options_;
    OldVersions& oldVersions_;
    IProgress& progress_;
    IDeleteQuestion& question_;
    ProgressFigures& figures_;
    bool deleteAll_ = false; // every run asks afresh
    std::string note_;
    OldVersions::Place place_;
    ActionError error_;
};

SYSTEMTIME RunStartOf(const SyncOptions& options) {
    if (options.runStart.wYear != 0)
        return options.runStart;
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

VersionSettings NetsOf(const SyncOptions& options) {
    VersionSettings settings = options.versions;
    settings.useRecycleBin = options.useRecycleBin;
    return settings;
}

void WriteNotes(OperationLog* log, OldVersions& oldVersions) {
    for (const std::string& note : oldVersions.TakeNotes())
        if (log)
            log->WriteNote(note);
}

// The bytes a row copies; none for a folder or a deletion.
unsigned long long CopyBytes(const SyncItem& item) {
    return item.operation == Copy ? item.subject.Size() : 0;
}

// Whether the run may go ahead with its deletions; when it may not, *refusal
// says which sides would lose too much, on one line.
bool DeletionsAgreed(const IRowSource& rows, const SyncOptions& options, OperationLog* log,
                     IDeleteQuestion& question, std::string* refusal) {
    if (!options.countsKnown || options.allowMassDeletion)
        return true;
    DeletionPlan plan = CountDeletions(rows, options.processingFolder, options.referenceFolder,
                                       options.processingFound, options.referenceFound);
    std::string details = MassDeletionDetails(plan);
    if (details.empty())
        return true;
    if (!options.unattended && question.AskMassDeletion(MassDeletionQuestion(details)))
        return true;
    for (char& c : details)
        if (c == '\n')
            c = ' ';
    *refusal = kMassDeletionRefusedText + details;
    if (log)
        log->WriteNote(*refusal);
    return false;
}

} // namespace

SyncOptions MakeSyncOptions(const JobSettings& job, bool unattended,
                            const std::string& lastMessage) {
    SyncOptions options;
    options.outputLog = job.outputLog != 0;
    options.logFolder = job.logFolder;
    options.confirmDelete = job.confirmDelete != 0;
    options.fastCopy = job.fastCopy != 0;
    options.unattended = unattended;
    options.lastMessage = lastMessage;
    options.times.twoSecondTolerance = job.twoSecondTolerance != 0;
    options.times.ignoreHourShift = job.ignoreHourShift != 0;
    options.verifyCopies = job.verifyCopies != 0;
    options.processingFolder = job.processingFolder;
    options.referenceFolder = job.referenceFolder;
    options.allowMassDeletion = job.allowMassDeletion != 0;
    options.useRecycleBin = job.useRecycleBin != 0;
    options.versions = VersionSettingsOf(job);
    return options;
}

SyncOutcome RunSyncRows(const IRowSource& rows, const SyncOptions& options, OperationLog* log,
                        IProgress& progress, IDeleteQuestion& question) {
    SyncOutcome outcome;
    const int count = rows.RowCount();
    outcome.rows = count;
    if (!DeletionsAgreed(rows, options, log, question, &outcome.refusal)) {
        outcome.end = SyncEnd::Refused;
        if (log)
            outcome.logComplete = log->Complete();
        return outcome;
    }
    ProgressFigures figures;
    figures.kind = ProgressFigures::Kind::RowsAndBytes;
    figures.rowsPlanned = count;
    for (int index = 0; index < count; ++index)
        figures.bytesPlanned += CopyBytes(rows.Row(index));
    FiguresOnShow figuresOnShow(progress, figures);
    OldVersions oldVersions(NetsOf(options), RunStartOf(options));
    for (const std::string* root : {&options.processingFolder, &options.referenceFolder})
        if (!root->empty())
            oldVersions.Prune(*root);
    WriteNotes(log, oldVersions);
    RowRunner runner(options, oldVersions, progress, question, figures);
    progress.SetLine1("ファイル処理中です");
    progress.SetLine2("");
    for (int index = 0; index < count; ++index) {
        if (StopBeforeRow(progress, index, count)) {
            outcome.end = SyncEnd::Stopped;
            break;
        }
        const SyncItem& item = rows.Row(index);
        figures.currentFile = item.subject.RelativePath();
        if (item.operation == Conflict) {
            figures.rowsDone = index + 1;
            ++outcome.rowsReached;
            outcome.conflicts.push_back(item.subject.FullPath());
            if (log)
                log->WriteConflict(item.subject.FullPath());
            continue;
        }
        const unsigned long long bytesBefore = figures.bytesDone;
        // The command is taken before a deletion's question, whatever the answer.
        std::string command = MakeItemCommand(item);
        RowResult result = runner.Run(item);
        if (result == RowResult::Aborted || result == RowResult::Stopped) {
            outcome.end = result == RowResult::Aborted ? SyncEnd::Aborted : SyncEnd::Stopped;
            figures.bytesDone = bytesBefore; // a stopped copy leaves nothing behind
            break;
        }
        // Done with, whether it succeeded or not: its bytes count in full, also
        // where the copy was the shell's and told nothing on the way.
        figures.bytesDone = bytesBefore + CopyBytes(item);
        figures.rowsDone = index + 1;
        ++outcome.rowsReached;
        std::string reason;
        if (result == RowResult::Succeeded)
            outcome.succeededRows.push_back(index);
        if (result == RowResult::Failed) {
            ++outcome.rowsFailed;
            reason = ActionErrorText(runner.Error());
            outcome.failures.push_back({index, command, reason});
        }
        // A volume without a Recycle Bin is told before the first line that uses it.
        WriteNotes(log, oldVersions);
        if (log)
            log->WriteLine(result == RowResult::Succeeded, command, reason, runner.Note());
    }
    if (log)
        outcome.logComplete = log->Complete();
    return outcome;
}

SyncOutcome ExecuteSync(const IRowSource& rows, const SyncOptions& options,
                        IOperationWindow& window, IDeleteQuestion& question) {
    OperationLog log;
    SyncOutcome outcome;
    if (options.outputLog && !log.Open(options.logFolder, options.lastMessage)) {
        outcome.end = SyncEnd::LogNotOpened;
        outcome.rows = rows.RowCount();
        outcome.logPath = log.Path();
        return outcome;
    }
    if (options.notesBefore != nullptr)
        for (const std::string& note : *options.notesBefore)
            log.WriteNote(note);
    if (options.leftOutPaths != nullptr)
        for (const std::string& path : *options.leftOutPaths)
            log.WriteLeftOut(path);
    {
        OperationScope operation(window, "ファイル処理中です");
        outcome = RunSyncRows(rows, options, options.outputLog ? &log : nullptr,
                              operation.Progress(), question);
    }
    log.Close();
    outcome.logComplete = log.Complete();
    outcome.logPath = log.Path();
    return outcome;
}
