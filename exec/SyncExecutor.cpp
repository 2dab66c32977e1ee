#include "exec/SyncExecutor.h"

#include "engine/SyncItem.h"
#include "exec/CommandText.h"
#include "exec/FileActions.h"
#include "exec/ProgressText.h"
#include "job/JobSettings.h"

namespace {

// What became of one row.
enum class RowResult { Succeeded, Failed, Aborted };

RowResult ResultOf(bool succeeded) {
    return succeeded ? RowResult::Succeeded : RowResult::Failed;
}

class RowRunner {
public:
    RowRunner(const SyncOptions& options, IDeleteQuestion& question)
        : options_(options), question_(question) {}

    RowResult Run(const SyncItem& item) {
        switch (item.operation) {
        case Copy:
            return ResultOf(CopyItem(item.SourcePath(), item.DestinationPath()));
        case Create:
            return ResultOf(CreateDirectoryA(item.DestinationPath().c_str(), nullptr) != 0);
        case Delete:
            return DeleteItem(item);
        default:
            return RowResult::Failed;
        }
    }

private:
    bool CopyItem(const std::string& from, const std::string& to) {
        if (options_.fastCopy)
            return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
        return ShellCopyFile(options_.owner, from, to);
    }

    RowResult DeleteItem(const SyncItem& item) {
        std::string path = item.SourcePath();
        if (options_.confirmDelete && !options_.unattended && !deleteAll_) {
            std::string text = item.isFolder ? "フォルダを削除してもよろしいですか？\n"
                                             : "ファイルを削除してもよろしいですか？\n";
            switch (question_.AskDelete(text + path)) {
            case DeleteAll:
                deleteAll_ = true;
                break;
            case DeleteNo:
                // Logged as a failure: the listed action was not carried out.
                return RowResult::Failed;
            case DeleteAbort:
            case -1: // the question could not be shown: nothing is deleted unasked
                return RowResult::Aborted;
            default:
                break;
            }
        }
        return ResultOf(DeletePath(path));
    }

    const SyncOptions& options_;
    IDeleteQuestion& question_;
    bool deleteAll_ = false; // every run asks afresh
};

} // namespace

SyncOptions MakeSyncOptions(const JobSettings& job, bool unattended, const std::string& lastMessage,
                            HWND owner) {
    SyncOptions options;
    options.outputLog = job.outputLog != 0;
    options.logFolder = job.logFolder;
    options.confirmDelete = job.confirmDelete != 0;
    options.fastCopy = job.fastCopy != 0;
    options.unattended = unattended;
    options.lastMessage = lastMessage;
    options.owner = owner;
    return options;
}

SyncOutcome RunSyncRows(const IRowSource& rows, const SyncOptions& options, OperationLog* log,
                        IProgress& progress, IDeleteQuestion& question) {
    SyncOutcome outcome;
    RowRunner runner(options, question);
    const int count = rows.RowCount();
    progress.SetLine1("ファイル処理中です");
    progress.SetLine2("");
    for (int index = 0; index < count; ++index) {
        progress.SetLine2(RowCountText(index, count));
        progress.Refresh();
        if (progress.PollStop()) {
            outcome.end = SyncEnd::Stopped;
            break;
        }
        const SyncItem& item = rows.Row(index);
        // The command is taken before a deletion's question, whatever the answer.
        std::string command = log ? MakeItemCommand(item) : std::string();
        RowResult result = runner.Run(item);
        if (result == RowResult::Aborted) {
            outcome.end = SyncEnd::Aborted;
            break;
        }
        ++outcome.rowsReached;
        if (result == RowResult::Failed)
            ++outcome.rowsFailed;
        if (log)
            log->WriteLine(result == RowResult::Succeeded, command);
    }
    if (log)
        outcome.logComplete = log->Complete();
    return outcome;
}

SyncOutcome ExecuteSync(const IRowSource& rows, const SyncOptions& options, IProgress& progress,
                        IDeleteQuestion& question) {
    OperationLog log;
    if (options.outputLog && !log.Open(options.logFolder, options.lastMessage)) {
        SyncOutcome outcome;
        outcome.end = SyncEnd::LogNotOpened;
        return outcome;
    }
    SyncOutcome outcome =
        RunSyncRows(rows, options, options.outputLog ? &log : nullptr, progress, question);
    log.Close();
    outcome.logComplete = log.Complete();
    return outcome;
}
